#include "weighing/scale_frame_splitter.h"

namespace vardelo::weighing {

namespace {

constexpr char Stx = 0x02;
constexpr char Cr = 0x0D;
constexpr char Lf = 0x0A;
constexpr qsizetype ToledoFrameLength = 17; // STX, three status bytes, 6 + 6 digits, CR

// A 7-bit line read with 8 data bits carries its parity in the top bit.
char low7(char byte) {
    return char(byte & 0x7F);
}

} // namespace

void ScaleFrameSplitter::append(QByteArrayView bytes) {
    buffer_.append(bytes);
}

std::optional<QByteArray> ScaleFrameSplitter::takeFrame() {
    return format_ == ScaleFormat::Toledo ? takeToledoFrame(false) : takeLine();
}

std::optional<QByteArray> ScaleFrameSplitter::takeHeldFrame() {
    return format_ == ScaleFormat::Toledo ? takeToledoFrame(true) : std::nullopt;
}

std::optional<QByteArray> ScaleFrameSplitter::takeLine() {
    for (;;) {
        qsizetype end = 0;
        while (end < buffer_.size() && buffer_[end] != Cr && buffer_[end] != Lf)
            ++end;
        if (end == buffer_.size()) {
            if (buffer_.size() > MaxFrameLength)
                buffer_.clear();
            return std::nullopt;
        }
        QByteArray line = buffer_.left(end);
        buffer_.remove(0, end + 1);
        if (!line.trimmed().isEmpty() && line.size() <= MaxFrameLength)
            return line;
    }
}

std::optional<QByteArray> ScaleFrameSplitter::takeToledoFrame(bool paused) {
    for (;;) {
        qsizetype start = 0;
        while (start < buffer_.size() && low7(buffer_[start]) != Stx)
            ++start;
        buffer_.remove(0, start);
        if (buffer_.size() < ToledoFrameLength)
            return std::nullopt;
        if (low7(buffer_[ToledoFrameLength - 1]) != Cr) {
            // Not a frame: look for the next STX.
            buffer_.remove(0, 1);
            continue;
        }
        qsizetype length = ToledoFrameLength;
        if (buffer_.size() > ToledoFrameLength) {
            // The byte after the CR is the checksum unless the next frame begins there.
            if (low7(buffer_[ToledoFrameLength]) != Stx)
                ++length;
        } else if (!paused) {
            return std::nullopt;
        }
        QByteArray frame = buffer_.left(length);
        buffer_.remove(0, length);
        return frame;
    }
}

} // namespace vardelo::weighing
