#pragma once

#include "weighing/scale_reading_rules.h"

#include <QString>

namespace vardelo::weighing {

// Where the reading of the indicator stands.
struct ScaleStatus {
    enum class Kind {
        Waiting,        // the port is open, nothing has come yet
        Reading,        // a frame came within the silence period: `reading`
        Silent,         // nothing came for the silence period
        Unreadable,     // bytes came, but no frame that could be read
        NoPort,         // the settings name no port
        PortMissing,    // no such port
        PortBusy,       // another program holds the port, or the user may not open it
        PortFailed,     // the port cannot be opened for another reason
        ConnectionLost, // the port went away while it was read (a USB cable pulled)
    };
    Kind kind = Kind::Waiting;
    ScaleReading reading;

    bool operator==(const ScaleStatus&) const = default;
};

// Why no weight can be taken now, naming the port; empty when the reading is the gross weight in kilograms.
QString scaleStatusMessage(const ScaleStatus& status, const QString& port);
// A few words for the live label beside the button: the reading, or what keeps it away.
QString scaleStatusLabel(const ScaleStatus& status);

} // namespace vardelo::weighing
