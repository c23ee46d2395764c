#pragma once

#include "reports/report_layout.h"

#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

// A prepared report: pages of positioned items, ready to be painted. Preview, printer and PDF consume it.
namespace vardelo::report {

// Blank kept between a text and the left and right sides of its box, in millimetres.
constexpr double kTextPadding = 0.8;

struct PreparedItem {
    ObjectKind kind = ObjectKind::Text;
    QRectF rect; // mm from the top left corner of the paper (text, rectangle)
    QLineF line; // mm (line)
    double lineWidth = 0.2;
    QString text;
    FontSpec font;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Top;
    bool wrap = false;
    Frame frame;
};

struct PreparedPage {
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString copyName;
    int pageNumber = 1; // within its copy
    std::vector<PreparedItem> items;

    // The paper in millimetres, turned by the orientation.
    QSizeF paperSize() const;
    // The texts of the page, in the order they were placed.
    QStringList texts() const;
    // The first text item whose text is exactly the given one; nullptr when there is none.
    const PreparedItem* findText(const QString& text) const;
};

struct PreparedReport {
    QString title;
    std::vector<PreparedPage> pages;

    bool isEmpty() const { return pages.empty(); }
};

} // namespace vardelo::report
