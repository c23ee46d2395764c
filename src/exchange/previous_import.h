#pragma once

#include "data/immediate_write.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TZQuery;

// "Form25": carries the producers, animals and purchasers of the previous version into the database from its
// three fixed-width files in the folder of Edit1. Producers and animals are added; the purchasers replace the
// purchaser table. Every line is inserted and committed on its own.
class TForm25 : public QDialog {
    Q_OBJECT
public:
    explicit TForm25(QWidget* parent = nullptr);

    static inline const QString ProducerFile = QStringLiteral("exposterm.txt");
    static inline const QString AnimalFile = QStringLiteral("exptermek.txt");
    static inline const QString PurchaserFile = QStringLiteral("expatvevo.txt");

    void Button1Click();
    void Button3Click();

private:
    enum class Step { Done, Failed, Abort };

    // Loads the folder's file into Memo1 and returns its lines; a file that cannot be read is reported with
    // the program's error box and gives nothing.
    std::optional<QStringList> loadFile(const QString& name);
    // One statement: the transaction started when needed, the statement executed and committed. A failure of
    // the statement shows errorText and rolls back (Failed); a failure to start or to roll back shows
    // abortText and ends the import (Abort).
    Step recordStep(TZQuery* query, const QStringList& sql, const vardelo::QueryParams& params,
                    const QString& errorText, const QString& abortText);
    // Inserts every line of the file; false when the import has to end.
    bool importLines(const QString& file, TZQuery* query, const QStringList& sql,
                     const std::function<vardelo::QueryParams(const QString&, int)>& params,
                     const QString& errorText, const QString& abortText,
                     const std::function<bool()>& before = {});

    // The controls; from outside the window they are reached by their objectName.
    QLabel* Label1;
    QLineEdit* Edit1; // the folder, "c:\ze10\"
    QPlainTextEdit* Memo1;
    QGroupBox* GroupBox1; // "Melyik?"
    QCheckBox* CheckBox1; // "Östermelő"
    QCheckBox* CheckBox2; // "Termék"
    QCheckBox* CheckBox3; // "Átvevő"
    QPushButton* Button1; // "Import"
    QPushButton* Button3; // "Mégsem"
};
