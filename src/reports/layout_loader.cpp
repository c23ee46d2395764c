#include "reports/layout_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSizeF>
#include <QXmlStreamReader>
#include <optional>

namespace vardelo::report {

const Band* Layout::band(BandType type) const {
    for (const Band& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

namespace {

const QString kFormatName = QStringLiteral("vardelo-frf");
constexpr int kFormatVersion = 1;

struct LoadFault {
    QString message;
    qint64 line;
    qint64 column;
};

class Reader {
public:
    explicit Reader(const QByteArray& data) : xml_(data) {}

    LayoutLoadResult read();

private:
    [[noreturn]] void fail(const QString& message) const {
        throw LoadFault{message, xml_.lineNumber(), xml_.columnNumber()};
    }

    // Attributes of the current element, each to be taken once; leftovers are faults (typing errors in a
    // layout should not pass unnoticed).
    void beginAttributes(const QSet<QString>& allowed);
    QString text(const QString& name, const QString& fallback = QString());
    double number(const QString& name, std::optional<double> fallback = std::nullopt);
    bool flag(const QString& name, bool fallback);

    void readPage(Layout& layout);
    void readFont(FontSpec& font);
    void readCopies(Layout& layout);
    void readBand(Layout& layout);
    LayoutObject readObject();
    void readFontAttributes(FontSpec& font);
    Frame parseFrame(const QString& value);
    TextFormat parseFormat(const QString& value);
    void skipToEnd(); // the current element must be empty

    QXmlStreamReader xml_;
    QXmlStreamAttributes attributes_;
    FontSpec defaultFont_;
};

void Reader::beginAttributes(const QSet<QString>& allowed) {
    attributes_ = xml_.attributes();
    for (const QXmlStreamAttribute& a : std::as_const(attributes_))
        if (!allowed.contains(a.name().toString()))
            fail(QStringLiteral("Ismeretlen jellemző: %1 (<%2>)").arg(a.name(), xml_.name()));
}

QString Reader::text(const QString& name, const QString& fallback) {
    return attributes_.hasAttribute(name) ? attributes_.value(name).toString() : fallback;
}

double Reader::number(const QString& name, std::optional<double> fallback) {
    if (!attributes_.hasAttribute(name)) {
        if (!fallback)
            fail(QStringLiteral("Hiányzó jellemző: %1 (<%2>)").arg(name, xml_.name()));
        return *fallback;
    }
    bool ok = false;
    const double value = attributes_.value(name).toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("Nem szám: %1=\"%2\"").arg(name, attributes_.value(name)));
    return value;
}

bool Reader::flag(const QString& name, bool fallback) {
    if (!attributes_.hasAttribute(name))
        return fallback;
    const QString v = attributes_.value(name).toString().toLower();
    if (v == u"yes" || v == u"true" || v == u"1")
        return true;
    if (v == u"no" || v == u"false" || v == u"0")
        return false;
    fail(QStringLiteral("Nem igen/nem érték: %1=\"%2\"").arg(name, v));
}

void Reader::skipToEnd() {
    while (xml_.readNext() != QXmlStreamReader::EndElement) {
        if (xml_.hasError())
            return;
        if (xml_.isStartElement())
            fail(QStringLiteral("Váratlan elem: <%1>").arg(xml_.name()));
        if (xml_.isCharacters() && !xml_.isWhitespace())
            fail(QStringLiteral("Váratlan szöveg"));
    }
}

void Reader::readPage(Layout& layout) {
    beginAttributes({"size", "width", "height", "orientation", "margins", "printer-margins"});
    if (attributes_.hasAttribute(QStringLiteral("width")) ||
        attributes_.hasAttribute(QStringLiteral("height"))) {
        layout.pageSize = QPageSize(QSizeF(number("width"), number("height")), QPageSize::Millimeter);
    } else {
        const QString size = text("size", "A4").toUpper();
        static const QHash<QString, QPageSize::PageSizeId> sizes{{"A4", QPageSize::A4},
                                                                 {"A5", QPageSize::A5},
                                                                 {"A3", QPageSize::A3},
                                                                 {"LETTER", QPageSize::Letter}};
        if (!sizes.contains(size))
            fail(QStringLiteral("Ismeretlen lapméret: %1").arg(size));
        layout.pageSize = QPageSize(sizes.value(size));
    }
    const QString orientation = text("orientation", "portrait");
    if (orientation == u"portrait")
        layout.orientation = QPageLayout::Portrait;
    else if (orientation == u"landscape")
        layout.orientation = QPageLayout::Landscape;
    else
        fail(QStringLiteral("Ismeretlen tájolás: %1").arg(orientation));
    const QStringList margins = text("margins", "0 0 0 0").split(u' ', Qt::SkipEmptyParts);
    if (margins.size() != 4)
        fail(QStringLiteral("A margins négy szám: bal, felső, jobb, alsó"));
    double m[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        m[i] = margins[i].toDouble(&ok);
        if (!ok || m[i] < 0)
            fail(QStringLiteral("Hibás margó: %1").arg(margins[i]));
    }
    layout.margins = QMarginsF(m[0], m[1], m[2], m[3]);
    layout.printerMargins = flag("printer-margins", false);
    skipToEnd();
}

void Reader::readFontAttributes(FontSpec& font) {
    font.family = text("font", font.family);
    font.size = number("size", font.size);
    if (font.size <= 0)
        fail(QStringLiteral("Hibás betűméret"));
    font.bold = flag("bold", font.bold);
    font.italic = flag("italic", font.italic);
    font.underline = flag("underline", font.underline);
}

void Reader::readFont(FontSpec& font) {
    beginAttributes({"font", "size", "bold", "italic", "underline"});
    readFontAttributes(font);
    skipToEnd();
}

void Reader::readCopies(Layout& layout) {
    beginAttributes({});
    while (xml_.readNextStartElement()) {
        if (xml_.name() != u"copy")
            fail(QStringLiteral("Váratlan elem: <%1>").arg(xml_.name()));
        beginAttributes({"name", "view"});
        Copy copy;
        copy.name = text("name");
        copy.view = flag("view", false);
        layout.copies.push_back(copy);
        skipToEnd();
    }
    if (layout.copies.empty())
        fail(QStringLiteral("A <copies> elemben nincs <copy>"));
}

Frame Reader::parseFrame(const QString& value) {
    Frame frame;
    for (const QString& side : value.split(u' ', Qt::SkipEmptyParts)) {
        if (side == u"all")
            frame.left = frame.top = frame.right = frame.bottom = true;
        else if (side == u"left")
            frame.left = true;
        else if (side == u"top")
            frame.top = true;
        else if (side == u"right")
            frame.right = true;
        else if (side == u"bottom")
            frame.bottom = true;
        else if (side != u"none")
            fail(QStringLiteral("Ismeretlen keretoldal: %1").arg(side));
    }
    return frame;
}

TextFormat Reader::parseFormat(const QString& value) {
    TextFormat format;
    if (value.isEmpty())
        return format;
    if (value == u"g") {
        format.kind = ValueFormat::Shortest;
    } else if (value == u"d") {
        format.kind = ValueFormat::Date;
    } else if (value.size() == 2 && value[0] == u'n' && value[1].isDigit()) {
        format.kind = ValueFormat::Fixed;
        format.decimals = value[1].digitValue();
    } else {
        fail(QStringLiteral("Ismeretlen formátum: %1").arg(value));
    }
    return format;
}

LayoutObject Reader::readObject() {
    LayoutObject object;
    object.line = int(xml_.lineNumber());
    const auto name = xml_.name();
    if (name == u"text") {
        object.kind = ObjectKind::Text;
        beginAttributes({"x", "y", "width", "height", "align", "valign", "wrap", "stretch", "shrink", "frame",
                         "frame-width", "format", "font", "size", "bold", "italic", "underline"});
        object.x = number("x");
        object.y = number("y");
        object.width = number("width");
        object.height = number("height");
        const QString align = text("align", "left");
        if (align == u"left")
            object.align = HAlign::Left;
        else if (align == u"center")
            object.align = HAlign::Center;
        else if (align == u"right")
            object.align = HAlign::Right;
        else
            fail(QStringLiteral("Ismeretlen igazítás: %1").arg(align));
        const QString valign = text("valign", "top");
        if (valign == u"top")
            object.valign = VAlign::Top;
        else if (valign == u"center")
            object.valign = VAlign::Center;
        else if (valign == u"bottom")
            object.valign = VAlign::Bottom;
        else
            fail(QStringLiteral("Ismeretlen függőleges igazítás: %1").arg(valign));
        object.stretch = flag("stretch", false);
        object.wrap = flag("wrap", object.stretch);
        object.shrink = flag("shrink", false);
        object.frame = parseFrame(text("frame"));
        object.frame.width = number("frame-width", 0.2);
        object.format = parseFormat(text("format"));
        object.font = defaultFont_;
        readFontAttributes(object.font);
        // The text is taken exactly, blanks included.
        object.text = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml_.hasError())
            fail(xml_.errorString());
    } else if (name == u"line") {
        object.kind = ObjectKind::Line;
        beginAttributes({"x1", "y1", "x2", "y2", "width"});
        object.x = number("x1");
        object.y = number("y1");
        object.x2 = number("x2");
        object.y2 = number("y2");
        object.lineWidth = number("width", 0.2);
        skipToEnd();
    } else if (name == u"rect") {
        object.kind = ObjectKind::Rect;
        beginAttributes({"x", "y", "width", "height", "line-width"});
        object.x = number("x");
        object.y = number("y");
        object.width = number("width");
        object.height = number("height");
        object.lineWidth = number("line-width", 0.2);
        skipToEnd();
    } else {
        fail(QStringLiteral("Ismeretlen objektum: <%1>").arg(name));
    }
    if (object.width < 0 || object.height < 0)
        fail(QStringLiteral("Negatív méret"));
    return object;
}

void Reader::readBand(Layout& layout) {
    static const QHash<QString, BandType> types{
        {"title", BandType::Title},
        {"page-header", BandType::PageHeader},
        {"page-footer", BandType::PageFooter},
        {"master-header", BandType::MasterHeader},
        {"master-data", BandType::MasterData},
        {"master-footer", BandType::MasterFooter},
        {"detail-header", BandType::DetailHeader},
        {"detail-data", BandType::DetailData},
        {"detail-footer", BandType::DetailFooter},
        {"group-header", BandType::GroupHeader},
        {"group-footer", BandType::GroupFooter},
        {"continuation", BandType::Continuation},
        {"summary", BandType::Summary},
    };
    Band band;
    band.line = int(xml_.lineNumber());
    beginAttributes({"type", "height", "dataset", "condition", "repeat"});
    const QString type = text("type");
    if (!types.contains(type))
        fail(QStringLiteral("Ismeretlen sávtípus: \"%1\"").arg(type));
    band.type = types.value(type);
    band.height = number("height");
    if (band.height < 0)
        fail(QStringLiteral("Negatív sávmagasság"));
    band.dataset = text("dataset");
    band.condition = text("condition");
    band.repeat = flag("repeat", false);
    const bool dataBand = band.type == BandType::MasterData || band.type == BandType::DetailData;
    if (dataBand && band.dataset.isEmpty())
        fail(QStringLiteral("Az adatsávnak nincs adatforrása (dataset)"));
    if (!dataBand && !band.dataset.isEmpty())
        fail(QStringLiteral("Csak adatsávnak lehet adatforrása"));
    if (band.type == BandType::GroupHeader && band.condition.isEmpty())
        fail(QStringLiteral("A csoportfejnek nincs feltétele (condition)"));
    if (layout.band(band.type))
        fail(QStringLiteral("Kétszer szereplő sávtípus: %1").arg(type));
    while (xml_.readNextStartElement())
        band.objects.push_back(readObject());
    if (xml_.hasError())
        return;
    layout.bands.push_back(std::move(band));
}

LayoutLoadResult Reader::read() {
    LayoutLoadResult result;
    // The first element tells whether this is a layout file of this program at all.
    if (!xml_.readNextStartElement() || xml_.name() != u"report" ||
        xml_.attributes().value(QStringLiteral("format")) != kFormatName) {
        result.status = LayoutLoadResult::UnsupportedFormat;
        result.message = QStringLiteral("Unsupported FRF format");
        return result;
    }
    bool versionOk = false;
    const int version = xml_.attributes().value(QStringLiteral("version")).toInt(&versionOk);
    if (!versionOk || version < 1 || version > kFormatVersion) {
        result.status = LayoutLoadResult::UnsupportedFormat;
        result.message = QStringLiteral("Unsupported FRF format");
        return result;
    }
    try {
        Layout& layout = result.layout;
        beginAttributes({"format", "version", "title"});
        layout.title = text("title");
        while (xml_.readNextStartElement()) {
            const auto name = xml_.name();
            if (name == u"page")
                readPage(layout);
            else if (name == u"font")
                readFont(defaultFont_);
            else if (name == u"copies")
                readCopies(layout);
            else if (name == u"band")
                readBand(layout);
            else
                fail(QStringLiteral("Ismeretlen elem: <%1>").arg(name));
        }
        if (!xml_.hasError()) {
            while (!xml_.atEnd())
                xml_.readNext();
        }
        if (xml_.hasError() && xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            fail(xml_.errorString());
        if (xml_.hasError())
            fail(QStringLiteral("A fájl vége előtt bezáratlan elem"));
        const bool detail = layout.band(BandType::DetailData) != nullptr;
        if (detail && !layout.band(BandType::MasterData))
            throw LoadFault{QStringLiteral("Részletsáv mestersáv nélkül"), 0, 0};
        if (layout.band(BandType::GroupHeader) && !layout.band(BandType::MasterData))
            throw LoadFault{QStringLiteral("Csoportsáv mestersáv nélkül"), 0, 0};
        if (layout.band(BandType::Continuation) && !layout.band(BandType::MasterData))
            throw LoadFault{QStringLiteral("Folytatássáv mestersáv nélkül"), 0, 0};
    } catch (const LoadFault& fault) {
        result.status = LayoutLoadResult::Invalid;
        result.message = fault.message;
        result.line = int(fault.line);
        result.column = int(fault.column);
        result.layout = Layout();
    }
    return result;
}

} // namespace

LayoutLoadResult parseLayout(const QByteArray& data) {
    Reader reader(data);
    return reader.read();
}

LayoutLoadResult loadLayoutFile(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        LayoutLoadResult result;
        result.status = LayoutLoadResult::CannotOpen;
        result.message = QStringLiteral("Cannot open file %1").arg(path);
        return result;
    }
    return parseLayout(file.readAll());
}

} // namespace vardelo::report
