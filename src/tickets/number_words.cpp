#include "tickets/number_words.h"

namespace vardelo {

namespace {

const char16_t* const unitWords[] = {u"",   u"egy", u"kettö", u"három", u"négy",
                                     u"öt", u"hat", u"hét",   u"nyolc", u"kilenc"};
const char16_t* const tenWords[] = {u"",      u"tizen",  u"huszon", u"harminc",  u"negyven",
                                    u"ötven", u"hatvan", u"hetven", u"nyolcvan", u"kilencven"};

int digitAt(const QString& digits, int index) {
    const QChar c = digits.at(index);
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
}

} // namespace

QString HarmasBetuvel(const QString& threeDigits) {
    const QString digits = threeDigits.right(3).rightJustified(3, u'0');
    const int h = digitAt(digits, 0);
    const int t = digitAt(digits, 1);
    const int u = digitAt(digits, 2);
    QString words;
    if (h >= 2)
        words += QString::fromUtf16(unitWords[h]);
    if (h >= 1)
        words += QStringLiteral("száz");
    if (t == 1 && u == 0)
        return words + QStringLiteral("tíz");
    if (t == 2 && u == 0)
        return words + QStringLiteral("húsz");
    words += QString::fromUtf16(tenWords[t]);
    words += QString::fromUtf16(unitWords[u]);
    return words;
}

QString SzamBetuvel(qint32 number) {
    if (number == 0)
        return QStringLiteral("nulla");
    // In 64 bits, so that the absolute value of the smallest 32-bit number exists.
    const qint64 value = number;
    const qint64 absolute = value < 0 ? -value : value;
    QString digits = QString::number(absolute);
    while (digits.size() % 3 != 0)
        digits.prepend(u'0');

    static const char16_t* const suffixes[] = {u"", u" ", u"ezer-", u"millió-", u"milliárd-"};
    QString words = number < 0 ? QStringLiteral("mínusz ") : QString();
    const int groups = int(digits.size() / 3);
    for (int i = 0; i < groups; ++i) {
        const QString group = digits.mid(i * 3, 3);
        if (group == u"000")
            continue;
        words += HarmasBetuvel(group);
        words += QString::fromUtf16(suffixes[groups - i]);
    }
    return words;
}

} // namespace vardelo
