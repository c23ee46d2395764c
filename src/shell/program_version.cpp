#include "shell/program_version.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace vardelo {

namespace {

// The parts of a version "a.b.c.d" (up to four, each 0-65535; missing ones are 0).
std::optional<std::vector<int>> versionParts(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (text.trimmed().isEmpty() || parts.size() > 4)
        return std::nullopt;
    std::vector<int> numbers(4, 0);
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const uint value = parts[i].toUInt(&ok, 10);
        if (!ok || value > 0xFFFF || parts[i].startsWith(QLatin1Char('+')))
            return std::nullopt;
        numbers[i] = int(value);
    }
    return numbers;
}

} // namespace

QString programVersionText(const QString& fileVersion, const QString& productVersion) {
    const auto file = versionParts(fileVersion);
    const auto product = versionParts(productVersion);
    if (!file || !product)
        return QString();
    return QString::number((*file)[0]) + QStringLiteral(".0") + QString::number((*product)[1]);
}

QString programVersionText() {
#if defined(VARDELO_FILE_VERSION) && defined(VARDELO_PRODUCT_VERSION)
    return programVersionText(QStringLiteral(VARDELO_FILE_VERSION), QStringLiteral(VARDELO_PRODUCT_VERSION));
#else
    return QString();
#endif
}

} // namespace vardelo
