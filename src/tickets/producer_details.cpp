#include "tickets/producer_details.h"

#include "widgets/record_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStringList>

namespace vardelo::tickets {

QGroupBox* producerDetails(TDataSource* source, const QString& title, QWidget* parent) {
    auto row = [](const char* caption, QStringList fields) {
        return RecordPanelRow{QString::fromUtf8(caption), std::move(fields)};
    };
    auto* group = new QGroupBox(title, parent);
    fillRecordPanel(
        group, source,
        {row("ID:", {QStringLiteral("ID_OSTERMELO")}), row("Kód:", {QStringLiteral("O_KOD")}),
         row("Neve:", {QStringLiteral("O_NEV")}),
         row("Cim:", {QStringLiteral("O_IRSZAM"), QStringLiteral("O_HELYSEGNEV"), QStringLiteral("O_UTCA")}),
         row("Adóazonositó:", {QStringLiteral("O_ADOAZON")}),
         row("Ősterm.Ig.szám:", {QStringLiteral("O_IGSZAM")}),
         row("Reg.szám:", {QStringLiteral("O_REGSZAM")}),
         row("Családi gazd.szám:", {QStringLiteral("O_CSGAZD")}), row("TAJ:", {QStringLiteral("O_TAJ")}),
         row("Adószám:", {QStringLiteral("O_ADOSZAM")}), row("Bank szla:", {QStringLiteral("O_BANKSZLA")}),
         row("Szja:", {QStringLiteral("O_SZJA")}), row("Születési név:", {QStringLiteral("O_SZULNEV")}),
         row("Szül. hely:", {QStringLiteral("O_SZULHELY")}),
         row("Születési idő:", {QStringLiteral("O_SZIDO")}), row("Anyja neve:", {QStringLiteral("O_ANYJA")}),
         row("Neme:", {QStringLiteral("O_NEME")})},
        2);
    static_cast<QGridLayout*>(group->layout())->setRowStretch(9, 1);
    return group;
}

} // namespace vardelo::tickets
