#include "exchange/xls_writer.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <sys/mman.h>

namespace vardelo::xls {

namespace {

// Record numbers.
constexpr quint16 rBOF = 0x0809, rEOF = 0x000A, rCODEPAGE = 0x0042, rWINDOW1 = 0x003D, rDATEMODE = 0x0022,
                  rFONT = 0x0031, rFORMAT = 0x041E, rXF = 0x00E0, rSTYLE = 0x0293, rBOUNDSHEET = 0x0085,
                  rCOLINFO = 0x007D, rDIMENSIONS = 0x0200, rWINDOW2 = 0x023E, rLABEL = 0x0204,
                  rNUMBER = 0x0203, rBLANK = 0x0201;

constexpr int FirstCellXf = 16; // 15 style XFs and the default cell XF come first
constexpr int DefaultCellXf = 15;
constexpr int FirstCustomFormat = 164;
constexpr int BoldFont = 5; // the font index 4 does not exist in BIFF: the fifth FONT record is 5
constexpr int MinimumStreamSize = 4096;

void put8(QByteArray& out, int value) {
    out.append(char(quint8(value)));
}
void put16(QByteArray& out, int value) {
    const quint16 v = qToLittleEndian(quint16(value));
    out.append(reinterpret_cast<const char*>(&v), 2);
}
void put32(QByteArray& out, quint32 value) {
    const quint32 v = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&v), 4);
}

// The characters of a Unicode string with its option byte: one byte each when all fit, else UTF-16LE.
void putChars(QByteArray& out, const QString& text) {
    bool narrow = true;
    for (QChar c : text)
        narrow = narrow && c.unicode() < 0x100;
    put8(out, narrow ? 0 : 1);
    for (QChar c : text) {
        if (narrow)
            put8(out, c.unicode());
        else
            put16(out, c.unicode());
    }
}
// A string with a one-byte (short) or two-byte length.
void putShortString(QByteArray& out, const QString& text) {
    put8(out, int(text.size()));
    putChars(out, text);
}
void putString(QByteArray& out, const QString& text) {
    put16(out, int(text.size()));
    putChars(out, text);
}

void record(QByteArray& out, quint16 number, const QByteArray& body) {
    put16(out, number);
    put16(out, int(body.size()));
    out.append(body);
}

QByteArray bof(int kind) {
    QByteArray b;
    put16(b, 0x0600); // BIFF8
    put16(b, kind);   // 0x0005 globals, 0x0010 worksheet
    put16(b, 0x0DBB); // build
    put16(b, 0x07CC); // year
    put32(b, 0);      // file history
    put32(b, 6);      // lowest version that reads every record: Excel 97
    return b;
}

QByteArray font(bool bold) {
    QByteArray b;
    put16(b, 200);              // 10 points, in twentieths
    put16(b, bold ? 1 : 0);     // bold (again, beside the weight), no italic, strike-out, outline or shadow
    put16(b, 0x7FFF);           // the window text colour
    put16(b, bold ? 700 : 400); // weight
    put16(b, 0);                // no super- or subscript
    put8(b, 0);                 // no underline
    put8(b, 2);                 // family: swiss
    put8(b, 238);               // character set: Central European
    put8(b, 0);
    putShortString(b, QStringLiteral("Arial"));
    return b;
}

QByteArray xf(int fontIndex, int formatIndex, bool style, Align align) {
    QByteArray b;
    put16(b, fontIndex);
    put16(b, formatIndex);
    // Locked; a style XF has no parent (0xFFF), a cell XF has the Normal style (0) as its parent.
    put16(b, style ? 0xFFF5 : 0x0001);
    put8(b, 0x20 | int(align)); // vertical: bottom
    put8(b, 0);                 // no rotation
    put8(b, 0);                 // no indent
    // Which attribute groups the XF sets itself: none for a style, all for a cell.
    put8(b, style ? 0 : 0xFC);
    put32(b, 0);      // no borders
    put32(b, 0);      // no border colours, no diagonal
    put16(b, 0x20C0); // the default pattern colours
    return b;
}

} // namespace

double dateSerial(const QDate& date) {
    return double(QDate(1899, 12, 30).daysTo(date));
}

BiffWorkbook::BiffWorkbook() = default;

int BiffWorkbook::addFormat(const QString& code) {
    customFormats_.append(code);
    return FirstCustomFormat + int(customFormats_.size()) - 1;
}

int BiffWorkbook::cellFormat(const CellFormat& format) {
    for (size_t i = 0; i < formats_.size(); ++i)
        if (formats_[i] == format)
            return FirstCellXf + int(i);
    formats_.push_back(format);
    return FirstCellXf + int(formats_.size()) - 1;
}

