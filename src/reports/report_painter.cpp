#include "reports/report_painter.h"

#include "reports/report_preparer.h"

#include <QFile>
#include <QFileInfo>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

namespace vardelo::report {

namespace {

int alignmentFlags(const PreparedItem& item) {
    int flags = 0;
    switch (item.align) {
    case HAlign::Left:
        flags |= Qt::AlignLeft;
        break;
    case HAlign::Center:
        flags |= Qt::AlignHCenter;
        break;
    case HAlign::Right:
        flags |= Qt::AlignRight;
        break;
    }
    switch (item.valign) {
    case VAlign::Top:
        flags |= Qt::AlignTop;
        break;
    case VAlign::Center:
        flags |= Qt::AlignVCenter;
        break;
    case VAlign::Bottom:
        flags |= Qt::AlignBottom;
        break;
    }
    if (item.wrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

QPen pen(double widthMm, double pxPerMm) {
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, widthMm * pxPerMm));
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QRectF scaled(const QRectF& r, double s) {
    return QRectF(r.x() * s, r.y() * s, r.width() * s, r.height() * s);
}

void paintText(QPainter& painter, const PreparedItem& item, double pxPerMm) {
    const QRectF box = scaled(item.rect, pxPerMm);
    if (!item.text.isEmpty()) {
        QFont font = reportFont(item.font);
        // Point sizes are meant on paper: the device's own resolution must not change them.
        const double deviceDpi = painter.device()->logicalDpiY();
        font.setPointSizeF(item.font.size * 25.4 * pxPerMm / deviceDpi);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const double pad = kTextPadding * pxPerMm;
        painter.drawText(box.adjusted(pad, 0, -pad, 0), alignmentFlags(item), item.text);
    }
    if (item.frame.any()) {
        painter.setPen(pen(item.frame.width, pxPerMm));
        if (item.frame.top)
            painter.drawLine(box.topLeft(), box.topRight());
        if (item.frame.bottom)
            painter.drawLine(box.bottomLeft(), box.bottomRight());
        if (item.frame.left)
            painter.drawLine(box.topLeft(), box.bottomLeft());
        if (item.frame.right)
            painter.drawLine(box.topRight(), box.bottomRight());
    }
}

QPageLayout pageLayout(const PreparedPage& page) {
    return QPageLayout(page.pageSize, page.orientation, QMarginsF());
}

} // namespace

void paintPage(QPainter& painter, const PreparedPage& page, double pixelsPerMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    for (const PreparedItem& item : page.items) {
        switch (item.kind) {
        case ObjectKind::Text:
            paintText(painter, item, pixelsPerMm);
            break;
        case ObjectKind::Line:
            painter.setPen(pen(item.lineWidth, pixelsPerMm));
            painter.drawLine(QLineF(item.line.p1() * pixelsPerMm, item.line.p2() * pixelsPerMm));
            break;
        case ObjectKind::Rect:
            painter.setPen(pen(item.lineWidth, pixelsPerMm));
            painter.drawRect(scaled(item.rect, pixelsPerMm));
            break;
        }
    }
    painter.restore();
}

bool renderToPdf(const PreparedReport& report, const QString& path, QString* error) {
    {
        // QPdfWriter does not tell when it cannot write; find out first.
        QFile probe(path);
        if (QFileInfo(path).isDir() || !probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = QStringLiteral("A fájl nem írható: %1").arg(path);
            return false;
        }
    }
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("Vardelo"));
    if (!report.pages.empty())
        writer.setPageLayout(pageLayout(report.pages.front()));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("A fájl nem írható: %1").arg(path);
        return false;
    }
    const double pxPerMm = writer.resolution() / 25.4;
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(pageLayout(report.pages[i]));
            writer.newPage();
        }
        paintPage(painter, report.pages[i], pxPerMm);
    }
    painter.end();
    return true;
}

QMarginsF printableMargins(const QPageLayout& printerLayout) {
    double mmPerUnit = 1.0;
    switch (printerLayout.units()) {
    case QPageLayout::Millimeter:
        mmPerUnit = 1.0;
        break;
    case QPageLayout::Point:
        mmPerUnit = 25.4 / 72.0;
        break;
    case QPageLayout::Inch:
        mmPerUnit = 25.4;
        break;
    case QPageLayout::Pica:
        mmPerUnit = 25.4 / 6.0;
        break;
    case QPageLayout::Didot:
        mmPerUnit = 0.375972;
        break;
    case QPageLayout::Cicero:
        mmPerUnit = 4.511664;
        break;
    }
    const QMarginsF m = printerLayout.minimumMargins();
    return QMarginsF(m.left() * mmPerUnit, m.top() * mmPerUnit, m.right() * mmPerUnit,
                     m.bottom() * mmPerUnit);
}

QMarginsF printMargins(const QMarginsF& previewMargins, const QPageLayout& printerLayout) {
    const QMarginsF printer = printableMargins(printerLayout);
    return QMarginsF(std::max(previewMargins.left(), printer.left()),
                     std::max(previewMargins.top(), printer.top()),
                     std::max(previewMargins.right(), printer.right()),
                     std::max(previewMargins.bottom(), printer.bottom()));
}

void printReport(const PreparedReport& report, QPrinter& printer) {
    if (report.pages.empty())
        return;
    std::vector<int> pages;
    const QPageRanges ranges = printer.pageRanges();
    for (int i = 0; i < int(report.pages.size()); ++i)
        if (ranges.isEmpty() || ranges.contains(i + 1))
            pages.push_back(i);
    if (pages.empty())
        return;
    printer.setFullPage(true);
    printer.setDocName(report.title);
    printer.setPageLayout(pageLayout(report.pages[pages.front()]));
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const double pxPerMm = printer.resolution() / 25.4;
    for (size_t k = 0; k < pages.size(); ++k) {
        const PreparedPage& page = report.pages[pages[k]];
        if (k > 0) {
            printer.setPageLayout(pageLayout(page));
            printer.newPage();
        }
        paintPage(painter, page, pxPerMm);
    }
    painter.end();
}

} // namespace vardelo::report
