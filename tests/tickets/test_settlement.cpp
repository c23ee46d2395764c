#include "tickets/number_words.h"
#include "tickets/settlement.h"

#include <QTest>

using namespace vardelo;

class TestSettlement : public QObject {
    Q_OBJECT
private slots:
    void amounts();
    void payable_data();
    void payable();
    void payableBeyond32Bits();
    void cashPayment();
    void transferPayment_data();
    void transferPayment();
    void declaration_data();
    void declaration();
    void copyMarks_data();
    void copyMarks();
    void changedAfterPrintLine();
};

void TestSettlement::amounts() {
    const TicketSettlement s = computeSettlement(9500, 500, 10000, 15, 2, 0);
    QCOMPARE(s.v_far, 9500.0);
    QCOMPARE(s.v_kar, 500.0);
    QCOMPARE(s.v_var, 10000.0);
    QCOMPARE(s.v_szja2, 1500.0);
    QCOMPARE(s.v_jarul, 170.0);
    QCOMPARE(s.v_levon, 0.0);
    QCOMPARE(s.payable, qint64(8330));
    QCOMPARE(s.v_kif, QStringLiteral("8330"));
    QCOMPARE(s.payable32(), std::optional<qint32>(8330));

    // The tax and the contribution stay unrounded.
    const TicketSettlement f = computeSettlement(0, 0, 1234.57, 15, 2, 0);
    QCOMPARE(f.v_szja2, 15 * 1234.57 / 100);
    QCOMPARE(f.v_jarul, 2 * (1234.57 - 15 * 1234.57 / 100) / 100);
    QCOMPARE(f.v_kif, QStringLiteral("1028"));
}

void TestSettlement::payable_data() {
    QTest::addColumn<double>("var");
    QTest::addColumn<double>("szja");
    QTest::addColumn<double>("jarul");
    QTest::addColumn<double>("levon");
    QTest::addColumn<QString>("kif");

    QTest::newRow("half above even goes down") << 8330.5 << 0.0 << 0.0 << 0.0 << "8330";
    QTest::newRow("half above odd goes up") << 8331.5 << 0.0 << 0.0 << 0.0 << "8332";
    // 3 − 50 % = 1.5 → 2; 5 − 50 % = 2.5 → 2.
    QTest::newRow("half from the tax, up") << 3.0 << 50.0 << 0.0 << 0.0 << "2";
    QTest::newRow("half from the tax, down") << 5.0 << 50.0 << 0.0 << 0.0 << "2";
    QTest::newRow("deduction") << 10000.0 << 15.0 << 2.0 << 330.0 << "8000";
    QTest::newRow("negative payable") << 1000.0 << 15.0 << 0.0 << 2000.0 << "-1150";
    QTest::newRow("negative half to even") << 0.0 << 0.0 << 0.0 << 2.5 << "-2";
    QTest::newRow("negative below half") << 0.0 << 0.0 << 0.0 << 0.4 << "0";
    QTest::newRow("all null") << 0.0 << 0.0 << 0.0 << 0.0 << "0";
    QTest::newRow("no lines, deduction") << 0.0 << 15.0 << 2.0 << 100.0 << "-100";
}

void TestSettlement::payable() {
    QFETCH(double, var);
    QFETCH(double, szja);
    QFETCH(double, jarul);
    QFETCH(double, levon);
    QFETCH(QString, kif);
    const TicketSettlement s = computeSettlement(0, 0, var, szja, jarul, levon);
    QCOMPARE(s.v_kif, kif);
    QCOMPARE(QString::number(s.payable), kif);
}

void TestSettlement::payableBeyond32Bits() {
    const TicketSettlement s = computeSettlement(0, 0, 3e9, 0, 0, 0);
    QCOMPARE(s.v_kif, QStringLiteral("3000000000"));
    QCOMPARE(s.payable, qint64(3000000000));
    QVERIFY(!s.payable32());
    QVERIFY(!computeSettlement(0, 0, 0, 0, 0, 3e9).payable32());
    QCOMPARE(computeSettlement(0, 0, 2147483647, 0, 0, 0).payable32(), std::optional<qint32>(2147483647));
}

