#include "widgets/form_controls.h"

#include <QLineEdit>
#include <QPushButton>

namespace vardelo {

QLineEdit* makeEdit(const QString& name, QWidget* parent, int characters) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 16);
    return edit;
}

QLineEdit* makeReadOnlyEdit(const QString& name, QWidget* parent, int characters) {
    QLineEdit* edit = makeEdit(name, parent, characters);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette greyed = edit->palette();
    greyed.setColor(QPalette::Base, edit->palette().color(QPalette::Window));
    edit->setPalette(greyed);
    return edit;
}

void setNumberText(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    const int needed = edit->fontMetrics().horizontalAdvance(text) + 16;
    if (edit->minimumWidth() < needed)
        edit->setMinimumWidth(needed);
    edit->setCursorPosition(0);
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace vardelo
