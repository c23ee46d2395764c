#include "reports/report_preview.h"

#include "reports/report_painter.h"
#include "reports/report_preparer.h"
#include "reports/report_service.h"
#include "widgets/ui_service.h"
#include "widgets/window_size.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace vardelo::report {

PreviewPages::PreviewPages(const PreparedReport& report, QWidget* parent) : QWidget(parent), report_(report) {
    setObjectName(QStringLiteral("PreviewPages"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPages::setPixelsPerMm(double pixelsPerMm) {
    pixelsPerMm_ = std::clamp(pixelsPerMm, 0.2, 20.0);
    resize(sizeHint());
    update();
}

QSizeF PreviewPages::largestPaper() const {
    QSizeF size(210, 297);
    for (const PreparedPage& page : report_.pages)
        size = size.expandedTo(page.paperSize());
    return size;
}

QSize PreviewPages::sizeHint() const {
    const QSizeF paper = largestPaper();
    int height = kGap;
    for (const PreparedPage& page : report_.pages)
        height += qRound(page.paperSize().height() * pixelsPerMm_) + kGap;
    return QSize(qRound(paper.width() * pixelsPerMm_) + 2 * kGap, height);
}

int PreviewPages::pageTop(int index) const {
    int top = kGap;
    for (int i = 0; i < index && i < int(report_.pages.size()); ++i)
        top += qRound(report_.pages[i].paperSize().height() * pixelsPerMm_) + kGap;
    return top;
}

int PreviewPages::pageAt(int y) const {
    for (int i = int(report_.pages.size()) - 1; i >= 0; --i)
        if (y >= pageTop(i) - kGap)
            return i;
    return 0;
}

void PreviewPages::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(128, 128, 128));
    for (int i = 0; i < int(report_.pages.size()); ++i) {
        const PreparedPage& page = report_.pages[i];
        const QSizeF paper = page.paperSize() * pixelsPerMm_;
        const QRect pageRect(QPoint((width() - qRound(paper.width())) / 2, pageTop(i)), paper.toSize());
        if (!pageRect.adjusted(0, 0, 4, 4).intersects(event->rect()))
            continue;
        painter.fillRect(pageRect.translated(3, 3), QColor(60, 60, 60));
        painter.fillRect(pageRect, Qt::white);
        painter.save();
        painter.setClipRect(pageRect);
        painter.translate(pageRect.topLeft());
        paintPage(painter, page, pixelsPerMm_);
        painter.restore();
    }
}

} // namespace vardelo::report

using vardelo::report::PreviewPages;

TfrPreviewForm::TfrPreviewForm(const vardelo::report::PreparedReport& report, int buttons, QWidget* parent)
    : QDialog(parent), report_(report) {
    setObjectName(QStringLiteral("frPreviewForm"));
    setWindowTitle(QStringLiteral("Preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    zoomButton_ = new QToolButton(this);
    zoomButton_->setObjectName(QStringLiteral("pbZoom"));
    zoomButton_->setText(QStringLiteral("Nagyítás"));
    zoomButton_->setPopupMode(QToolButton::InstantPopup);
    zoomButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* menu = new QMenu(zoomButton_);
    menu->setObjectName(QStringLiteral("ZoomMenu"));
    menu->addAction(QStringLiteral("Egész oldal"), this, [this] { setZoom(ZoomMode::WholePage); });
    menu->addAction(QStringLiteral("Oldalszélesség"), this, [this] { setZoom(ZoomMode::PageWidth); });
    for (int percent : {50, 75, 100, 150, 200})
        menu->addAction(QStringLiteral("%1%").arg(percent), this,
                        [this, percent] { setZoom(ZoomMode::Percent, percent); });
    zoomButton_->setMenu(menu);
    zoomButton_->setVisible(buttons & pbZoom);

    exitButton_ = new QPushButton(QStringLiteral("Bezárás"), this);
    exitButton_->setObjectName(QStringLiteral("pbExit"));
    exitButton_->setAutoDefault(false);
    exitButton_->setVisible(buttons & pbExit);
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::reject);
    // As wide as "Bezárás", so that the menu arrow has room beside the text.
    zoomButton_->setMinimumSize(exitButton_->sizeHint());

    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(zoomButton_);
    bar->addWidget(exitButton_);
    bar->addStretch(1);
    bar->addWidget(pageLabel_);

    pages_ = new PreviewPages(report_);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollBox"));
    scroll_->setWidget(pages_);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->viewport()->installEventFilter(this);
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TfrPreviewForm::updatePageLabel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);

    auto* printShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(printShortcut, &QShortcut::activated, this, &TfrPreviewForm::print);

    vardelo::fitWindowToScreen(*this, QSize(900, 1000));
    applyZoom();
    updatePageLabel();
}

