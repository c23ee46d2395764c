#include "returns/import_collection.h"

#include "data/data_module.h"
#include "data/shared_values.h"
#include "data/text_files.h"
#include "data/text_formats.h"
#include "data/windows_paths.h"
#include "returns/import_file.h"
#include "returns/return_queries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <map>
#include <vector>

namespace vardelo::returns {

namespace {

ImportProducer producerOfRow(TZQuery* q) {
    auto text = [q](const char* name) { return q->FieldByName(QLatin1String(name)).AsString(); };
    ImportProducer p;
    p.kod = text("O_KOD");
    p.nev = text("O_NEV");
    p.adoazon = text("O_ADOAZON");
    p.neme = text("O_NEME");
    p.igszam = text("O_IGSZAM");
    p.csgazd = text("O_CSGAZD");
    p.regszam = text("O_REGSZAM");
    p.szulhely = text("O_SZULHELY");
    TField& szido = q->FieldByName(QStringLiteral("O_SZIDO"));
    p.szido = szido.IsNull() ? QDate() : szido.AsDate();
    p.taj = text("O_TAJ");
    p.adoszam = text("O_ADOSZAM");
    p.szulnev = text("O_SZULNEV");
    p.anyja = text("O_ANYJA");
    return p;
}

// Producer codes are numbers given by the program; compared as numbers when both are.
bool lowerCode(const QString& a, const QString& b) {
    bool okA = false;
    bool okB = false;
    const qlonglong na = a.trimmed().toLongLong(&okA);
    const qlonglong nb = b.trimmed().toLongLong(&okB);
    if (okA && okB && na != nb)
        return na < nb;
    return a < b;
}

QString producerLabel(const QString& code, const QString& name) {
    return code + QStringLiteral(" ") + name;
}

// One import file: the producer whose data it carries and the amount of everyone who writes it.
struct PlannedFile {
    ImportProducer producer;
    QString code;          // the producer code whose data the file carries
    Decimal amount;        // exact: rounded once, when the file is written
    QStringList producers; // labels, in walk order
};

// Windows-1250 by a table made once from the code page's own decoding: thousands of small files would spend
// most of their time creating a converter for each.
class Win1250Table {
public:
    Win1250Table() {
        QByteArray all(256, 0);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString decoded = decodeWin1250(all);
        if (decoded.size() != 256)
            return;
        for (int i = 0; i < 256; ++i) {
            const char16_t c = decoded.at(i).unicode();
            // Bytes the code page leaves undefined decode to the replacement character.
            if (c != 0xFFFD && !bytes_.contains(c))
                bytes_.insert(c, char(i));
        }
    }
    // Nothing when a character has no byte; then *bad is that character.
    std::optional<QByteArray> encode(const QString& text, QChar* bad) const {
        QByteArray out(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const auto it = bytes_.constFind(text.at(i).unicode());
            if (it == bytes_.constEnd()) {
                *bad = text.at(i);
                return std::nullopt;
            }
            out[i] = *it;
        }
        return out;
    }

private:
    QHash<char16_t, char> bytes_;
};

// The bytes of one import file; nothing when a character has no byte in the code page (then *error says
// which).
std::optional<QByteArray> importFileBytes(const QString& path, const QStringList& lines, QString* error) {
    QString content;
    for (const QString& line : lines) {
        content += line;
        content += QStringLiteral("\r\n");
    }
    static const Win1250Table table;
    QChar bad;
    std::optional<QByteArray> bytes = table.encode(content, &bad);
    if (!bytes)
        *error =
            QStringLiteral("A(z) %1 fájl nem írható: a(z) „%2” karakter nem írható Windows-1250 kódolással.")
                .arg(path, QString(bad));
    return bytes;
}

// One file in one buffered write. A file that could not be written whole is removed; the next collection
// empties the folder anyway.
bool writeFileBytes(const QString& path, const QByteArray& bytes, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        *error = QStringLiteral("A(z) %1 fájl nem írható: %2").arg(path, file.errorString());
        file.close();
        file.remove();
        return false;
    }
    return true;
}

} // namespace

QString CollectionResult::notice() const {
    QStringList lines;
    if (!merged.isEmpty()) {
        lines << QStringLiteral("Azonos import fájlnév (azonos vagy hiányzó adóazonosító): ezek összege egy "
                                "fájlba került, a kisebb kódú östermelö adataival:");
        lines << merged;
    }
    if (!refused.isEmpty()) {
        if (!lines.isEmpty())
            lines << QString();
        lines << QStringLiteral("Hibás adóazonosító (nem csak számjegy), ezekről nem készült import fájl:");
        lines << refused;
    }
    if (lines.isEmpty())
        return QString();
    lines << QString()
          << QStringLiteral("Kérem javítsa az östermelök adatait, és ismételje meg a kigyüjtést.");
    return lines.join(QLatin1Char('\n'));
}

