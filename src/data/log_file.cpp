#include "data/log_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QStandardPaths>

namespace vardelo {

namespace {

struct LogState {
    QMutex mutex;
    QFile file;
    LogFileSettings settings;
    QtMessageHandler previous = nullptr;
    bool installed = false;
};

LogState& state() {
    static LogState instance;
    return instance;
}

QString levelName(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("debug");
    case QtInfoMsg:
        return QStringLiteral("info");
    case QtWarningMsg:
        return QStringLiteral("warning");
    case QtCriticalMsg:
        return QStringLiteral("critical");
    case QtFatalMsg:
        return QStringLiteral("fatal");
    }
    return QString();
}

// Moves vardelo.log to vardelo.log.1, .1 to .2, ...; the oldest beyond keptFiles goes.
void rotate(LogState& s) {
    const QString path = s.file.fileName();
    s.file.close();
    QFile::remove(path + QLatin1Char('.') + QString::number(s.settings.keptFiles));
    for (int i = s.settings.keptFiles - 1; i >= 1; --i)
        QFile::rename(path + QLatin1Char('.') + QString::number(i),
                      path + QLatin1Char('.') + QString::number(i + 1));
    if (s.settings.keptFiles > 0)
        QFile::rename(path, path + QStringLiteral(".1"));
    else
        QFile::remove(path);
    s.file.setFileName(path);
    s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    LogState& s = state();
    {
        QMutexLocker lock(&s.mutex);
        if (s.file.isOpen()) {
            const QString line =
                QStringLiteral("%1 %2 %3: %4\n")
                    .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs), levelName(type),
                         QString::fromLatin1(context.category ? context.category : "default"), message);
            s.file.write(line.toUtf8());
            s.file.flush();
            if (s.file.size() > s.settings.maxBytes)
                rotate(s);
        }
    }
    if (s.previous)
        s.previous(type, context, message);
}

} // namespace

QString installLogFile(const LogFileSettings& settings) {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    s.settings = settings;
    const QString folder = settings.folder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               : settings.folder;
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    s.file.close();
    s.file.setFileName(QDir(folder).filePath(QStringLiteral("vardelo.log")));
    if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return QString();
    if (s.file.size() > s.settings.maxBytes)
        rotate(s);
    if (!s.installed) {
        s.previous = qInstallMessageHandler(handler);
        s.installed = true;
    }
    return s.file.fileName();
}

void removeLogFile() {
    LogState& s = state();
    if (s.installed) {
        qInstallMessageHandler(s.previous);
        s.installed = false;
        s.previous = nullptr;
    }
    QMutexLocker lock(&s.mutex);
    s.file.close();
}

} // namespace vardelo
