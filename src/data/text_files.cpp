#include "data/text_files.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vardelo {

namespace {

const char* const codePage = "windows-1250";

// The first character (a whole code point) that Windows-1250 cannot hold.
QString firstUnencodable(const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString one = text.mid(i, length);
        QStringEncoder encoder(codePage);
        const QByteArray bytes = encoder.encode(one);
        if (encoder.hasError() || QStringDecoder(codePage).decode(bytes) != one)
            return one;
        i += length;
    }
    return QString();
}

} // namespace

std::optional<QByteArray> encodeWin1250(const QString& text, QChar* bad) {
    QStringEncoder encoder(codePage);
    if (!encoder.isValid()) {
        if (bad)
            *bad = QChar();
        return std::nullopt;
    }
    const QByteArray bytes = encoder.encode(text);
    // The decoder check also catches a "best fit" substitute (a similar letter put in place of a missing
    // one).
    if (encoder.hasError() || QStringDecoder(codePage).decode(bytes) != text) {
        if (bad) {
            const QString missing = firstUnencodable(text);
            *bad = missing.isEmpty() ? QChar() : missing.at(0);
        }
        return std::nullopt;
    }
    return bytes;
}

namespace {

// The character of each byte, taken once from the converter: Windows-1250 gives each byte one character on
// its own, so a text is decoded byte by byte without a converter made for every value read. A byte the
// converter does not turn into exactly one character sends the text through the converter itself.
struct ByteCharacters {
    char16_t character[256] = {};
    bool single[256] = {};
};

const ByteCharacters& byteCharacters() {
    static const ByteCharacters table = [] {
        ByteCharacters t;
        for (int b = 0; b < 256; ++b) {
            const QString one = QStringDecoder(codePage).decode(QByteArray(1, char(b)));
            t.single[b] = one.size() == 1;
            t.character[b] = t.single[b] ? one.at(0).unicode() : u'\0';
        }
        return t;
    }();
    return table;
}

} // namespace

bool decodeWin1250Into(QByteArrayView bytes, char16_t* out) {
    const ByteCharacters& table = byteCharacters();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!table.single[b])
            return false;
        out[i] = table.character[b];
    }
    return true;
}

QString decodeWin1250(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    if (decodeWin1250Into(bytes, reinterpret_cast<char16_t*>(text.data())))
        return text;
    return QStringDecoder(codePage).decode(bytes);
}

bool writeTextFile(const QString& path, const QStringList& lines, QString* error) {
    QString content;
    for (const QString& line : lines) {
        content += line;
        content += QStringLiteral("\r\n");
    }
    QChar bad;
    const std::optional<QByteArray> bytes = encodeWin1250(content, &bad);
    if (!bytes) {
        if (error) {
            *error =
                bad.isNull()
                    ? QStringLiteral(
                          "A(z) %1 fájl nem írható: a szöveg nem alakítható Windows-1250 kódolásúra.")
                          .arg(path)
                    : QStringLiteral("A(z) %1 fájl nem írható: a(z) „%2” karakter nem írható Windows-1250 "
                                     "kódolással.")
                          .arg(path, firstUnencodable(content));
        }
        return false;
    }
    // The file appears only when it was written whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("A(z) %1 fájl nem írható: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

std::optional<QStringList> readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return splitTextLines(decodeWin1250(bytes));
}

QStringList splitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\n' && c != u'\r')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

} // namespace vardelo
