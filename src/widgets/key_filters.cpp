#include "widgets/key_filters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace vardelo {

// --- KeyFilter

KeyFilter::KeyFilter(KeyFilterKind kind, QObject* parent) : QValidator(parent), kind_(kind) {}

KeyFilter* KeyFilter::install(QLineEdit* edit, KeyFilterKind kind) {
    auto* filter = new KeyFilter(kind, edit);
    filter->edit_ = edit;
    filter->foreignInProgramText_ = filter->foreignCount(edit->text());
    edit->installEventFilter(filter);
    edit->setValidator(filter);
    return filter;
}

bool KeyFilter::accepts(QChar c) const {
    const bool digit = c >= u'0' && c <= u'9';
    switch (kind_) {
    case KeyFilterKind::Digits:
        return digit;
    case KeyFilterKind::DigitsPoint:
        return digit || c == u'.';
    case KeyFilterKind::DigitsComma:
        return digit || c == u',';
    case KeyFilterKind::DigitsCommaMinus:
        return digit || c == u',' || c == u'-';
    case KeyFilterKind::DecimalNumber:
        return digit || c == u',' || c == u'.';
    case KeyFilterKind::OneTwo:
        return c == u'1' || c == u'2';
    }
    return false;
}

bool KeyFilter::acceptsText(const QString& text) const {
    return foreignCount(text) == 0;
}

int KeyFilter::foreignCount(const QString& text) const {
    int count = 0;
    for (const QChar c : text) {
        if (!accepts(c))
            ++count;
    }
    return count;
}

QValidator::State KeyFilter::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    if (kind_ == KeyFilterKind::DecimalNumber && (!edit_ || edit_->isModified()))
        input.replace(QLatin1Char('.'), QLatin1Char(','));
    const int foreign = foreignCount(input);
    if (edit_ && !edit_->isModified()) {
        // The text as the program set it (setText resets the modified state).
        foreignInProgramText_ = foreign;
        return Acceptable;
    }
    if (foreign <= foreignInProgramText_) {
        foreignInProgramText_ = foreign; // what the clerk removed cannot come back
        return Acceptable;
    }
    return Invalid;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QValidator::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!c.isPrint())
            return false; // Backspace, Delete, Tab, Escape and the like
    }
    return !acceptsText(text);
}

// --- EnterMovesFocus

namespace {

// QWidget::focusNextPrevChild is protected; a pointer to it taken through a derived class may be called on
// any widget, and keeps its virtual dispatch.
struct FocusMover : QWidget {
    static bool move(QWidget* window, bool next) {
        bool (QWidget::*step)(bool) = &FocusMover::focusNextPrevChild;
        return (window->*step)(next);
    }
};

} // namespace

EnterMovesFocus::EnterMovesFocus(QWidget* window) : QObject(window), window_(window) {
    // The application's filter sees a key before the focused control and its parents do.
    qApp->installEventFilter(this);
}

EnterMovesFocus* EnterMovesFocus::install(QWidget* window) {
    return new EnterMovesFocus(window);
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (static_cast<QWidget*>(watched)->window() != window_)
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    FocusMover::move(window_, modifiers != Qt::ShiftModifier);
    return true;
}

} // namespace vardelo

#include "moc_key_filters.cpp"
