#include "data/strings.h"

void TStrings::Clear() {
    lines_.clear();
    changed();
}

void TStrings::Add(const QString& line) {
    lines_.append(line);
    changed();
}

void TStrings::SetText(const QString& text) {
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    changed();
}

QString TStrings::Text() const {
    QString text;
    for (const QString& line : lines_) {
        text += line;
        text += QLatin1Char('\n');
    }
    return text;
}

void TStrings::changed() {
    if (onChange_)
        onChange_();
}
