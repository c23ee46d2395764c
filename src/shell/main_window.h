#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class TAboutBox;

// The main window "Form1": a small window whose only content is the menu from which every screen is opened.
// Creating it starts the program: the splash, the data module with the six table components, the number
// format and the version in the caption. When the database cannot be opened it says so and the program ends
// without the window being shown (StartupFailed).
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    bool StartupFailed() const { return startupFailed_; }
    // Shows the window at the centre of the desktop.
    void ShowCentred();

    // Re-reads the six table components (close 1..6, open 1..6) and keeps IBTable6 on the current purchaser.
    // Runs after every window opened from the menu has closed, so rows written through the queries show in
    // the tables and an edit of the purchaser row that was not stored is dropped.
    void RefreshTables();
    // Enables the entries that wait for the first purchaser selection.
    void EnableMenus();

    // Opens a window of the menu: creates it over the main window, shows it modally, destroys it and re-reads
    // the tables. A database error that the window did not handle ends the action with the error box.
    template <class TForm> void openModal() {
        runModal([this] { return std::unique_ptr<QDialog>(new TForm(this)); });
    }

    // "Felvásárlási jegy -  Verzió: 8.09 2006-2010"
    QString ProgramVerzio;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenu();
    void startUp();
    void FormClose();
    void runModal(const std::function<std::unique_ptr<QDialog>()>& create);

    void Vlaszts1Click();
    void Lekrdezs1Click();
    void Felvsrlsijegy1Click();
    void stermel1Click();
    void Termk1Click();
    void N0808Mhozexport1Click();
    void Bevallslista1Click();
    void Importsszevons1Click();
    void Termkenkntilista1Click();
    void Termelnkntilista1Click();
    void Ellenrzs2Click();
    void Adatokexceltblba1Click();
    void Adatbzis1Click();
    void Naplo1Click();
    void Sug1Click();
    void Nvjegy1Click();
    void Tvsegitsg1Click();
    void Rgiblexport1Click();
    void Adatokkldse1Click();
    void Adatments1Click();
    void Visszatlts1Click();
    void Kilps1Click();

    // The splash, created once.
    QPointer<TAboutBox> AboutBox;
    bool splashShown_ = false;
    bool startupFailed_ = false;
    bool closed_ = false;

    // The controls; from outside the window they are reached by their objectName.
    QMenuBar* MainMenu1;
    QMenu* Adz1; // "Átvevö"
    QAction* Vlaszts1;
    QAction* Lekrdezs1;
    QAction* Felvsrlsijegy1; // "Felvásárlási jegy", acts when clicked
    QAction* stermel1;       // "Östermelö"
    QAction* Termk1;         // "Állat"
    QMenu* Bevalls1;         // "Bevallás"
    QAction* N0808Mhozexport1;
    QAction* Bevallslista1;
    QAction* Importsszevons1;
    QMenu* Listk1; // "Listák"
    QAction* Termkenkntilista1;
    QAction* Termelnkntilista1;
    QMenu* Export1; // "Segédlet"
    QAction* Ellenrzs2;
    QAction* Adatokexceltblba1;
    QAction* Adatbzis1;
    QAction* Naplo1; // "Napló": the journal of changes
    QAction* N1;
    QAction* Sug1;
    QAction* Nvjegy1;
    QAction* Tvsegitsg1;
    QAction* Rgiblexport1;
    QAction* Adatokkldse1;
    QAction* Adatments1;  // "Adatmentés"
    QAction* Visszatlts1; // "Visszatöltés"
    QAction* Kilps1;      // "Kilépés"
};

// The main window while it exists; the purchaser selection sets its caption and enables its menu.
inline TForm1* Form1 = nullptr;

namespace vardelo {
// The caption of the main window before any purchaser is selected.
QString mainCaption(const QString& programVerzio);
} // namespace vardelo
