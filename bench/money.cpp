// The payable of random tickets and the return amount of random producer months, as the program computes
// them, against exact integer arithmetic written out here on its own, with the rounding rules of each (half
// to even for the payable, half away from zero for the return amount). Half of the cases are made to lie
// exactly on a half forint, where binary floating point decides by noise; the count of cases that doubles
// would have got wrong is shown beside, so the search is seen to reach the cases that matter.
//
//     build/bench/bench_money [tickets] [producer months] [seed]     (default 1000000 1000000 1)
//
// Exit code 1 when any case differs.
#include "data/decimal.h"
#include "data/text_formats.h"
#include "returns/import_file.h"
#include "tickets/settlement.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using vardelo::Decimal;
using vardelo::Int128;

namespace {

// A whole number of units of 10^-places, as the database hands a decimal column over.
Decimal units(qint64 value, int places) {
    return Decimal::fromUnits(value, places);
}

// Integer division rounded by a rule, on 128-bit integers: the reference arithmetic.
Int128 divideHalfEven(Int128 n, Int128 d) {
    Int128 q = n / d;
    Int128 r = n % d;
    if (r < 0)
        r = -r;
    if (2 * r > d || (2 * r == d && q % 2 != 0))
        q += n < 0 ? -1 : 1;
    return q;
}
Int128 divideHalfAway(Int128 n, Int128 d) {
    Int128 q = n / d;
    Int128 r = n % d;
    if (r < 0)
        r = -r;
    if (2 * r >= d)
        q += n < 0 ? -1 : 1;
    return q;
}

QString integerText(Int128 value) {
    if (value == 0)
        return QStringLiteral("0");
    const bool negative = value < 0;
    QString digits;
    for (Int128 v = negative ? -value : value; v > 0; v /= 10)
        digits.prepend(QChar(u'0' + int(v % 10)));
    return negative ? u'-' + digits : digits;
}

double roundHalfEvenDouble(double value) {
    return vardelo::roundHalfEven(value);
}

struct Ticket {
    std::vector<qint64> linesFiller; // the lines' prices (S_VETELAR) in fillér
    qint64 szja = 0;                 // F_SZJA, whole per cent
    qint64 jarul = 0;                // F_JARULSZAZ in units of 10^-4 per cent
    qint64 levon = 0;                // F_LEVONAS in units of 10^-4 forint
};

class Search {
public:
    explicit Search(quint64 seed) : random_(seed) {}

    // Prices spread over every magnitude from a fillér to a million forints.
    qint64 price() {
        const double magnitude = std::uniform_real_distribution<double>(0, 8)(random_);
        return std::max<qint64>(1, qint64(std::pow(10.0, magnitude)));
    }
    qint64 between(qint64 low, qint64 high) {
        return std::uniform_int_distribution<qint64>(low, high)(random_);
    }

    Ticket ticket(bool onAHalf) {
        Ticket t;
        const int lines = int(between(1, 8));
        for (int i = 0; i < lines; ++i)
            t.linesFiller.push_back(price());
        static const qint64 rates[] = {0, 0, 10, 15, 16, 20};
        t.szja = between(0, 7) < 6 ? rates[between(0, 5)] : between(0, 100);
        static const qint64 contributions[] = {0, 0, 20000, 25000};
        t.jarul = between(0, 5) < 4 ? contributions[between(0, 3)] : between(0, 1000000);
        t.levon = between(0, 3) == 0 ? between(0, 500000) * 100 : 0;
        if (onAHalf) {
            // The deduction that puts the payable exactly on a half, when one with four places exists (the
            // contribution's fraction must end within them), plus some whole forints.
            const Int128 x = exactBeforeDeduction(t);
            const Int128 unit = Int128(1000000); // 10^-4 Ft in units of 10^-10 Ft
            const Int128 half = Int128(5000000000LL);
            Int128 rest = x % (2 * half);
            Int128 deduction = rest - half;
            if (deduction < 0)
                deduction += 2 * half;
            if (deduction % unit == 0)
                t.levon = qint64(deduction / unit) + between(0, 5000) * 10000;
        }
        return t;
    }

    // var − szja2 − jarul in units of 10^-10 forint: V fillér, S per cent, J 10^-4 per cent.
    static Int128 exactBeforeDeduction(const Ticket& t) {
        Int128 v = 0;
        for (qint64 line : t.linesFiller)
            v += line;
        const Int128 s = t.szja;
        const Int128 j = t.jarul;
        // var = V/100; szja2 = S·V/10^4; jarul = J/10^4 · (var − szja2)/100 = J·V·(100 − S)/10^10.
        return v * Int128(100000000) - s * v * Int128(1000000) - j * v * (100 - s);
    }

    static QString referencePayable(const Ticket& t) {
        const Int128 kif = exactBeforeDeduction(t) - Int128(t.levon) * Int128(1000000);
        return integerText(divideHalfEven(kif, Int128(10000000000LL)));
    }

