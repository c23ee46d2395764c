#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The layout tree of a report, as read from a layout file (docs/report-layouts.md describes the file). All
// positions and sizes are millimetres; objects sit relative to the top left corner of their band, bands start
// at the left margin of the page.
namespace vardelo::report {

struct FontSpec {
    QString family = QStringLiteral("Arial");
    double size = 10.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontSpec&) const = default;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

// Which sides of an object's box carry a rule.
struct Frame {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    double width = 0.2; // mm

    bool any() const { return left || top || right || bottom; }
    bool operator==(const Frame&) const = default;
};

// How a text shows the values of its expressions.
enum class ValueFormat {
    General,  // numbers in their shortest form, dates as date text, texts as they are
    Fixed,    // numbers with `decimals` decimals, thousands grouped
    Shortest, // numbers in their shortest form
    Date,     // dates as date text
};

struct TextFormat {
    ValueFormat kind = ValueFormat::General;
    int decimals = 2;
    bool operator==(const TextFormat&) const = default;
};

enum class ObjectKind { Text, Line, Rect };

struct LayoutObject {
    ObjectKind kind = ObjectKind::Text;
    // Text and rectangle: the box. Line: from (x, y) to (x2, y2).
    double x = 0, y = 0, width = 0, height = 0;
    double x2 = 0, y2 = 0;
    double lineWidth = 0.2; // mm, lines and rectangles

    // Text only.
    QString text; // literal text with [expression] parts
    FontSpec font;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Top;
    bool wrap = false;
    bool stretch = false; // grows downwards (and its band with it) to hold its wrapped text
    bool shrink = false;  // a text too long for its box is printed smaller (wrapped first when wrap is set)
    Frame frame;
    TextFormat format;
    int line = 0; // line of the layout file, for messages
};

enum class BandType {
    Title,        // once, at the start of each copy, under the page header
    PageHeader,   // at the top of every page
    PageFooter,   // at the bottom of every page
    MasterHeader, // once before the master rows (again on every page when repeat is set)
    MasterData,   // once per row of its dataset
    MasterFooter, // once after the master rows
    DetailHeader, // before the detail rows of each master row
    DetailData,   // once per row of its dataset, for each master row
    DetailFooter, // after the detail rows of each master row
    GroupHeader,  // before a run of master rows whose condition has the same value
    GroupFooter,  // after such a run
    Continuation, // under the page header of a page onto which one master row's detail section runs on
    Summary,      // once, after everything else of a copy
};

struct Band {
    BandType type = BandType::MasterData;
    double height = 0;
    QString dataset;     // data bands: the report dataset that feeds them
    QString condition;   // group header: the expression whose change starts a new group
    bool repeat = false; // master and detail headers: print again at the top of every new page
    std::vector<LayoutObject> objects;
    int line = 0;
};

// One copy of the document: a set of pages that differ from the other copies only in the copy name.
struct Copy {
    QString name;
    bool view = false; // the copy a view-only report shows
};

struct Layout {
    QString title;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins; // mm
    // The printer's own margins apply where they are larger than the layout's.
    bool printerMargins = false;
    std::vector<Copy> copies; // empty: one copy without a name
    std::vector<Band> bands;

    bool isEmpty() const { return bands.empty(); }
    const Band* band(BandType type) const;
};

} // namespace vardelo::report
