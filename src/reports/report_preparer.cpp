#include "reports/report_preparer.h"

#include "data/text_formats.h"
#include "reports/report_error.h"
#include "reports/report_expression.h"
#include "reports/report_variables.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

namespace vardelo::report {

QSizeF PreparedPage::paperSize() const {
    const QSizeF size = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QStringList PreparedPage::texts() const {
    QStringList list;
    for (const PreparedItem& item : items)
        if (item.kind == ObjectKind::Text)
            list << item.text;
    return list;
}

const PreparedItem* PreparedPage::findText(const QString& text) const {
    for (const PreparedItem& item : items)
        if (item.kind == ObjectKind::Text && item.text == text)
            return &item;
    return nullptr;
}

QFont reportFont(const FontSpec& fontSpec) {
    static const bool substituted = [] {
        // Layouts name Arial; Liberation Sans has the same metrics where Arial itself is not installed.
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)substituted;
    QFont font(fontSpec.family);
    font.setPointSizeF(fontSpec.size);
    font.setBold(fontSpec.bold);
    font.setItalic(fontSpec.italic);
    font.setUnderline(fontSpec.underline);
    font.setKerning(false);
    return font;
}

namespace {

const QString kTotalPagesMarker = QStringLiteral(u"\uE000TOTALPAGES\uE000");
constexpr int kMaxRows = 1000000; // a walk that never ends is a fault of its source
constexpr double kMeasureDpi = 1200.0;

// Height in millimetres that a wrapped text needs in a given width.
double wrappedHeight(const FontSpec& fontSpec, double widthMm, const QString& text) {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(kMeasureDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    const QFontMetricsF metrics(reportFont(fontSpec), &device);
    const double pxPerMm = kMeasureDpi / 25.4;
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, widthMm * pxPerMm, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text);
    return bounds.height() / pxPerMm;
}

// Fonts are measured on a device of the measuring resolution; each size's metrics are kept for the next text.
const QFontMetricsF& measuringMetrics(const FontSpec& fontSpec) {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(kMeasureDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    static std::map<std::tuple<QString, double, bool, bool, bool>, QFontMetricsF> cache;
    const auto key =
        std::make_tuple(fontSpec.family, fontSpec.size, fontSpec.bold, fontSpec.italic, fontSpec.underline);
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.emplace(key, QFontMetricsF(reportFont(fontSpec), &device)).first;
    return found->second;
}

// Painting devices round glyph positions their own way: a text counts as fitting only with a little room
// left.
constexpr double kFitSlack = 0.97;

// The characters numbers are written with.
const QString kNumberCharacters = QStringLiteral("0123456789 ,.-+\u00A0\u202F");

bool onlyNumberCharacters(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return kNumberCharacters.contains(c); });
}

// The widest of those characters in a font: a number of n characters is at most n times as wide, which
// settles most numbers of a report without laying their text out.
double widestNumberCharacter(const FontSpec& fontSpec) {
    static std::map<std::tuple<QString, double, bool, bool, bool>, double> cache;
    const auto key =
        std::make_tuple(fontSpec.family, fontSpec.size, fontSpec.bold, fontSpec.italic, fontSpec.underline);
    auto found = cache.find(key);
    if (found == cache.end()) {
        const QFontMetricsF& metrics = measuringMetrics(fontSpec);
        double widest = 0;
        for (const QChar c : kNumberCharacters)
            widest = std::max(widest, metrics.horizontalAdvance(c));
        found = cache.emplace(key, widest).first;
    }
    return found->second;
}

bool textFits(const FontSpec& fontSpec, QSizeF box, const QString& text, bool wrap) {
    const QFontMetricsF& metrics = measuringMetrics(fontSpec);
    const double pxPerMm = kMeasureDpi / 25.4;
    const double width = box.width() * pxPerMm * kFitSlack;
    const double height = box.height() * pxPerMm;
    if (onlyNumberCharacters(text) && double(text.size()) * widestNumberCharacter(fontSpec) <= width)
        return true;
    // On one line only the width counts: a box a little lower than its font has always printed whole.
    if (metrics.horizontalAdvance(text) <= width)
        return true;
    if (!wrap)
        return false;
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text);
    return bounds.width() <= width && bounds.height() <= height;
}

} // namespace