double TfrPreviewForm::pixelsPerMm() const {
    return pages_->pixelsPerMm();
}

void TfrPreviewForm::setZoom(ZoomMode mode, int percent) {
    zoomMode_ = mode;
    percent_ = percent;
    applyZoom();
}

void TfrPreviewForm::applyZoom() {
    // The place on the page that is at the top of the view stays there.
    QScrollBar* bar = scroll_->verticalScrollBar();
    const double oldScale = pages_->pixelsPerMm();
    const int page = pages_->pageAt(bar->value());
    const double intoPage = (bar->value() - pages_->pageTop(page)) / oldScale;

    const QSizeF paper = pages_->largestPaper();
    const QSize view = scroll_->viewport()->size();
    const int gaps = 2 * PreviewPages::kGap;
    double scale = 2.0;
    switch (zoomMode_) {
    case ZoomMode::WholePage:
        scale = std::min((view.width() - gaps) / paper.width(), (view.height() - gaps) / paper.height());
        break;
    case ZoomMode::PageWidth:
        scale = (view.width() - gaps) / paper.width();
        break;
    case ZoomMode::Percent:
        scale = logicalDpiX() / 25.4 * percent_ / 100.0;
        break;
    }
    pages_->setPixelsPerMm(scale);
    // The pages stay centred when the view is wider than they are.
    pages_->resize(std::max(pages_->sizeHint().width(), scroll_->viewport()->width()),
                   pages_->sizeHint().height());
    bar->setValue(pages_->pageTop(page) + qRound(intoPage * pages_->pixelsPerMm()));
    updatePageLabel();
}

void TfrPreviewForm::updatePageLabel() {
    if (report_.pages.empty()) {
        pageLabel_->clear();
        return;
    }
    const int page =
        pages_->pageAt(scroll_->verticalScrollBar()->value() + scroll_->viewport()->height() / 3);
    pageLabel_->setText(QStringLiteral("%1 / %2").arg(page + 1).arg(report_.pages.size()));
}

bool TfrPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    // The zoom that fits the page follows the size of the view.
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && zoomMode_ != ZoomMode::Percent)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void TfrPreviewForm::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Print)) {
        // Reaches here when the shortcut did not take it (the window was not the active one).
        print();
        return;
    }
    QScrollBar* bar = scroll_->verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageDown:
        bar->setValue(pages_->pageTop(pages_->pageAt(bar->value()) + 1));
        return;
    case Qt::Key_PageUp: {
        const int page = pages_->pageAt(bar->value());
        bar->setValue(pages_->pageTop(bar->value() > pages_->pageTop(page) ? page : std::max(0, page - 1)));
        return;
    }
    case Qt::Key_Home:
        bar->setValue(0);
        return;
    case Qt::Key_End:
        bar->setValue(bar->maximum());
        return;
    case Qt::Key_Plus:
        setZoom(ZoomMode::Percent, std::min(400, int(pixelsPerMm() * 25.4 / logicalDpiX() * 100 + 0.5) + 25));
        return;
    case Qt::Key_Minus:
        setZoom(ZoomMode::Percent, std::max(25, int(pixelsPerMm() * 25.4 / logicalDpiX() * 100 + 0.5) - 25));
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TfrPreviewForm::print() {
    if (report_.pages.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(vardelo::defaultPrinterOrientation());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setMinMax(1, int(report_.pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (vardelo::ui().showModal(dialog) != QDialog::Accepted)
        return;
    // The pages shown were prepared for a printer margin of 5 mm: they are printed as they are (a PDF file
    // too, whose printer has no margin of its own), the same pages with the same margins. Only a printer that
    // needs more gets pages of its own, so that nothing (the page footer least of all) falls outside what it
    // can print.
    const QMarginsF shown = vardelo::report::PrepareOptions().printerMargins;
    const QMarginsF margins = vardelo::report::printMargins(shown, printer.pageLayout());
    if (printerPreparation_ && margins != shown)
        vardelo::report::printReport(printerPreparation_(margins), printer);
    else
        vardelo::report::printReport(report_, printer);
}
