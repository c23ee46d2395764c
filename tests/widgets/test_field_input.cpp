#include "data/decimal.h"
#include "widgets/field_input.h"

#include <QDate>
#include <QTest>

using vardelo::fieldInputErrorText;
using vardelo::fieldValueFromText;

Q_DECLARE_METATYPE(TFieldType)

class TestFieldInput : public QObject {
    Q_OBJECT
private slots:
    void readsTypedText_data();
    void readsTypedText();
    void errorTexts();
};

void TestFieldInput::readsTypedText_data() {
    QTest::addColumn<TFieldType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("value");
    const auto String = TFieldType::String;
    const auto Integer = TFieldType::Integer;
    const auto LargeInt = TFieldType::LargeInt;
    const auto Decimal = TFieldType::Decimal;
    const auto Date = TFieldType::Date;
    QTest::newRow("text as typed") << String << " Kovács  " << true << QVariant(QStringLiteral(" Kovács  "));
    QTest::newRow("empty text stays text") << String << "" << true << QVariant(QString());
    QTest::newRow("whole number") << Integer << " 42 " << true << QVariant(42);
    QTest::newRow("negative") << Integer << "-7" << true << QVariant(-7);
    QTest::newRow("empty number is null") << Integer << "  " << true << QVariant();
    QTest::newRow("letters in a number") << Integer << "12a" << false << QVariant();
    QTest::newRow("fraction in a whole number") << Integer << "1,5" << false << QVariant();
    QTest::newRow("beyond 32 bits") << Integer << "3000000000" << false << QVariant();
    QTest::newRow("large whole number") << LargeInt << "3000000000" << true << QVariant(qint64(3000000000));
    QTest::newRow("decimal comma") << Decimal << "395,5" << true
                                    << QVariant::fromValue(*vardelo::Decimal::parse(QStringLiteral("395.5")));
    QTest::newRow("decimal point") << Decimal << "12.25" << true
                                    << QVariant::fromValue(*vardelo::Decimal::parse(QStringLiteral("12.25")));
    QTest::newRow("two commas") << Decimal << "1,2,3" << false << QVariant();
    QTest::newRow("date") << Date << "2010.08.31." << true << QVariant(QDate(2010, 8, 31));
    QTest::newRow("short date") << Date << "2010.8.1" << true << QVariant(QDate(2010, 8, 1));
    QTest::newRow("impossible date") << Date << "2010.02.30." << false << QVariant();
    QTest::newRow("empty date is null") << Date << "" << true << QVariant();
}

void TestFieldInput::readsTypedText() {
    QFETCH(TFieldType, type);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariant, value);
    const std::optional<QVariant> read = fieldValueFromText(type, text);
    QCOMPARE(read.has_value(), accepted);
    if (!accepted)
        return;
    QCOMPARE(read->isNull(), value.isNull());
    if (!value.isNull())
        QCOMPARE(*read, value);
}

void TestFieldInput::errorTexts() {
    QCOMPARE(fieldInputErrorText(TFieldType::Integer, QStringLiteral("12a")),
             QStringLiteral("'12a' nem érvényes egész szám."));
    QCOMPARE(fieldInputErrorText(TFieldType::Decimal, QStringLiteral("x")),
             QStringLiteral("'x' nem érvényes szám."));
    QCOMPARE(fieldInputErrorText(TFieldType::Date, QStringLiteral("2010.02.30.")),
             QStringLiteral("'2010.02.30.' nem érvényes dátum."));
}

QTEST_MAIN(TestFieldInput)
#include "test_field_input.moc"
