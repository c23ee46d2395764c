#include "tickets/producer_details.h"

#include "widgets/db_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStringList>

namespace vardelo::tickets {

namespace {

struct Row {
    const char* caption;
    QStringList fields;
};

TDBText* valueLabel(TDataSource* source, const QString& field, QWidget* parent) {
    auto* text = new TDBText(source, field, parent);
    text->setObjectName(QStringLiteral("DBText_") + field);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);
    return text;
}

} // namespace

QGroupBox* producerDetails(TDataSource* source, const QString& title, QWidget* parent) {
    const Row rows[] = {
        {"ID:", {QStringLiteral("ID_OSTERMELO")}},
        {"Kód:", {QStringLiteral("O_KOD")}},
        {"Neve:", {QStringLiteral("O_NEV")}},
        {"Cim:", {QStringLiteral("O_IRSZAM"), QStringLiteral("O_HELYSEGNEV"), QStringLiteral("O_UTCA")}},
        {"Adóazonositó:", {QStringLiteral("O_ADOAZON")}},
        {"Ősterm.Ig.szám:", {QStringLiteral("O_IGSZAM")}},
        {"Reg.szám:", {QStringLiteral("O_REGSZAM")}},
        {"Családi gazd.szám:", {QStringLiteral("O_CSGAZD")}},
        {"TAJ:", {QStringLiteral("O_TAJ")}},
        {"Adószám:", {QStringLiteral("O_ADOSZAM")}},
        {"Bank szla:", {QStringLiteral("O_BANKSZLA")}},
        {"Szja:", {QStringLiteral("O_SZJA")}},
        {"Születési név:", {QStringLiteral("O_SZULNEV")}},
        {"Szül. hely:", {QStringLiteral("O_SZULHELY")}},
        {"Születési idő:", {QStringLiteral("O_SZIDO")}},
        {"Anyja neve:", {QStringLiteral("O_ANYJA")}},
        {"Neme:", {QStringLiteral("O_NEME")}},
    };
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    const int perColumn = (int(std::size(rows)) + 1) / 2;
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const int row = i % perColumn;
        const int column = (i / perColumn) * 2;
        auto* caption = new QLabel(QString::fromUtf8(rows[i].caption), group);
        grid->addWidget(caption, row, column);
        auto* values = new QHBoxLayout;
        for (const QString& field : rows[i].fields)
            values->addWidget(valueLabel(source, field, group));
        values->addStretch(1);
        grid->addLayout(values, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(perColumn, 1);
    return group;
}

} // namespace vardelo::tickets
