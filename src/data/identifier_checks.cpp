#include "data/identifier_checks.h"

#include <array>
#include <optional>

namespace vardelo {

namespace {

// The values of the first N characters, or nothing when one of them is missing or not a decimal digit.
template <std::size_t N> std::optional<std::array<int, N>> leadingDigits(const QString& text) {
    if (text.size() < qsizetype(N))
        return std::nullopt;
    std::array<int, N> digits{};
    for (std::size_t i = 0; i < N; ++i) {
        const QChar c = text.at(qsizetype(i));
        if (c < u'0' || c > u'9')
            return std::nullopt;
        digits[i] = c.unicode() - u'0';
    }
    return digits;
}

} // namespace

bool adoazonositoValid(const QString& text) {
    const auto d = leadingDigits<10>(text);
    if (!d)
        return false;
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (i + 1) * (*d)[i];
    // A remainder of 10 matches no digit.
    return sum % 11 == (*d)[9];
}

bool adoszamValid(const QString& text) {
    static constexpr std::array<int, 7> weights{9, 7, 3, 1, 9, 7, 3};
    const auto d = leadingDigits<8>(text);
    if (!d)
        return false;
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += weights[i] * (*d)[i];
    return (10 - sum % 10) % 10 == (*d)[7];
}

bool tajValid(const QString& text) {
    const auto d = leadingDigits<9>(text);
    if (!d)
        return false;
    int sum = 0;
    for (int i = 0; i < 8; ++i)
        sum += (i % 2 == 0 ? 3 : 7) * (*d)[i];
    return sum % 10 == (*d)[8];
}

NameParts splitName(const QString& name) {
    const qsizetype blank = name.lastIndexOf(u' ');
    if (blank < 0)
        return {QStringLiteral(" "), name};
    return {name.left(blank + 1), name.mid(blank + 1)};
}

} // namespace vardelo