    static QString programPayable(const Ticket& t) {
        Decimal var;
        for (qint64 line : t.linesFiller)
            var += units(line, 2);
        return vardelo::computeSettlement(var, Decimal(), var, Decimal(t.szja), units(t.jarul, 4),
                                          units(t.levon, 4))
            .v_kif;
    }

    static QString doublePayable(const Ticket& t) {
        double var = 0;
        for (qint64 line : t.linesFiller)
            var += double(line) / 100;
        const double szja2 = double(t.szja) * var / 100;
        const double jarul = double(t.jarul) / 10000 * (var - szja2) / 100;
        return vardelo::wholeAmountText(roundHalfEvenDouble(var - szja2 - jarul - double(t.levon) / 10000));
    }

    // A producer's month: its lines in fillér, in groups by compensation rate as the database sums them.
    std::vector<std::vector<qint64>> month(bool onAHalf) {
        std::vector<std::vector<qint64>> groups(size_t(between(1, 3)));
        const int lines = int(between(1, 40));
        qint64 total = 0;
        for (int i = 0; i < lines; ++i) {
            const qint64 p = between(0, 20) == 0 ? -price() : price(); // now and then a returned animal
            groups[size_t(between(0, qint64(groups.size()) - 1))].push_back(p);
            total += p;
        }
        if (onAHalf) {
            qint64 last = ((50 - total % 100) + 200) % 100;
            groups.back().push_back(last == 0 ? 100 : last);
        }
        return groups;
    }

    static QString referenceAmount(const std::vector<std::vector<qint64>>& groups) {
        Int128 total = 0;
        for (const auto& group : groups)
            for (qint64 line : group)
                total += line;
        return integerText(divideHalfAway(total, 100));
    }

    // The collection's arithmetic: the database's exact sum per rate, added per producer, rounded once when
    // the file is written.
    static QString programAmount(const std::vector<std::vector<qint64>>& groups) {
        Decimal amount;
        for (const auto& group : groups) {
            Decimal sum;
            for (qint64 line : group)
                sum += units(line, 2);
            amount += sum;
        }
        static const QDate from(2010, 8, 1);
        static const QDate to(2010, 8, 31);
        return vardelo::returns::importFileLines({}, {}, from, to, amount).at(14).mid(6);
    }

    static QString doubleAmount(const std::vector<std::vector<qint64>>& groups) {
        double amount = 0;
        for (const auto& group : groups)
            for (qint64 line : group)
                amount += double(line) / 100;
        return vardelo::wholeAmountText(amount);
    }

private:
    std::mt19937_64 random_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 ticketCount = args.size() > 1 ? args[1].toLongLong() : 1000000;
    const qint64 monthCount = args.size() > 2 ? args[2].toLongLong() : 1000000;
    const quint64 seed = args.size() > 3 ? args[3].toULongLong() : 1;
    Search search(seed);
    int failures = 0;

    QElapsedTimer timer;
    timer.start();
    qint64 onAHalf = 0;
    qint64 differ = 0;
    qint64 doublesDiffer = 0;
    for (qint64 i = 0; i < ticketCount; ++i) {
        const Ticket t = search.ticket(i % 2 == 0);
        const QString reference = Search::referencePayable(t);
        const Int128 kif = Search::exactBeforeDeduction(t) - Int128(t.levon) * Int128(1000000);
        if (kif % Int128(10000000000LL) == Int128(5000000000LL) ||
            kif % Int128(10000000000LL) == -Int128(5000000000LL))
            ++onAHalf;
        if (Search::programPayable(t) != reference) {
            if (++differ <= 5)
                std::printf("  ticket differs: expected %s, program %s\n", qPrintable(reference),
                            qPrintable(Search::programPayable(t)));
        }
        if (Search::doublePayable(t) != reference)
            ++doublesDiffer;
    }
    std::printf("tickets:         %lld searched, %lld exactly on a half; program differs in %lld; doubles "
                "would differ in %lld (%.1f s)\n",
                ticketCount, onAHalf, differ, doublesDiffer, double(timer.elapsed()) / 1000);
    failures += differ > 0;

    timer.restart();
    onAHalf = 0;
    differ = 0;
    doublesDiffer = 0;
    for (qint64 i = 0; i < monthCount; ++i) {
        const auto groups = search.month(i % 2 == 0);
        qint64 total = 0;
        for (const auto& group : groups)
            for (qint64 line : group)
                total += line;
        if (total % 100 == 50 || total % 100 == -50)
            ++onAHalf;
        const QString reference = Search::referenceAmount(groups);
        if (Search::programAmount(groups) != reference) {
            if (++differ <= 5)
                std::printf("  producer month differs: expected %s, program %s\n", qPrintable(reference),
                            qPrintable(Search::programAmount(groups)));
        }
        if (Search::doubleAmount(groups) != reference)
            ++doublesDiffer;
    }
    std::printf("producer months: %lld searched, %lld exactly on a half; program differs in %lld; doubles "
                "would differ in %lld (%.1f s)\n",
                monthCount, onAHalf, differ, doublesDiffer, double(timer.elapsed()) / 1000);
    failures += differ > 0;
    return failures > 0 ? 1 : 0;
}