void TestSettlement::cashPayment() {
    const QString words = SzamBetuvel(1234);
    QCOMPARE(azazText(words), QStringLiteral("egyezer-kettöszázharmincnégy  00/100 Forint"));
    for (const QString& utal : {QString(), QStringLiteral(" "), QStringLiteral("X"), QStringLiteral("i")}) {
        const PaymentBlock b =
            paymentBlock(utal, QStringLiteral("2010.08.31."), QStringLiteral("1234"), words);
        QCOMPARE(b.v_fizmod, QStringLiteral("Fizetés módja: Kp."));
        QCOMPARE(b.v_utal, QStringLiteral(" "));
        QCOMPARE(b.v_kp1, QStringLiteral("A kifizetendö összegét 1234 Ft -ot, azaz"));
        QCOMPARE(b.v_kp2,
                 QStringLiteral("egyezer-kettöszázharmincnégy  00/100 Forint -ot a mai napon átvettem."));
        QCOMPARE(b.v_kp3, QStringLiteral("Az összeg átvételének idöpontja:2010.08.31."));
        QCOMPARE(b.v_kp4, QString(77, u'.'));
        QCOMPARE(b.v_kp5, QStringLiteral(" a mezögazd. tevék. folytató adóalany aláirása"));
    }
}

void TestSettlement::transferPayment_data() {
    QTest::addColumn<QString>("utal");
    QTest::newRow("x") << "x";
    QTest::newRow("x padded") << "x ";
}

void TestSettlement::transferPayment() {
    QFETCH(QString, utal);
    const PaymentBlock b =
        paymentBlock(utal, QStringLiteral("2010.09.15."), QStringLiteral("1234"), SzamBetuvel(1234));
    QCOMPARE(b.v_fizmod, QStringLiteral("Fizetés módja: Átutalás"));
    QCOMPARE(b.v_utal, QStringLiteral("Átutalás határideje:  2010.09.15."));
    for (const QString& kp : {b.v_kp1, b.v_kp2, b.v_kp3, b.v_kp4, b.v_kp5}) {
        QVERIFY(kp.isEmpty());
    }
}

void TestSettlement::declaration_data() {
    QTest::addColumn<QString>("nyilatk");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("third");

    const QString dots(77, u'.');
    const QString caption = QStringLiteral(" a mezögazd. tevék. folytató adóalany aláirása");
    QTest::newRow("null") << QString() << " "
                          << " "
                          << "  ";
    QTest::newRow("5 characters") << "abcde"
                                  << " "
                                  << " "
                                  << "  ";
    QTest::newRow("6 characters") << "abcdef"
                                  << "Nyilatkozat: abcdef" << dots << caption;
    QTest::newRow("declaration") << QStringLiteral("Az áru saját termelésű.")
                                 << QStringLiteral("Nyilatkozat: Az áru saját termelésű.") << dots << caption;
}

void TestSettlement::declaration() {
    QFETCH(QString, nyilatk);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, third);
    const DeclarationBlock d = declarationBlock(nyilatk);
    QCOMPARE(d.v_nyilatk1, first);
    QCOMPARE(d.v_nyilatk2, second);
    QCOMPARE(d.v_nyilatk3, third);
}

void TestSettlement::copyMarks_data() {
    QTest::addColumn<QString>("prn");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<bool>("markPrinted");

    const QString copy = QStringLiteral("MÁSOLATI PÉLDÁNY");
    QTest::newRow("printed, print") << "I"
                                    << "Nyomtat" << copy << false;
    QTest::newRow("printed, view") << "I"
                                   << "Megtekint" << copy << false;
    QTest::newRow("blank, print") << " "
                                  << "Nyomtat"
                                  << " " << true;
    QTest::newRow("null, print") << QString() << "Nyomtat"
                                 << " " << true;
    QTest::newRow("blank, view") << " "
                                 << "Megtekint"
                                 << " " << false;
    QTest::newRow("null, view") << QString() << "Megtekint"
                                << " " << false;
    QTest::newRow("lower-case i is not printed") << "i"
                                                 << "Nyomtat"
                                                 << " " << true;
}

void TestSettlement::copyMarks() {
    QFETCH(QString, prn);
    QFETCH(QString, mode);
    QFETCH(QString, mark);
    QFETCH(bool, markPrinted);
    const CopyMark m = copyMark(prn, mode);
    QCOMPARE(m.v_masolat, mark);
    QCOMPARE(m.markPrinted, markPrinted);
}

// The footer line of a ticket changed after its print names the day; an unchanged one has one blank.
void TestSettlement::changedAfterPrintLine() {
    QCOMPARE(changedAfterPrintText(QDate(2010, 8, 5)), QString("Nyomtatás után módosítva: 2010.08.05."));
    QCOMPARE(changedAfterPrintText(QDate()), QString(" "));
}

QTEST_MAIN(TestSettlement)
#include "test_settlement.moc"
