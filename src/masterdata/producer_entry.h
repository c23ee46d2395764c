#pragma once

#include "data/row_check.h"
#include "masterdata/entry_confirm.h"
#include "masterdata/register_rules.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TForm4;

// The producer entry "Őstermelő bevitel", for a new producer or a change of the current one of Data->ZQ30.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    // mode: TForm4::NewMode() or TForm4::ChangeMode(). The browser, when given, has its list reopened after a
    // save.
    TForm5(const QString& mode, TForm4* browser, QWidget* parent = nullptr);
    ~TForm5() override;

    const QString& Mode() const { return mode_; }
    bool IsChange() const;

    // Copies the current row of Data->ZQ30 into the fields; raises EDatabaseError when there is none.
    void LoadCurrentProducer();
    // The fields as the checks read them.
    vardelo::ProducerEntryTexts Texts() const;

public slots:
    void FormShow();
    void Edit16Exit();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    // Writes the producer and commits; after a failure its message is shown and the transaction rolled back.
    vardelo::EntrySave save();
    void reopenList();
    // The producer as stored now, after a change refused because another desk changed it.
    void reload();

    QString mode_;
    TForm4* browser_;
    // The producer being changed, as loaded.
    vardelo::RowAsRead asRead_;

    // The controls; from outside the window they are reached by their objectName.
    QLineEdit* Edit1;  // ID_OSTERMELO, hidden
    QLineEdit* Edit2;  // O_KOD, read-only
    QLineEdit* Edit3;  // name
    QLineEdit* Edit4;  // postcode
    QLineEdit* Edit5;  // town
    QLineEdit* Edit6;  // street
    QLineEdit* Edit7;  // tax identifier
    QLineEdit* Edit8;  // registration card number
    QLineEdit* Edit9;  // registration number
    QLineEdit* Edit10; // SZJA per cent
    QLineEdit* Edit11; // place of birth
    QLineEdit* Edit12; // date of birth
    QLineEdit* Edit13; // mother's name
    QLineEdit* Edit15; // family farm number
    QLineEdit* Edit16; // sex, "1" or "2"
    QLineEdit* Edit17; // name at birth
    QLineEdit* Edit18; // TAJ
    QLineEdit* Edit19; // tax number
    QLineEdit* Edit20; // bank account
    QLineEdit* Edit21; // validation date
    QCheckBox* CheckBox1;
    QPushButton* Button1; // "OK"
    QPushButton* Button2; // "Mégsem"
};