void emptyFolder(const QString& localFolder) {
    QDir dir(localFolder);
    if (!dir.exists())
        return;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        QFile::remove(dir.filePath(name));
}

CollectionResult collectImportFiles(const QDate& from, const QDate& to, const CollectionProgress& progress) {
    CollectionResult result;
    const QString folderText = monthFolderText(from.toString(QStringLiteral("MM")));
    const QString localFolder = localPath(folderText);

    // 2. The period total.
    openImportTotal(from, to);
    result.totalText =
        Data->ZQ20->IsEmpty()
            ? QStringLiteral("0")
            : wholeAmountText(Data->ZQ20->FieldByName(QStringLiteral("M_OSSZESEN")).AsDecimal());

    // The purchaser's data for every file.
    ImportPurchaser purchaser;
    purchaser.adoszam = Data->IBTable6->FieldByName(QStringLiteral("V_ADOSZAM")).AsString();
    purchaser.neve = Data->IBTable6->FieldByName(QStringLiteral("V_NEVE")).AsString();
    purchaser.adoazon = Data->IBTable6->FieldByName(QStringLiteral("V_ADOAZON")).AsString();

    // The producers of the period, the first row of each code.
    QHash<QString, ImportProducer> producers;
    openPaidProducers(from, to);
    for (TZQuery* q = Data->ZQ21; !q->Eof(); q->Next()) {
        const QString code = q->FieldByName(QStringLiteral("O_KOD")).AsString();
        if (!producers.contains(code))
            producers.insert(code, producerOfRow(q));
    }

    // 3. and 4. The amount of each producer over all compensation rates, gathered by file name, so that two
    // producers who would write the same file never lose an amount.
    openImportRows(from, to);
    TZQuery* rows = Data->ZQ20;
    std::map<QString, PlannedFile> planned; // by file name
    QStringList order;                      // file names in producer code order
    QString code;
    Decimal amount;
    bool inRun = false;
    auto finishProducer = [&] {
        const ImportProducer producer = producers.value(code, ImportProducer{});
        const QString label = producerLabel(code, producer.nev);
        if (!fileNameSafeIdentifier(producer.adoazon)) {
            result.refused << label + QStringLiteral(" (adóazonosító: \"") + producer.adoazon +
                                  QStringLiteral("\")");
            return;
        }
        const QString name = importFileName(from, producer.adoazon);
        auto [it, added] = planned.try_emplace(name);
        PlannedFile& file = it->second;
        if (added)
            order << name;
        if (added || lowerCode(code, file.code)) {
            file.producer = producer;
            file.code = code;
        }
        file.amount += amount;
        file.producers << label;
    };
    for (; !rows->Eof(); rows->Next()) {
        const QString rowCode = rows->FieldByName(QStringLiteral("F_OSTERMKOD")).AsString();
        if (inRun && rowCode != code)
            finishProducer();
        if (!inRun || rowCode != code) {
            code = rowCode;
            amount = Decimal();
            inRun = true;
        }
        amount += rows->FieldByName(QStringLiteral("KIFIZETETT")).AsDecimal();
    }
    if (inRun)
        finishProducer();

    for (const QString& name : order) {
        const PlannedFile& file = planned.at(name);
        if (file.producers.size() > 1)
            result.merged << QStringLiteral("%1: %2").arg(name, file.producers.join(QStringLiteral(", ")));
    }

    if (!QFileInfo(localFolder).isDir()) {
        result.error = QStringLiteral("A könyvtár nem létezik: %1\nKérem hozza létre, és ismételje meg a "
                                      "kigyüjtést.")
                           .arg(folderText);
        return result;
    }

    // Every file is made and checked before the folder is emptied: a run that cannot finish leaves the
    // files of the last run in place.
    std::vector<QByteArray> contents;
    contents.reserve(order.size());
    for (const QString& name : order) {
        const PlannedFile& file = planned.at(name);
        QString error;
        std::optional<QByteArray> bytes = importFileBytes(
            folderText + name, importFileLines(purchaser, file.producer, from, to, file.amount), &error);
        if (!bytes) {
            result.error = error;
            return result;
        }
        contents.push_back(std::move(*bytes));
    }

    // 1. The month folder holds only what this run writes; each file written whole, one after the other.
    emptyFolder(localFolder);
    QString error;
    const int total = int(order.size());
    for (int done = 0; done < total; ++done) {
        if (!writeFileBytes(QDir(localFolder).filePath(order.at(done)), contents.at(size_t(done)), &error)) {
            result.error = error;
            return result;
        }
        result.files << folderText + order.at(done);
        if (progress)
            progress(done + 1, total);
    }

    // 5. The list file names each import file once, in producer code order.
    result.listFile = folderText + listFileName(from, to);
    if (!writeTextFile(localPath(result.listFile), result.files, &error)) {
        result.error = error;
        return result;
    }
    result.completed = true;
    rows->Last();
    return result;
}

} // namespace vardelo::returns
