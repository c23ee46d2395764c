#pragma once

#include "data/app_settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace vardelo::weighing {

// Cuts the bytes read from the indicator into frames, however the reads divide them: lines ended by CR, LF or
// both (vesszo, szam), or Toledo frames from STX to CR with the checksum byte when one follows. Bytes that
// make no frame are passed over. A Toledo frame is held back until the byte after its CR shows whether a
// checksum follows; when the line pauses instead, takeHeldFrame() gives it without one.
class ScaleFrameSplitter {
public:
    explicit ScaleFrameSplitter(ScaleFormat format) : format_(format) {}

    void append(QByteArrayView bytes);
    // The next complete frame: a line without its line end, a Toledo frame with its CR and checksum.
    std::optional<QByteArray> takeFrame();
    // At a pause of the line: the Toledo frame waiting for a checksum that did not come.
    std::optional<QByteArray> takeHeldFrame();

    // More than this without a frame is no frame: the buffer does not grow on a line that sends garbage.
    static constexpr qsizetype MaxFrameLength = 256;

private:
    std::optional<QByteArray> takeLine();
    std::optional<QByteArray> takeToledoFrame(bool paused);

    ScaleFormat format_;
    QByteArray buffer_;
};

} // namespace vardelo::weighing