int columnWidthUnits(double characters) {
    if (characters <= 0)
        return 0;
    const int pixels = int(std::lround(characters * DigitWidthPixels)) + ColumnPaddingPixels;
    return std::min(pixels * 256 / DigitWidthPixels, 0xFFFF);
}

double columnWidthCharacters(int units) {
    const long pixels = std::lround(double(units) * DigitWidthPixels / 256.0);
    if (pixels <= ColumnPaddingPixels)
        return 0;
    return std::round(double(pixels - ColumnPaddingPixels) / DigitWidthPixels * 100.0) / 100.0;
}

void BiffWorkbook::beginSheet(const QString& name) {
    sheets_.push_back(Sheet{name, {}, {}});
}

BiffWorkbook::Sheet& BiffWorkbook::current() {
    if (sheets_.empty())
        throw std::logic_error("BiffWorkbook: no sheet begun");
    return sheets_.back();
}

void BiffWorkbook::setColumnWidth(int first, int last, double characters) {
    QByteArray b;
    put16(b, first);
    put16(b, last);
    put16(b, columnWidthUnits(characters));
    put16(b, DefaultCellXf);
    put16(b, 0); // shown, no outline
    put16(b, 0);
    record(current().columns, rCOLINFO, b);
}

namespace {

constexpr size_t HugePageBytes = size_t(2) << 20;
constexpr size_t CellBlockBytes = HugePageBytes;

// Asks the system to back a large buffer by huge pages: writing 40 megabytes otherwise takes ten thousand
// page faults, which cost more than the writing itself.
void preferHugePages(void* start, size_t length) {
#ifdef MADV_HUGEPAGE
    const uintptr_t first = (reinterpret_cast<uintptr_t>(start) + HugePageBytes - 1) & ~(HugePageBytes - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + length) & ~(HugePageBytes - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)start;
    (void)length;
#endif
}

} // namespace

void BiffWorkbook::FreeBlock::operator()(char* bytes) const {
    std::free(bytes);
}

char* BiffWorkbook::appendCell(quint16 number, int row, int column, int xfIndex, int payloadLength) {
    if (row < 0 || row > MaxRow || column < 0 || column > MaxColumn)
        throw std::out_of_range("BiffWorkbook: cell outside the sheet");
    Sheet& s = current();
    const size_t length = 10 + size_t(payloadLength);
    if (s.cells.empty() || s.cells.back().used + length > CellBlockBytes) {
        // A sheet's first block serves a small sheet in small pages; a large sheet's further blocks in huge
        // ones.
        char* bytes = static_cast<char*>(std::aligned_alloc(HugePageBytes, CellBlockBytes));
        if (!bytes)
            throw std::bad_alloc();
        if (!s.cells.empty())
            preferHugePages(bytes, CellBlockBytes);
        s.cells.push_back({std::unique_ptr<char[], FreeBlock>(bytes), 0});
    }
    CellBlock& block = s.cells.back();
    char* record = block.bytes.get() + block.used;
    block.used += length;
    s.cellBytes += qsizetype(length);
    const quint16 header[5] = {qToLittleEndian(number), qToLittleEndian(quint16(6 + payloadLength)),
                               qToLittleEndian(quint16(row)), qToLittleEndian(quint16(column)),
                               qToLittleEndian(quint16(xfIndex))};
    std::memcpy(record, header, 10);
    if (s.firstRow < 0 || row < s.firstRow)
        s.firstRow = row;
    if (row > s.lastRow)
        s.lastRow = row;
    if (s.firstColumn < 0 || column < s.firstColumn)
        s.firstColumn = column;
    if (column > s.lastColumn)
        s.lastColumn = column;
    return record + 10;
}

void BiffWorkbook::writeText(int row, int column, QStringView text, int xfIndex) {
    const int length = int(std::min<qsizetype>(text.size(), MaxLabelLength));
    const char16_t* chars = text.utf16();
    bool narrow = true;
    for (int i = 0; i < length && narrow; ++i)
        narrow = chars[i] < 0x100;
    char* p = appendCell(rLABEL, row, column, xfIndex, 3 + (narrow ? length : 2 * length));
    *p++ = char(length & 0xFF);
    *p++ = char(length >> 8);
    *p++ = narrow ? 0 : 1;
    for (int i = 0; i < length; ++i) {
        *p++ = char(chars[i] & 0xFF);
        if (!narrow)
            *p++ = char(chars[i] >> 8);
    }
}

void BiffWorkbook::writeNumber(int row, int column, double value, int xfIndex) {
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    bits = qToLittleEndian(bits);
    std::memcpy(appendCell(rNUMBER, row, column, xfIndex, 8), &bits, 8);
}

void BiffWorkbook::writeBlank(int row, int column, int xfIndex) {
    appendCell(rBLANK, row, column, xfIndex, 0);
}

