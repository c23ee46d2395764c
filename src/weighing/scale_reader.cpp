#include "weighing/scale_reader.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWeighing, "vardelo.weighing")

namespace vardelo::weighing {

namespace {

QSerialPort::Parity parityOf(char parity) {
    switch (parity) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    default:
        return QSerialPort::NoParity;
    }
}

} // namespace

ScaleReader::ScaleReader(const ScaleSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings), splitter_(settings.format) {
    silence_.setInterval(SilenceMs);
    pause_.setInterval(PauseMs);
    pause_.setSingleShot(true);
    connect(&port_, &QSerialPort::readyRead, this, &ScaleReader::readAvailable);
    connect(&port_, &QSerialPort::errorOccurred, this, &ScaleReader::portError);
    connect(&silence_, &QTimer::timeout, this, &ScaleReader::silenceElapsed);
    connect(&pause_, &QTimer::timeout, this, &ScaleReader::pauseElapsed);
    open();
    silence_.start();
}

ScaleReader::~ScaleReader() {
    port_.disconnect(this);
}

void ScaleReader::retry() {
    if (!port_.isOpen() && status_.kind != ScaleStatus::Kind::NoPort) {
        open();
        silence_.start();
    }
}

void ScaleReader::requestWeight() {
    retry();
    if (status_.kind == ScaleStatus::Kind::Waiting)
        weightRequested_ = true;
    else
        answerRequest();
}

void ScaleReader::answerRequest() {
    const QString refusal = message();
    if (refusal.isEmpty())
        emit weightTaken(weightFieldText(status_.reading));
    else
        emit weightRefused(refusal);
}

void ScaleReader::open() {
    if (settings_.port.isEmpty()) {
        fail(ScaleStatus::Kind::NoPort, QString());
        return;
    }
    port_.setPortName(settings_.port);
    port_.setBaudRate(settings_.baudRate);
    port_.setDataBits(QSerialPort::DataBits(settings_.dataBits));
    port_.setParity(parityOf(settings_.parity));
    port_.setStopBits(settings_.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadOnly)) {
        switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
            fail(ScaleStatus::Kind::PortMissing, port_.errorString());
            break;
        case QSerialPort::PermissionError:
            fail(ScaleStatus::Kind::PortBusy, port_.errorString());
            break;
        default:
            fail(ScaleStatus::Kind::PortFailed, port_.errorString());
            break;
        }
        return;
    }
    port_.clear(QSerialPort::Input); // what the indicator sent before the window opened is old
    splitter_ = ScaleFrameSplitter(settings_.format);
    bytesWithoutFrame_ = false;
    setStatus({});
}

void ScaleReader::fail(ScaleStatus::Kind kind, const QString& reason) {
    if (port_.isOpen())
        port_.close();
    if (status_.kind != kind)
        qCWarning(lcWeighing).noquote() << scaleStatusMessage({kind, {}}, settings_.port) << reason;
    setStatus({kind, {}});
}

void ScaleReader::readAvailable() {
    const QByteArray bytes = port_.readAll();
    if (bytes.isEmpty())
        return;
    bytesWithoutFrame_ = true;
    splitter_.append(bytes);
    while (const auto frame = splitter_.takeFrame())
        handleFrame(*frame);
    pause_.start();
}

void ScaleReader::pauseElapsed() {
    if (const auto frame = splitter_.takeHeldFrame())
        handleFrame(*frame);
}

void ScaleReader::handleFrame(const QByteArray& frame) {
    const auto reading = parseScaleFrame(settings_.format, frame);
    if (!reading)
        return;
    bytesWithoutFrame_ = false;
    silence_.start();
    setStatus({ScaleStatus::Kind::Reading, *reading});
}

void ScaleReader::silenceElapsed() {
    if (!port_.isOpen()) {
        retry();
        return;
    }
    setStatus({bytesWithoutFrame_ ? ScaleStatus::Kind::Unreadable : ScaleStatus::Kind::Silent, {}});
    bytesWithoutFrame_ = false;
}

void ScaleReader::portError(QSerialPort::SerialPortError error) {
    // A USB adapter pulled out, a line hung up: the port reports the failed read again and again until it is
    // closed. It is closed and tried again later.
    if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && port_.isOpen()) {
        fail(ScaleStatus::Kind::ConnectionLost, port_.errorString());
        silence_.start();
    }
}

void ScaleReader::setStatus(const ScaleStatus& status) {
    if (status == status_)
        return;
    status_ = status;
    emit statusChanged();
    if (weightRequested_ && status_.kind != ScaleStatus::Kind::Waiting) {
        weightRequested_ = false;
        answerRequest();
    }
}

} // namespace vardelo::weighing
