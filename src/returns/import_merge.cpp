#include "returns/import_merge.h"

#include "data/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstdio>

namespace vardelo::returns {

namespace {

QString pathIn(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
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

std::optional<ImportValues> readFileValues(const QString& path, bool last, QString* error,
                                           QStringList* lines = nullptr) {
    const std::optional<QStringList> content = readTextFile(path);
    if (!content) {
        *error = QStringLiteral("A fájl nem olvasható: %1").arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    QString bad;
    std::optional<ImportValues> values = last ? lastValues(*content, &bad) : summedValues(*content, &bad);
    if (!values) {
        *error =
            QStringLiteral("Nem egész szám a(z) %1 fájlban: \"%2\"\nAz összevonás nem indult el, egy fájl "
                           "sem változott.")
                .arg(QDir::toNativeSeparators(path), bad);
        return std::nullopt;
    }
    if (lines)
        *lines = *content;
    return values;
}

bool addFolderSums(const QString& folder, const QStringList& files, ImportValues& sums, QString* error) {
    for (const QString& name : files) {
        const std::optional<ImportValues> v = readFileValues(pathIn(folder, name), false, error);
        if (!v)
            return false;
        sums.v12456 += v->v12456;
        sums.v12458 += v->v12458;
    }
    return true;
}

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
                                const QStringList& bFiles) {
    MergeOutcome outcome;

    // 1. The sums before.
    const std::optional<MergeSums> before = folderSums(aFolder, aFiles, bFolder, bFiles, &outcome.error);
    if (!before)
        return outcome;
    outcome.before = *before;

    // 2. The producers in both sets.
    outcome.partners = mergePartners(aFiles, bFiles);

    // 3. Every merged file is prepared in memory first: a file that is missing or carries a value that is not
    // a whole number stops the run before anything on disk changes.
    struct Prepared {
        QString name;
        QStringList lines;
    };
    std::vector<Prepared> prepared;
    for (const QString& name : outcome.partners) {
        const QString aPath = pathIn(aFolder, name);
        if (!QFileInfo::exists(aPath)) {
            outcome.error = QStringLiteral("Az \"A\" helyen nincs azonos nevü fájl: %1\nAz összevonás nem "
                                           "indult el, egy fájl sem változott.")
                                .arg(QDir::toNativeSeparators(aPath));
            return outcome;
        }
        QStringList aLines;
        const std::optional<ImportValues> b = readFileValues(pathIn(bFolder, name), true, &outcome.error);
        if (!b)
            return outcome;
        const std::optional<ImportValues> a = readFileValues(aPath, true, &outcome.error, &aLines);
        if (!a)
            return outcome;
        prepared.push_back({name, mergedLines(aLines, *a, *b)});
    }
    outcome.ran = true;
    for (const Prepared& p : prepared) {
        QString error;
        const QString merged = pathIn(aFolder, p.name.left(p.name.size() - 1) + QLatin1Char('_'));
        if (!writeTextFile(merged, p.lines, &error))
            outcome.messages << error;
    }

    // 4. A's files of the merged producers are kept as ".old".
    const QStringList merged = filesWithSuffix(aFolder, QStringLiteral(".im_"));
    for (const QString& name : merged) {
        const QString imp = withExtension(name, QStringLiteral(".imp"));
        if (const int code = renameNoReplace(pathIn(aFolder, imp),
                                             pathIn(aFolder, withExtension(name, QStringLiteral(".old")))))
            outcome.messages << QStringLiteral(" \"old\" Rename1 átnevezési hiba kódja = ") +
                                    QString::number(code);
    }
    // 5. B's files of the merged producers are taken out of use.
    for (const QString& name : outcome.partners) {
        if (const int code = renameNoReplace(pathIn(bFolder, name),
                                             pathIn(bFolder, withExtension(name, QStringLiteral(".old")))))
            outcome.messages << QStringLiteral(" \"old\" Rename2 átnevezési hiba kódja = ") +
                                    QString::number(code);
    }
    // 6. The merged files take the place of A's files.
    for (const QString& name : merged) {
        if (const int code = renameNoReplace(pathIn(aFolder, name),
                                             pathIn(aFolder, withExtension(name, QStringLiteral(".imp")))))
            outcome.messages << QStringLiteral(" \"imp\" Rename11 átnevezési hiba kódja = ") +
                                    QString::number(code);
    }

    // 7. The sums after, over what the folders now hold.
    QString error;
    if (const std::optional<MergeSums> after =
            folderSums(aFolder, importFilesIn(aFolder), bFolder, importFilesIn(bFolder), &error))
        outcome.after = *after;
    else
        outcome.messages << error;
    return outcome;
}

} // namespace vardelo::returns
