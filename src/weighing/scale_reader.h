#pragma once

#include "data/app_settings.h"
#include "weighing/scale_frame_splitter.h"
#include "weighing/scale_status.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>

namespace vardelo::weighing {

// Reads the weighing indicator's serial port while it lives, without ever waiting on it: the port is opened
// non-blocking and read as bytes arrive, and the status says what the latest frame read, or why there is
// none. A frame that cannot be read leaves the last reading standing; when no readable frame comes for
// SilenceMs the reading is gone (Silent or Unreadable). A port that cannot be opened, or that went away, is
// tried again every SilenceMs and at retry().
class ScaleReader : public QObject {
    Q_OBJECT
public:
    static constexpr int SilenceMs = 2000;
    // A Toledo frame whose checksum byte has not come after this pause has none.
    static constexpr int PauseMs = 100;

    explicit ScaleReader(const ScaleSettings& settings, QObject* parent = nullptr);
    ~ScaleReader() override;

    const ScaleStatus& status() const { return status_; }
    const QString& portName() const { return settings_.port; }
    // Why no weight can be taken now, naming the port; empty when the reading is one.
    QString message() const { return scaleStatusMessage(status_, settings_.port); }

    // Opens the port again now when it is not open.
    void retry();
    // The clerk asks for the weight: weightTaken or weightRefused answers, at once, or, while the first
    // reading is still on its way, when it comes or the silence is told.
    void requestWeight();

signals:
    void statusChanged();
    void weightTaken(const QString& fieldText); // the gross weight as an entry field takes it: "1234,5"
    void weightRefused(const QString& message);

private slots:
    void readAvailable();
    void portError(QSerialPort::SerialPortError error);
    void silenceElapsed();
    void pauseElapsed();

private:
    void open();
    void fail(ScaleStatus::Kind kind, const QString& reason);
    void handleFrame(const QByteArray& frame);
    void setStatus(const ScaleStatus& status);
    void answerRequest();

    ScaleSettings settings_;
    QSerialPort port_;
    ScaleFrameSplitter splitter_;
    ScaleStatus status_;
    QTimer silence_;
    QTimer pause_;
    bool bytesWithoutFrame_ = false;
    bool weightRequested_ = false; // asked before the first reading came
};

} // namespace vardelo::weighing
