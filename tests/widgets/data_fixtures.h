#pragma once

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/immediate_write.h"

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace vardelo::testing {

// The message of an EDatabaseError a control reported through its dataError signal (an argument of a
// QSignalSpy).
inline QString reportedMessage(const QVariant& argument) {
    return static_cast<const EDatabaseError*>(argument.constData())->Message();
}

// Reopens a query of the data module on a statement (its lines split at line breaks).
inline void openQuery(TZQuery* query, const QString& sql) {
    vardelo::openQuery(query, sql.split(QLatin1Char('\n')));
}

// The demo producers in code order: Kovács János, Nagy Éva, Ördögh Ödön, Szűcs Ágnes, Molnár Ferenc.
inline void openProducers() {
    openQuery(Data->ZQ30, QStringLiteral("SELECT * FROM ostermelo ORDER BY o_kod"));
}

// The purchaser table, writable.
inline TIBTable* openPurchasers() {
    TIBTable* table = Data->IBTable6;
    table->Close();
    table->ReadOnly = false;
    table->Open();
    return table;
}

// Reads one value straight from the database, past every open dataset.
inline QString readValue(const QString& sql) {
    openQuery(Data->ZQ80, sql);
    return Data->ZQ80->IsEmpty() ? QString() : Data->ZQ80->Fields(0).AsString();
}

// Types text into a widget key by key, accented letters included (QTest::keyClicks takes only ASCII).
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace vardelo::testing
