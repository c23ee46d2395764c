#include "returns/import_merge.h"

#include "data/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace vardelo::returns {

namespace {

const QString notStarted = QStringLiteral("Az összevonás nem indult el, egy fájl sem változott.");

QString pathIn(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString withExtension(const QString& name, const QString& extension) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + extension;
}

QStringList filesWithSuffix(const QString& folder, const QString& suffix) {
    QStringList names = QDir(folder).entryList({QStringLiteral("*") + suffix}, QDir::Files, QDir::Name);
    // The mask matches letter case loosely on some systems; the merge works on the exact extension.
    names.removeIf([&](const QString& n) { return !n.endsWith(suffix, Qt::CaseInsensitive); });
    return names;
}

// One import file as the merge reads it: its lines, the sums of its value lines and their last values.
struct ImportFile {
    QStringList lines;
    ImportValues sums;
    ImportValues last;
};

// Reads a file that must be a whole import file with values of at most 11 digits; nothing, with *error set,
// otherwise.
std::optional<ImportFile> readImportFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("A fájl nem olvasható: %1").arg(native(path));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("A fájl nem olvasható: %1").arg(native(path));
        return std::nullopt;
    }
    QString problem;
    std::optional<QStringList> lines = importFileLines(bytes, &problem);
    if (!lines) {
        *error = QStringLiteral("A(z) %1 fájl nem teljes import fájl: %2.").arg(native(path), problem);
        return std::nullopt;
    }
    ValueFault fault;
    const std::optional<ImportValues> sums = summedValues(*lines, &fault);
    const std::optional<ImportValues> last = sums ? lastValues(*lines, &fault) : std::nullopt;
    if (!sums || !last) {
        *error = (fault.tooLong ? QStringLiteral("11 jegynél hosszabb összeg a(z) %1 fájlban: \"%2\"")
                                : QStringLiteral("Nem egész szám a(z) %1 fájlban: \"%2\""))
                     .arg(native(path), fault.line);
        return std::nullopt;
    }
    return ImportFile{std::move(*lines), *sums, *last};
}

bool addFolderSums(const QString& folder, const QStringList& files, ImportValues& sums, QString* error) {
    for (const QString& name : files) {
        const std::optional<ImportFile> file = readImportFile(pathIn(folder, name), error);
        if (!file)
            return false;
        if (!addToSums(sums, file->sums)) {
            *error = QStringLiteral("A(z) %1 könyvtár fájljainak összege túl nagy.").arg(native(folder));
            return false;
        }
    }
    return true;
}

// The renames of a run, in order, so that a failure can put every file back.
class RenameJournal {
public:
    // Renames without replacing; false (with *code) on failure.
    bool rename(const QString& from, const QString& to, int* code) {
        *code = renameNoReplace(from, to);
        if (*code == 0)
            done_.push_back({from, to});
        return *code == 0;
    }
    // Undoes the renames, the last first; the names that could not be put back.
    QStringList undo() {
        QStringList failed;
        for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
            if (renameNoReplace(it->second, it->first) != 0)
                failed << native(it->second) + QStringLiteral(" -> ") + native(it->first);
        }
        done_.clear();
        return failed;
    }

private:
    std::vector<std::pair<QString, QString>> done_;
};

} // namespace

QStringList importFilesIn(const QString& folder) {
    return filesWithSuffix(folder, QStringLiteral(".imp"));
}

bool holdsOldFiles(const QString& folder) {
    return !filesWithSuffix(folder, QStringLiteral(".old")).isEmpty();
}

bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

std::optional<MergeSums> folderSums(const QString& aFolder, const QStringList& aFiles, const QString& bFolder,
                                    const QStringList& bFiles, QString* error) {
    MergeSums sums;
    if (!addFolderSums(aFolder, aFiles, sums.a, error) || !addFolderSums(bFolder, bFiles, sums.b, error))
        return std::nullopt;
    return sums;
}

QStringList mergePartners(const QStringList& aFiles, const QStringList& bFiles) {
    QSet<QString> aKeys;
    for (const QString& name : aFiles)
        aKeys.insert(mergeKey(name));
    QStringList partners;
    for (const QString& name : bFiles) {
        if (aKeys.contains(mergeKey(name)))
            partners << name;
    }
    return partners;
}

int renameNoReplace(const QString& from, const QString& to) {
    if (QFileInfo::exists(to))
        return EEXIST;
    if (!QFileInfo::exists(from))
        return ENOENT;
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return errno != 0 ? errno : EIO;
    return 0;
}

