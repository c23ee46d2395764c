#pragma once

#include "data/row_check.h"
#include "masterdata/entry_confirm.h"
#include "masterdata/register_rules.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class TForm6;

// The animal entry "Állat", for a new animal or a change of the current one of Data->ZQ40.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    // mode: TForm6::NewMode() or TForm6::ChangeMode(). The browser, when given, has its list reopened after a
    // save.
    TForm7(const QString& mode, TForm6* browser, QWidget* parent = nullptr);
    ~TForm7() override;

    const QString& Mode() const { return mode_; }
    bool IsChange() const;

    // Copies the current row of Data->ZQ40 into the fields; raises EDatabaseError when there is none.
    void LoadCurrentAnimal();
    vardelo::AnimalEntryTexts Texts() const;

public slots:
    void FormShow();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    vardelo::EntrySave save();
    void reopenList();
    // The animal as stored now, after a change refused because another desk changed it.
    void reload();

    QString mode_;
    TForm6* browser_;
    // The animal being changed, as loaded.
    vardelo::RowAsRead asRead_;

    // The controls; from outside the window they are reached by their objectName.
    QLineEdit* Edit1;     // ID_TERMEK, read-only
    QLineEdit* Edit2;     // code
    QLineEdit* Edit3;     // name
    QLineEdit* Edit4;     // customs tariff number
    QLineEdit* Edit5;     // unit price, decimal comma
    QLineEdit* Edit6;     // unit of measure
    QLineEdit* Edit7;     // compensation per cent
    QPushButton* Button1; // "OK"
    QPushButton* Button2; // "Mégsem"
};