double fittingFontSize(const FontSpec& font, QSizeF box, const QString& text, bool wrap) {
    if (box.width() <= 0 || box.height() <= 0)
        return 0;
    FontSpec trial = font;
    const double smallest = font.size * kSmallestShrink;
    // Tenth-point steps: fine enough that a shrunk text fills its box.
    for (double size = font.size; size >= smallest - 1e-9; size = std::round(size * 10 - 1) / 10) {
        trial.size = size;
        if (textFits(trial, box, text, wrap))
            return size;
    }
    return 0;
}

bool isNumberText(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*-?\\d[\\d \\x{00A0}\\x{202F}]*(,\\d+)?\\s*$"));
    return number.match(text).hasMatch();
}

namespace {

class Preparer : public ValueResolver {
public:
    Preparer(const Layout& layout, DataEnvironment& data, const PrepareOptions& options)
        : layout_(layout), data_(data), options_(options) {
        for (const Band& band : layout_.bands) {
            std::vector<std::optional<TextTemplate>> templates;
            for (const LayoutObject& object : band.objects) {
                if (object.kind == ObjectKind::Text)
                    templates.emplace_back(TextTemplate(object.text));
                else
                    templates.emplace_back(std::nullopt);
            }
            templates_[&band] = std::move(templates);
            if (!band.condition.isEmpty())
                conditions_.emplace(&band, Expression(band.condition));
        }
        margins_ = layout_.margins;
        if (layout_.printerMargins) {
            margins_.setLeft(std::max(margins_.left(), options_.printerMargins.left()));
            margins_.setTop(std::max(margins_.top(), options_.printerMargins.top()));
            margins_.setRight(std::max(margins_.right(), options_.printerMargins.right()));
            margins_.setBottom(std::max(margins_.bottom(), options_.printerMargins.bottom()));
        }
        QPageLayout pageLayout(layout_.pageSize, layout_.orientation, QMarginsF());
        paper_ = pageLayout.fullRect(QPageLayout::Millimeter).size();
    }

    PreparedReport run() {
        report_.title = layout_.title;
        std::vector<Copy> copies = layout_.copies;
        if (copies.empty())
            copies.push_back(Copy());
        if (options_.viewCopyOnly) {
            auto view = std::find_if(copies.begin(), copies.end(), [](const Copy& c) { return c.view; });
            copies = {view != copies.end() ? *view : copies.front()};
        }
        for (const Copy& copy : copies)
            runCopy(copy);
        return std::move(report_);
    }

    QVariant variable(const QString& name) override {
        const QString upper = name.toUpper();
        if (upper == u"PAGE#")
            return pageNumber_;
        if (upper == u"TOTALPAGES")
            return kTotalPagesMarker;
        if (upper == u"LINE#")
            return line_;
        if (upper == u"DATE")
            return options_.today;
        if (upper == u"COPYNAME")
            return copyName_;
        return report::variable(name);
    }

    QVariant field(const QString& component, const QString& field) override {
        return data_.field(component, field);
    }

private:
    struct PlacedBand {
        std::vector<PreparedItem> items;
        double height = 0;
    };

    void runCopy(const Copy& copy) {
        copyName_ = copy.name;
        pageNumber_ = 0;
        firstPageOfCopy_ = int(report_.pages.size());
        inMaster_ = inDetail_ = inGroup_ = false;
        newPage();
        printBand(layout_.band(BandType::Title));
        runMaster();
        printBand(layout_.band(BandType::Summary));
        finishPage();
        const QString total = QString::number(pageNumber_);
        for (int i = firstPageOfCopy_; i < int(report_.pages.size()); ++i)
            for (PreparedItem& item : report_.pages[i].items)
                item.text.replace(kTotalPagesMarker, total);
    }

    BandSource& source(const Band& band) {
        BandSource* source = data_.bandSource(band.dataset);
        if (!source)
            throw EReportError(QStringLiteral("Ismeretlen adatforrás a jelentésben: %1").arg(band.dataset));
        return *source;
    }

