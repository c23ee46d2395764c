#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTabWidget;
class TDBGrid;
class TDBNavigator;

// "Felvásárlási jegy": the current purchaser's tickets. From here a ticket is started, an unprinted one
// changed, and any one viewed or printed.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    // The override key: "J" (either case) typed while "Módosít" has the focus opens the current ticket for
    // change even when it has been printed.
    static constexpr char OverrideKey = 'J';
    // The key of the current ticket's journal, as "Napló" does.
    static constexpr Qt::Key JournalKey = Qt::Key_F9;

public slots:
    void DBGrid1TitleClick(const QString& fieldName);
    void PageControl1Change(int index);
    void NewButtonClick();
    void ChangeButtonClick();
    void ViewButtonClick();
    void PrintButtonClick();
    void JournalButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeaderGroup();
    QWidget* buildHeaderTab();
    QWidget* buildLinesTab();
    void FormShow();
    // Opens the ticket entry on the current ticket for change.
    void openForChange();
    void print(const QString& mode);

    bool shown_ = false;

    // The controls; from outside the window they are reached by their objectName.
    QLabel* OrderLabel;
    QTabWidget* PageControl1;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    TDBGrid* DBGrid2;
    TDBNavigator* DBNavigator2;
    QPushButton* NewButton;
    QPushButton* ChangeButton;
    QPushButton* CancelButton;
    QPushButton* ViewButton;
    QPushButton* PrintButton;
    QPushButton* JournalButton; // "Napló" (F9): the current ticket's journal
};
