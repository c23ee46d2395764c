#include "widgets/db_text.h"

#include "data/dataset.h"
#include "data/field.h"
#include "widgets/data_link.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace vardelo {

bool shownWhole(const TField& field) {
    return field.DataType() != TFieldType::String || field.Size() <= LongestCodeCharacters;
}

} // namespace vardelo

TDBText::TDBText(QWidget* parent) : QLabel(parent), link_(new TDataLink(this)) {
    setTextFormat(Qt::PlainText);
    connect(link_, &TDataLink::dataSetChanged, this, &TDBText::refresh);
    connect(link_, &TDataLink::stateChanged, this, &TDBText::refresh);
    connect(link_, &TDataLink::currentChanged, this, &TDBText::refresh);
    connect(link_, &TDataLink::rowsReset, this, &TDBText::refresh);
}

TDBText::TDBText(TDataSource* source, const QString& fieldName, QWidget* parent) : TDBText(parent) {
    fieldName_ = fieldName;
    SetDataSource(source);
}

void TDBText::SetDataSource(TDataSource* source) {
    link_->SetDataSource(source);
    refresh();
}

TDataSource* TDBText::DataSource() const {
    return link_->DataSource();
}

void TDBText::SetDataField(const QString& fieldName) {
    fieldName_ = fieldName;
    refresh();
}

void TDBText::refresh() {
    const TField* field = link_->Field(fieldName_);
    const bool hasRow = field && !link_->DataSet()->IsEmpty();
    setText(hasRow ? field->AsString() : QString());
    updateToolTip();
}

QSize TDBText::minimumSizeHint() const {
    QSize hint = QLabel::minimumSizeHint();
    const QMargins margins = contentsMargins();
    const int around = margins.left() + margins.right() + 2 * margin();
    const TField* field = link_->Field(fieldName_);
    if (field && vardelo::shownWhole(*field))
        // As wide as the value is drawn, so that it never ends in "…".
        hint.setWidth(std::max(hint.width(), fontMetrics().horizontalAdvance(text()) + around));
    else
        hint.setWidth(std::min(hint.width(), fontMetrics().averageCharWidth() * leastCharacters_ + around));
    return hint;
}

void TDBText::setLeastCharacters(int characters) {
    leastCharacters_ = characters;
    updateGeometry();
}

bool TDBText::fits() const {
    return fontMetrics().horizontalAdvance(text()) <= contentsRect().width() - 2 * margin();
}

void TDBText::updateToolTip() {
    setToolTip(fits() ? QString() : text());
}

void TDBText::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateToolTip();
}

void TDBText::paintEvent(QPaintEvent* event) {
    if (fits()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), shown, foregroundRole());
}
