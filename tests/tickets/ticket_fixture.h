#pragma once

// Scripts for the windows that the ticket windows open: the producer and animal pickers and the line dialog.

#include "data/data_module.h"
#include "data/shared_values.h"
#include "masterdata/animal_browser.h"
#include "masterdata/producer_browser.h"
#include "support/children.h"
#include "support/ui_recorder.h"
#include "ticket_data.h"
#include "tickets/line_entry.h"
#include "tickets/ticket_entry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace vardelo::testing {

// The producer picker: stands on the producer of that code when it closes.
inline UiRecorder::ModalScript chooseProducer(const QString& code) {
    return [code](QDialog& dialog) {
        QVERIFY(qobject_cast<TForm4*>(&dialog));
        QVERIFY(Data->ZQ30->Locate("O_KOD", code, 0));
    };
}

// The animal picker: stands on the animal of that code when it closes.
inline UiRecorder::ModalScript chooseAnimal(const QString& code) {
    return [code](QDialog& dialog) {
        QVERIFY(qobject_cast<TForm6*>(&dialog));
        QVERIFY(Data->ZQ40->Locate("T_KOD", code, 0));
    };
}

struct LineValues {
    QString name = "Süldő";
    QString vtsz = "0103 91 10";
    QString gross = "100";
    QString unit = "kg";
    QString unitPrice = "420";
    QString compensation = "7";
    QString animalCode = "2";
};

// The line dialog: the fields typed in, then "OK". The dialog is checked to have closed unless told
// otherwise.
inline UiRecorder::ModalScript writeLine(LineValues line = {}, bool expectClosed = true) {
    return [line, expectClosed](QDialog& dialog) {
        auto* form = qobject_cast<TForm10*>(&dialog);
        QVERIFY(form);
        child<QLineEdit>(form, "Edit3")->setText(line.name);
        child<QLineEdit>(form, "Edit4")->setText(line.vtsz);
        child<QLineEdit>(form, "Edit5")->setText(line.gross);
        child<QLineEdit>(form, "Edit6")->setText(line.unit);
        child<QLineEdit>(form, "Edit7")->setText(line.unitPrice);
        child<QLineEdit>(form, "Edit8")->setText(line.compensation);
        child<QLineEdit>(form, "Edit9")->setText(line.animalCode);
        child<QPushButton>(form, "OkButton")->click();
        QCOMPARE(form->isVisible(), !expectClosed);
    };
}

// The entry filled as the clerk would for a new ticket of producer 1: the rest are the opening texts.
inline void fillHeader(TForm9& form) {
    child<QLineEdit>(form, "Edit3")->setText("2010.08.31.");
    child<QLineEdit>(form, "Edit10")->setText("2010.08.30.");
    child<QLineEdit>(form, "Edit11")->setText("2010.09.01.");
    child<QLineEdit>(form, "Edit5")->setText("1");
}

} // namespace vardelo::testing
