#pragma once

#include "data/row_check.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class TForm9;
namespace vardelo::weighing {
class ScaleReader;
}

// "Felvásárlási jegy tételsor": adds a line to the ticket open in the ticket entry, or changes one of its
// lines (TetelMod, set by the entry before it creates the dialog). A saved line is stored and committed at
// once. With a scale in the settings, "Mérleg" (F2) puts the scale's gross weight into "Bruttó menny" and a
// label beside it shows the reading live.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    // The dialog reads the entry's "Sorszám", "Súlylevon.%" and producer code.
    explicit TForm10(TForm9& entry, QWidget* parent = nullptr);

    // Fills the fields from the current row of ZQ20, the line to change; the caption becomes TetelMod.
    void LoadLine();

public slots:
    void AnimalButtonClick();
    void OkButtonClick();
    void ScaleButtonClick();

private:
    void setTabOrder();
    // Writes the line. Failed: its message shown, the transaction rolled back. Reload: another desk changed
    // the line meanwhile and the clerk asked for it as stored now.
    enum class SaveResult { Saved, Failed, Reload };
    SaveResult saveLine();
    QString failureMessage() const;
    void reopenLists();
    // The line as stored now, from the lines just read again.
    void reloadLine();
    QLineEdit* fieldFor(int lineField) const;
    void addScale();
    void showScaleStatus();
    void takeScaleWeight(const QString& fieldText);
    std::optional<double> scaleWeight() const;

    TForm9& entry_;
    bool isNew_;
    // The line being changed, as loaded.
    vardelo::RowAsRead lineAsRead_;

    // The controls; from outside the window they are reached by their objectName.
    QLineEdit* Edit1; // Bszám
    QLineEdit* Edit2; // ID_FJSOR of a line being changed (hidden)
    QLineEdit* Edit3; // Megnevezés
    QLineEdit* Edit4; // VTSZ
    QLineEdit* Edit5; // Bruttó menny
    QLineEdit* Edit6; // Menny. egys.
    QLineEdit* Edit7; // Egységár
    QLineEdit* Edit8; // Komp.mértéke
    QLineEdit* Edit9; // Állatkód
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* AnimalButton;
    QPushButton* ScaleButton = nullptr; // with a scale only
    QLabel* ScaleLabel = nullptr;

    vardelo::weighing::ScaleReader* scale_ = nullptr;
    // The gross weight last taken from the scale for this line (or stored with it), as the field shows it.
    QString scaleWeightText_;
};
