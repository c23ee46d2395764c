// Interim Windows-1250 conversion until the text-file helpers land.
#include "data/text_files.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vardelo {

std::optional<QByteArray> encodeWin1250(const QString& text, QChar* bad) {
    QStringEncoder encoder("windows-1250");
    for (QChar c : text) {
        QByteArray b = encoder.encode(QString(c));
        if (encoder.hasError() || (b == "\x1a" && c != QChar(0x1a))) {
            if (bad)
                *bad = c;
            return std::nullopt;
        }
    }
    return QByteArray(encoder.encode(text));
}

QString decodeWin1250(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

} // namespace vardelo
