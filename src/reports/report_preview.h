#pragma once

#include "reports/prepared_report.h"

#include <QDialog>
#include <QMarginsF>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace vardelo::report {

// The pages of a prepared report one under the other, at a zoom.
class PreviewPages : public QWidget {
    Q_OBJECT
public:
    PreviewPages(const PreparedReport& report, QWidget* parent = nullptr);

    void setPixelsPerMm(double pixelsPerMm);
    double pixelsPerMm() const { return pixelsPerMm_; }
    QSize sizeHint() const override;
    // Top of a page in widget pixels.
    int pageTop(int index) const;
    // The page at a height of the widget.
    int pageAt(int y) const;
    QSizeF largestPaper() const;

    static constexpr int kGap = 12; // pixels around and between pages

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PreparedReport& report_;
    double pixelsPerMm_ = 2.0;
};

} // namespace vardelo::report

// Buttons of the preview window.
enum TfrPreviewButton { pbZoom = 1, pbExit = 2 };

// The preview window: the prepared pages, a zoom button and an exit button; Ctrl+P prints through the print
// dialog of the platform.
class TfrPreviewForm : public QDialog {
    Q_OBJECT
public:
    TfrPreviewForm(const vardelo::report::PreparedReport& report, int buttons, QWidget* parent = nullptr);

    enum class ZoomMode { WholePage, PageWidth, Percent };
    void setZoom(ZoomMode mode, int percent = 100);
    ZoomMode zoomMode() const { return zoomMode_; }
    double pixelsPerMm() const;

    // Prepares the pages again for the printable area of the printer chosen (its margins in millimetres).
    // Without it the pages shown are printed as they are.
    using PrinterPreparation =
        std::function<vardelo::report::PreparedReport(const QMarginsF& printerMargins)>;
    void setPrinterPreparation(PrinterPreparation preparation) {
        printerPreparation_ = std::move(preparation);
    }

public slots:
    void print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyZoom();
    void updatePageLabel();

    const vardelo::report::PreparedReport& report_;
    vardelo::report::PreviewPages* pages_;
    QScrollArea* scroll_;
    QToolButton* zoomButton_;
    QPushButton* exitButton_;
    QLabel* pageLabel_;
    PrinterPreparation printerPreparation_;
    ZoomMode zoomMode_ = ZoomMode::PageWidth;
    int percent_ = 100;
};