    void runMaster() {
        const Band* master = layout_.band(BandType::MasterData);
        const Band* masterHeader = layout_.band(BandType::MasterHeader);
        const Band* masterFooter = layout_.band(BandType::MasterFooter);
        if (!master) {
            printBand(masterHeader);
            printBand(masterFooter);
            return;
        }
        const Band* groupHeader = layout_.band(BandType::GroupHeader);
        const Band* groupFooter = layout_.band(BandType::GroupFooter);
        BandSource& rows = source(*master);
        line_ = 0; // the master footer's LINE# is the number of master rows
        printBand(masterHeader);
        inMaster_ = true;
        rows.first();
        int count = 0;
        QVariant groupValue;
        // The footer of a group shows the group's last row: it is evaluated before the walk moves on, and
        // printed when the next row starts another group or the walk ends.
        std::optional<PlacedBand> pendingFooter;
        while (!rows.eof()) {
            if (++count > kMaxRows)
                throw EReportError(
                    QStringLiteral("Túl sok sor a jelentés adatforrásában: %1").arg(master->dataset));
            if (groupHeader) {
                const QVariant value = conditions_.at(groupHeader).evaluate(*this);
                if (count == 1 || value != groupValue) {
                    if (pendingFooter)
                        printPlaced(*pendingFooter);
                    printBand(groupHeader);
                    groupValue = value;
                }
            }
            line_ = count;
            masterLine_ = count;
            if (!keepsWithItsDetail(evaluate(*master))) {
                finishPage();
                newPage();
            }
            line_ = count;
            printBand(master);
            inGroup_ = true;
            runDetail();
            inGroup_ = false;
            line_ = count;
            if (groupFooter)
                pendingFooter = evaluate(*groupFooter);
            rows.next();
        }
        if (groupHeader && pendingFooter)
            printPlaced(*pendingFooter);
        inMaster_ = false;
        printBand(masterFooter);
    }

    void runDetail() {
        const Band* detail = layout_.band(BandType::DetailData);
        if (!detail)
            return;
        BandSource& rows = source(*detail);
        rows.first();
        if (rows.eof())
            return;
        printBand(layout_.band(BandType::DetailHeader));
        inDetail_ = true;
        int count = 0;
        while (!rows.eof()) {
            if (++count > kMaxRows)
                throw EReportError(
                    QStringLiteral("Túl sok sor a jelentés adatforrásában: %1").arg(detail->dataset));
            line_ = count;
            printBand(detail);
            rows.next();
        }
        inDetail_ = false;
        printBand(layout_.band(BandType::DetailFooter));
    }

    // Whether a master row may stand where the page has got to: with room for its detail header and first
    // detail row under it, or without detail rows at all. A heading alone at the foot of a page would leave
    // its lines on the next page without it. The detail rows are asked for only when room is short.
    bool keepsWithItsDetail(const PlacedBand& master) {
        const Band* detail = layout_.band(BandType::DetailData);
        if (bodyEmpty_ || !detail)
            return true;
        const Band* header = layout_.band(BandType::DetailHeader);
        const double needed = master.height + (header ? header->height : 0.0) + detail->height;
        if (y_ + needed <= bodyBottom() + 1e-6)
            return true;
        BandSource& rows = source(*detail);
        rows.first();
        return rows.eof();
    }

    double bodyBottom() const {
        const Band* footer = layout_.band(BandType::PageFooter);
        return paper_.height() - margins_.bottom() - (footer ? footer->height : 0.0);
    }

    void newPage() {
        PreparedPage page;
        page.pageSize = layout_.pageSize;
        page.orientation = layout_.orientation;
        page.copyName = copyName_;
        page.pageNumber = ++pageNumber_;
        report_.pages.push_back(std::move(page));
        y_ = margins_.top();
        bodyEmpty_ = true;
        if (const Band* header = layout_.band(BandType::PageHeader)) {
            PlacedBand placed = evaluate(*header);
            place(placed, y_);
            y_ += placed.height;
        }
        bodyEmpty_ = true;
        if (inMaster_) {
            const Band* masterHeader = layout_.band(BandType::MasterHeader);
            if (masterHeader && masterHeader->repeat)
                printBand(masterHeader);
        }
        // A master row's detail section that runs on: its heading again, so the page says whose lines it
        // holds.
        if (inGroup_) {
            if (const Band* continuation = layout_.band(BandType::Continuation)) {
                const int line = line_;
                line_ = masterLine_;
                printBand(continuation);
                line_ = line;
            }
        }
        if (inDetail_) {
            const Band* detailHeader = layout_.band(BandType::DetailHeader);
            if (detailHeader && detailHeader->repeat)
                printBand(detailHeader);
        }
        bodyEmpty_ = true;
    }