MergeOutcome mergeImportFolders(const QString& aFolder, const QStringList& aFiles, const QString& bFolder,
                                const QStringList& bFiles, const MergedFileWriter& write) {
    MergeOutcome outcome;

    // 1. The sums before; every listed file must be a whole import file.
    auto stopBefore = [&](const QString& error) {
        outcome.error = error + QLatin1Char('\n') + notStarted;
        return outcome;
    };
    QString error;
    const std::optional<MergeSums> before = folderSums(aFolder, aFiles, bFolder, bFiles, &error);
    if (!before)
        return stopBefore(error);
    outcome.before = *before;

    // 2. The producers in both sets.
    outcome.partners = mergePartners(aFiles, bFiles);

    // 3. Every merged file is prepared in memory first: a missing or broken file, an amount beyond 11 digits
    // or a name a rename would meet stops the run before anything on disk changes.
    struct Prepared {
        QString aFile;  // A's file, to become ".old"
        QString merged; // the merged file under its temporary name (".im_"), to become A's file
        QString bFile;  // B's file, to become ".old"
        QStringList lines;
    };
    std::vector<Prepared> prepared;
    for (const QString& name : outcome.partners) {
        Prepared p{pathIn(aFolder, name),
                   pathIn(aFolder, name.left(name.size() - 1) + QLatin1Char('_')),
                   pathIn(bFolder, name),
                   {}};
        if (!QFileInfo::exists(p.aFile))
            return stopBefore(
                QStringLiteral("Az \"A\" helyen nincs azonos nevü fájl: %1").arg(native(p.aFile)));
        const std::optional<ImportFile> b = readImportFile(p.bFile, &error);
        if (!b)
            return stopBefore(error);
        const std::optional<ImportFile> a = readImportFile(p.aFile, &error);
        if (!a)
            return stopBefore(error);
        const std::optional<qint64> amount = mergedAmount(a->last, b->last);
        if (!amount)
            return stopBefore(
                QStringLiteral("A(z) %1 összevont összege 11 jegynél hosszabb lenne.").arg(native(p.aFile)));
        for (const QString& target : {p.merged, withExtension(p.aFile, QStringLiteral(".old")),
                                      withExtension(p.bFile, QStringLiteral(".old"))}) {
            if (QFileInfo::exists(target))
                return stopBefore(
                    QStringLiteral("Már létezik a(z) %1 fájl (egy korábbi összevonásé).\nIsmételje meg a "
                                   "bevallás kigyüjtését mindkét gépen, és másolja át újra a \"B\" "
                                   "fájljait.")
                        .arg(native(target)));
        }
        p.lines = mergedLines(a->lines, *amount);
        prepared.push_back(std::move(p));
    }

    // 4. The merged files are written whole under their temporary names; a write that fails takes back what
    // this run wrote.
    auto removeMerged = [&] {
        for (const Prepared& p : prepared)
            QFile::remove(p.merged);
    };
    for (const Prepared& p : prepared) {
        if (!(write ? write(p.merged, p.lines, &error) : writeTextFile(p.merged, p.lines, &error))) {
            removeMerged();
            outcome.error = error + QStringLiteral("\nAz összevonás leállt, egy fájl sem változott.");
            return outcome;
        }
    }

    // 5. A's files are kept as ".old" and the merged files take their place; then B's files of the merged
    // producers are taken out of use. A rename that fails puts every file back.
    RenameJournal journal;
    auto stop = [&](const QString& message, int code) {
        const QStringList notBack = journal.undo();
        removeMerged();
        outcome.error = message + QString::number(code);
        if (notBack.isEmpty())
            outcome.error +=
                QStringLiteral("\nAz összevonás leállt, minden fájl az eredeti állapotában maradt.");
        else
            outcome.error +=
                QStringLiteral("\nAz összevonás leállt. Ezeket a fájlokat nem sikerült visszanevezni:\n") +
                notBack.join(QLatin1Char('\n'));
        return outcome;
    };
    int code = 0;
    for (const Prepared& p : prepared) {
        if (!journal.rename(p.aFile, withExtension(p.aFile, QStringLiteral(".old")), &code))
            return stop(QStringLiteral(" \"old\" Rename1 átnevezési hiba kódja = "), code);
        if (!journal.rename(p.merged, p.aFile, &code))
            return stop(QStringLiteral(" \"imp\" Rename11 átnevezési hiba kódja = "), code);
    }
    for (const Prepared& p : prepared) {
        if (!journal.rename(p.bFile, withExtension(p.bFile, QStringLiteral(".old")), &code))
            return stop(QStringLiteral(" \"old\" Rename2 átnevezési hiba kódja = "), code);
    }
    outcome.ran = true;

    // 6. The sums after, over what the folders now hold.
    if (const std::optional<MergeSums> after =
            folderSums(aFolder, importFilesIn(aFolder), bFolder, importFilesIn(bFolder), &error))
        outcome.after = *after;
    else
        outcome.messages << error;
    return outcome;
}

} // namespace vardelo::returns