QByteArray BiffWorkbook::finish() const {
    QByteArray globals;
    record(globals, rBOF, bof(0x0005));
    {
        QByteArray b;
        put16(b, 1200); // the workbook's text is Unicode
        record(globals, rCODEPAGE, b);
    }
    {
        QByteArray b;
        put16(b, 0); // window position
        put16(b, 0);
        put16(b, 0x4000); // window size
        put16(b, 0x2800);
        put16(b, 0x0038); // scroll bars and sheet tabs shown
        put16(b, 0);      // the first sheet is active
        put16(b, 0);
        put16(b, 1); // one sheet selected
        put16(b, 0x0258);
        record(globals, rWINDOW1, b);
    }
    {
        QByteArray b;
        put16(b, 0); // the 1900 date system
        record(globals, rDATEMODE, b);
    }
    for (int i = 0; i < 4; ++i)
        record(globals, rFONT, font(false));
    record(globals, rFONT, font(true));
    for (int i = 0; i < customFormats_.size(); ++i) {
        QByteArray b;
        put16(b, FirstCustomFormat + i);
        putString(b, customFormats_[i]);
        record(globals, rFORMAT, b);
    }
    for (int i = 0; i < 15; ++i)
        record(globals, rXF, xf(0, 0, true, Align::General));
    record(globals, rXF, xf(0, 0, false, Align::General));
    for (const CellFormat& f : formats_)
        record(globals, rXF, xf(f.bold ? BoldFont : 0, f.numberFormat, false, f.align));
    {
        QByteArray b;
        put16(b, 0x8000); // built-in style of XF 0: Normal
        put8(b, 0);
        put8(b, 0xFF);
        record(globals, rSTYLE, b);
    }

    // The sheets' places in the stream follow from the globals' length, BOUNDSHEET records included. Each
    // sheet's records around its cells are made first, so the cells are copied once, into the stream.
    struct SheetParts {
        QByteArray head; // BOF, COLINFO, DIMENSIONS
        QByteArray tail; // WINDOW2, EOF
    };
    std::vector<SheetParts> parts;
    for (size_t i = 0; i < sheets_.size(); ++i) {
        const Sheet& s = sheets_[i];
        SheetParts p;
        record(p.head, rBOF, bof(0x0010));
        p.head.append(s.columns);
        {
            QByteArray b;
            const bool empty = s.lastRow < 0;
            put32(b, empty ? 0 : quint32(s.firstRow));
            put32(b, empty ? 0 : quint32(s.lastRow + 1));
            put16(b, empty ? 0 : s.firstColumn);
            put16(b, empty ? 0 : s.lastColumn + 1);
            put16(b, 0);
            record(p.head, rDIMENSIONS, b);
        }
        {
            QByteArray b;
            // Grid lines, headers, zeros, default header colour, outline symbols; the first sheet selected.
            put16(b, i == 0 ? 0x06B6 : 0x00B6);
            put16(b, 0);
            put16(b, 0);
            put16(b, 64);
            put16(b, 0);
            put16(b, 0);
            put16(b, 0);
            put32(b, 0);
            record(p.tail, rWINDOW2, b);
        }
        record(p.tail, rEOF, {});
        parts.push_back(std::move(p));
    }
    QList<QByteArray> boundSheets;
    qint64 offset = globals.size() + 4; // the EOF of the globals
    for (const Sheet& s : sheets_) {
        QByteArray b;
        put32(b, 0);
        put8(b, 0); // visible
        put8(b, 0); // worksheet
        putShortString(b, s.name);
        offset += 4 + b.size();
        boundSheets.append(b);
    }
    qint64 total = offset;
    for (size_t i = 0; i < sheets_.size(); ++i)
        total += parts[i].head.size() + sheets_[i].cellBytes + parts[i].tail.size();
    QByteArray out;
    out.reserve(std::max<qsizetype>(total, MinimumStreamSize));
    preferHugePages(out.data(), size_t(out.capacity()));
    out.append(globals);
    for (size_t i = 0; i < sheets_.size(); ++i) {
        QByteArray b = boundSheets[qsizetype(i)];
        const quint32 position = qToLittleEndian(quint32(offset));
        std::memcpy(b.data(), &position, 4);
        record(out, rBOUNDSHEET, b);
        offset += parts[i].head.size() + sheets_[i].cellBytes + parts[i].tail.size();
    }
    record(out, rEOF, {});
    for (size_t i = 0; i < sheets_.size(); ++i) {
        out.append(parts[i].head);
        for (const CellBlock& block : sheets_[i].cells)
            out.append(block.bytes.get(), qsizetype(block.used));
        out.append(parts[i].tail);
    }
    if (out.size() < MinimumStreamSize)
        out.append(QByteArray(MinimumStreamSize - out.size(), '\0'));
    return out;
}

} // namespace vardelo::xls
