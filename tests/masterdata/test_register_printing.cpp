#include "data/data_module.h"
#include "data/shared_values.h"
#include "masterdata/animal_browser.h"
#include "masterdata/producer_browser.h"
#include "reports/report_error.h"
#include "reports/report_fixture.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

QStringList allTexts() {
    QStringList texts;
    for (const auto& page : Data->frNyomtat->PreparedPages().pages)
        texts << page.texts();
    return texts;
}

// The texts appear in this order among the printed ones.
void verifyOrder(const QStringList& texts, const QStringList& wanted) {
    int last = -1;
    for (const QString& text : wanted) {
        const int at = int(texts.indexOf(text, last + 1));
        QVERIFY2(at > last, qPrintable(text));
        last = at;
    }
}

} // namespace

class TestRegisterPrinting : public QObject {
    Q_OBJECT

private slots:
    // "Nyomtat" prints the producers in name and birth-date order through the preview, landscape; the list
    // stays in that order and the order label keeps its text.
    void producerList() {
        TestDatabase db(true);
        vardelo::testing::copyLayouts();
        db.exec("INSERT INTO ostermelo (o_kod, o_nev, o_szulhely, o_szido) VALUES ('6', 'Nagy Éva', 'Pécs', "
                "'1950-01-01')");
        UiRecorder recorder;
        AktOkod = "3";
        TForm4 browser;
        recorder.expectModal([&](QDialog& dialog) {
            auto& shown = static_cast<TForm4&>(dialog);
            QTest::mouseClick(child<QPushButton>(shown, "Button6"), Qt::LeftButton);
            QCOMPARE(Data->ZQ30->SQL.Text().simplified(),
                     QStringLiteral("SELECT * FROM ostermelo ORDER BY o_Nev, o_Szido"));
            QCOMPARE(child<QLabel>(shown, "Label18")->text(),
                     QStringLiteral("Őstermelő lista, \"Név\" szerint"));
        });
        ui().showModal(browser);
        QCOMPARE(recorder.modalsShown, (QStringList{"Form4", "frPreviewForm"}));
        QCOMPARE(recorder.messageTexts(), QStringList{});
        QCOMPARE(defaultPrinterOrientation(), QPageLayout::Landscape);
        QCOMPARE(Data->frNyomtat->FileName(), QStringLiteral("FjLista2.frf"));
        const QStringList texts = allTexts();
        verifyOrder(texts,
                    {"Kovács János", "Molnár Ferenc", "Nagy Éva", "Nagy Éva", "Ördögh Ödön", "Szűcs Ágnes"});
        verifyOrder(texts, {"Pécs, 1950.01.01.", "Szeged, 1970.11.02."});
        QVERIFY(texts.contains("Összesen: 6 őstermelő"));
    }

    void animalList() {
        TestDatabase db(true);
        vardelo::testing::copyLayouts();
        UiRecorder recorder;
        TForm6 browser;
        recorder.expectModal([&](QDialog& dialog) {
            auto& shown = static_cast<TForm6&>(dialog);
            QTest::mouseClick(child<QPushButton>(shown, "Button6"), Qt::LeftButton);
            QCOMPARE(Data->ZQ40->SQL.Text().simplified(),
                     QStringLiteral("SELECT * FROM termek ORDER BY t_megnevezes"));
        });
        ui().showModal(browser);
        QCOMPARE(recorder.modalsShown, (QStringList{"Form6", "frPreviewForm"}));
        QCOMPARE(recorder.messageTexts(), QStringList{});
        QCOMPARE(defaultPrinterOrientation(), QPageLayout::Landscape);
        QCOMPARE(Data->frNyomtat->FileName(), QStringLiteral("FjLista6.frf"));
        verifyOrder(allTexts(), {"Borjú", "Pecsenyecsirke", "Süldő", "Vágóbárány", "Vágókacsa", "Vágómarha",
                                 "Vágósertés"});
    }

    // Without the layout file the print stops with the engine's error, and no preview opens.
    void missingLayoutFile() {
        TestDatabase db(true);
        UiRecorder recorder;
        TForm4 producers;
        QVERIFY_THROWS_EXCEPTION(EReportError, producers.Button6Click());
        TForm6 animals;
        QVERIFY_THROWS_EXCEPTION(EReportError, animals.Button6Click());
        QCOMPARE(recorder.modalsShown, QStringList{});
    }
};

QTEST_MAIN(TestRegisterPrinting)
#include "test_register_printing.moc"
