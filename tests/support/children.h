#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtGlobal>
#include <memory>

namespace vardelo::testing {

// A window's control by its objectName: the name the program gives it and the clerk's documentation uses, so
// the tests reach the controls the way the contract names them and the windows keep them private. Controls of
// a window opened from this one (a dialog still alive as its child) are not taken. A control that is missing
// ends the test program with a message naming it: a renamed control breaks the contract.
template <class T> T* child(const QObject* owner, const QString& name) {
    const auto* ownerWidget = qobject_cast<const QWidget*>(owner);
    for (T* found : owner->findChildren<T*>(name)) {
        const auto* widget = qobject_cast<const QWidget*>(static_cast<const QObject*>(found));
        if (!ownerWidget || !widget || widget->window() == ownerWidget->window())
            return found;
    }
    qFatal("%s has no %s named %s", qPrintable(owner->objectName()), T::staticMetaObject.className(),
           qPrintable(name));
}

template <class T> T* child(const QObject& owner, const QString& name) {
    return child<T>(&owner, name);
}

template <class T, class Owner> T* child(const std::unique_ptr<Owner>& owner, const QString& name) {
    return child<T>(owner.get(), name);
}

} // namespace vardelo::testing