    void finishPage() {
        if (const Band* footer = layout_.band(BandType::PageFooter)) {
            PlacedBand placed = evaluate(*footer);
            place(placed, bodyBottom());
        }
    }

    void printBand(const Band* band) {
        if (!band)
            return;
        PlacedBand placed = evaluate(*band);
        // A band that does not fit moves to the next page, unless the page has nothing else yet (a band
        // taller than the page would never fit). It is evaluated again there, for the page number.
        if (!fits(placed)) {
            finishPage();
            newPage();
            placed = evaluate(*band);
        }
        place(placed, y_);
        y_ += placed.height;
        bodyEmpty_ = false;
    }

    // Prints a band evaluated earlier, as it is.
    void printPlaced(PlacedBand placed) {
        if (!fits(placed)) {
            finishPage();
            newPage();
        }
        place(placed, y_);
        y_ += placed.height;
        bodyEmpty_ = false;
    }

    bool fits(const PlacedBand& placed) const {
        return bodyEmpty_ || y_ + placed.height <= bodyBottom() + 1e-6;
    }

    PlacedBand evaluate(const Band& band) {
        PlacedBand placed;
        placed.height = band.height;
        const auto& templates = templates_.at(&band);
        for (size_t i = 0; i < band.objects.size(); ++i) {
            const LayoutObject& object = band.objects[i];
            PreparedItem item;
            item.kind = object.kind;
            item.lineWidth = object.lineWidth;
            const double left = margins_.left();
            switch (object.kind) {
            case ObjectKind::Line:
                item.line = QLineF(left + object.x, object.y, left + object.x2, object.y2);
                break;
            case ObjectKind::Rect:
                item.rect = QRectF(left + object.x, object.y, object.width, object.height);
                break;
            case ObjectKind::Text: {
                item.text = templates[i]->evaluate(*this, object.format);
                item.font = object.font;
                item.align = object.align;
                item.valign = object.valign;
                item.wrap = object.wrap;
                item.frame = object.frame;
                double height = object.height;
                if (object.stretch)
                    height = std::max(
                        height, wrappedHeight(object.font, object.width - 2 * kTextPadding, item.text) + 0.5);
                else
                    fitText(object, height, item);
                item.rect = QRectF(left + object.x, object.y, object.width, height);
                placed.height = std::max(placed.height, object.y + height);
                break;
            }
            }
            placed.items.push_back(std::move(item));
        }
        return placed;
    }

    // A number is never cut: it is printed smaller, or as "###" when even the smallest size is too wide. A
    // text marked shrink is printed smaller (or wrapped, when it may be) until it fits.
    static void fitText(const LayoutObject& object, double height, PreparedItem& item) {
        const bool number = isNumberText(item.text);
        if (!number && !object.shrink)
            return;
        const QSizeF box(object.width - 2 * kTextPadding, height);
        const double size = fittingFontSize(object.font, box, item.text, object.wrap && !number);
        if (size > 0) {
            item.font.size = size;
        } else if (number) {
            item.text = kNumberDoesNotFit;
        } else {
            item.font.size = object.font.size * kSmallestShrink;
            item.wrap = object.wrap;
        }
    }

    void place(PlacedBand& placed, double top) {
        PreparedPage& page = report_.pages.back();
        for (PreparedItem& item : placed.items) {
            item.rect.translate(0, top);
            item.line.translate(0, top);
            page.items.push_back(std::move(item));
        }
        placed.items.clear();
    }

    const Layout& layout_;
    DataEnvironment& data_;
    PrepareOptions options_;
    std::map<const Band*, std::vector<std::optional<TextTemplate>>> templates_;
    std::map<const Band*, Expression> conditions_;
    QMarginsF margins_;
    QSizeF paper_;
    PreparedReport report_;
    QString copyName_;
    int pageNumber_ = 0;
    int firstPageOfCopy_ = 0;
    int line_ = 0;
    double y_ = 0;
    bool bodyEmpty_ = true;
    bool inMaster_ = false;
    bool inDetail_ = false;
    bool inGroup_ = false; // between a master row and the end of its detail section
    int masterLine_ = 0;   // LINE# of the current master row
};

} // namespace

PreparedReport prepareReport(const Layout& layout, DataEnvironment& data, const PrepareOptions& options) {
    Preparer preparer(layout, data, options);
    return preparer.run();
}

} // namespace vardelo::report
