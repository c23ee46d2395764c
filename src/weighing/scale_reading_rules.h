#pragma once

#include "data/app_settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// What a weighing indicator's output says, read from one frame of it: pure functions, no port.
//
//   vesszo  "ST,GS,+0001234.5kg": status (ST stable, US unstable, OL overload), GS/GW gross or NT/NW net
//           (a line without it counts as gross), then the signed weight with a decimal point and its unit.
//   toledo  STX, status bytes A, B and C, six digits of weight, six of tare, CR, an optional checksum (the
//           two's complement of the low seven bits of the sum of the bytes before it). A: bits 0-2 the place
//           of the decimal point; B: bit 0 net, bit 1 negative, bit 2 out of range, bit 3 in motion, bit 4
//           kg (else lb), bit 6 not zeroed since power-up; C: bits 0-2 another unit (grams, ...) when not 0.
//   szam    one number (decimal point or comma, optional sign) and an optional unit after it. The line says
//           nothing of stability: the indicator must send only settled weights.
//
// The units read are kg, g, t, lb, lbs and oz; a weight without a unit counts as kilograms.
namespace vardelo::weighing {

enum class ScaleState {
    Stable,
    Unstable,
    Overload,  // above the range (or out of range, when the indicator does not say which way)
    Underload, // below the range
    NotZeroed, // not zeroed since it was switched on
};

enum class ScaleMode { Gross, Net, Other };

struct ScaleReading {
    ScaleState state = ScaleState::Stable;
    ScaleMode mode = ScaleMode::Gross;
    QString weight;                      // as sent, shortest: "1234.5", "-12", "0"; empty when none was sent
    QString unit = QStringLiteral("kg"); // lower case

    bool operator==(const ScaleReading&) const = default;
};

// One frame of each format, without its line end (a Toledo frame with its CR and checksum); nothing when the
// frame cannot be read (malformed, a wrong checksum, an unknown status).
std::optional<ScaleReading> parseCommaLine(QByteArrayView line);
std::optional<ScaleReading> parseToledoFrame(QByteArrayView frame);
std::optional<ScaleReading> parsePlainLine(QByteArrayView line);
std::optional<ScaleReading> parseScaleFrame(ScaleFormat format, QByteArrayView frame);

// The Toledo checksum of the bytes before it.
char toledoChecksum(QByteArrayView bytes);

// Why the reading cannot be taken as the gross weight in kilograms ("A mérleg nem nyugodt", ...); empty
// when it can.
QString readingRefusal(const ScaleReading& reading);
// The weight as an entry field takes it, with the decimal comma: "1234,5".
QString weightFieldText(const ScaleReading& reading);
// The reading as the line dialog shows it live, in a few words: "1234,5 kg", "1234,5 kg, nem nyugodt",
// "túlterhelt".
QString readingLabel(const ScaleReading& reading);

} // namespace vardelo::weighing
