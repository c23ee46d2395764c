#pragma once

#include <QPointer>
#include <QValidator>

class QLineEdit;
class QWidget;

namespace vardelo {

// Which characters an entry field accepts.
enum class KeyFilterKind {
    Digits,           // 0-9
    DigitsPoint,      // 0-9 and "."
    DigitsComma,      // 0-9 and ","
    DigitsCommaMinus, // 0-9, "," and "-"
    DecimalNumber,    // 0-9 and the decimal comma; a point typed or pasted becomes the comma
    OneTwo,           // only "1" and "2"
};

// The key filter of an entry field. As an event filter it drops every printable key outside the accepted
// characters, and Enter as well (the window's Enter-moves-focus handles it); Backspace, Delete, the
// navigation keys and Ctrl shortcuts pass. As the field's validator it refuses pasted, dropped or otherwise
// inserted text that brings in another character, so the field keeps its previous text.
//
// Text the program puts into the field with setText() is taken as it is, and still counts as acceptable input
// (so QLineEdit keeps emitting editingFinished for it); the clerk may delete its odd characters but not add
// more.
class KeyFilter : public QValidator {
    Q_OBJECT
public:
    explicit KeyFilter(KeyFilterKind kind, QObject* parent = nullptr);

    // Creates a filter owned by the field, installs it as the field's event filter and validator.
    static KeyFilter* install(QLineEdit* edit, KeyFilterKind kind);

    KeyFilterKind kind() const { return kind_; }
    bool accepts(QChar c) const;
    bool acceptsText(const QString& text) const;

    State validate(QString& input, int& pos) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int foreignCount(const QString& text) const;

    KeyFilterKind kind_;
    QPointer<QLineEdit> edit_;
    // Characters outside the accepted set in the text the program last put into the field.
    mutable int foreignInProgramText_ = 0;
};

// Enter moves the focus: installed on a window, it sees each key before the window's controls do. Enter or
// Return pressed anywhere in the window moves the focus to the next control in tab order; Shift+Enter, with
// no other modifier, to the previous one. The key is swallowed, so no control of the window receives Enter
// (and no default button fires). Windows opened from it (their own top-level windows) are not affected.
class EnterMovesFocus : public QObject {
    Q_OBJECT
public:
    // Created as a child of the window and removed with it.
    static EnterMovesFocus* install(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit EnterMovesFocus(QWidget* window);
    QWidget* window_;
};

} // namespace vardelo
