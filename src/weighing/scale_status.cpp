#include "weighing/scale_status.h"

namespace vardelo::weighing {

QString scaleStatusMessage(const ScaleStatus& status, const QString& port) {
    switch (status.kind) {
    case ScaleStatus::Kind::Reading:
        return readingRefusal(status.reading);
    case ScaleStatus::Kind::Waiting:
        return QStringLiteral("A mérlegről még nem érkezett adat (port: %1).").arg(port);
    case ScaleStatus::Kind::Silent:
        return QStringLiteral("A mérleg nem küld adatot (port: %1). Ellenőrizze, hogy be van-e kapcsolva, "
                              "és hogy a kábele csatlakozik-e!")
            .arg(port);
    case ScaleStatus::Kind::Unreadable:
        return QStringLiteral("A mérleg adatai nem olvashatók (port: %1). Ellenőrizze a vardelo.ini [Merleg] "
                              "részében a formátumot és a sebességet!")
            .arg(port);
    case ScaleStatus::Kind::NoPort:
        return QStringLiteral("A mérleg portja nincs megadva: a vardelo.ini [Merleg] részében a Port "
                              "sorában adja meg!");
    case ScaleStatus::Kind::PortMissing:
        return QStringLiteral("A mérleg portja nem található (port: %1). Ellenőrizze a kábelt és a "
                              "beállítást!")
            .arg(port);
    case ScaleStatus::Kind::PortBusy:
        return QStringLiteral("A mérleg portja nem nyitható meg (port: %1): egy másik program használja, "
                              "vagy a felhasználónak nincs joga hozzá.")
            .arg(port);
    case ScaleStatus::Kind::PortFailed:
        return QStringLiteral("A mérleg portja nem nyitható meg (port: %1).").arg(port);
    case ScaleStatus::Kind::ConnectionLost:
        return QStringLiteral("Megszakadt a kapcsolat a mérleggel (port: %1). Ellenőrizze a kábelt!")
            .arg(port);
    }
    return {};
}

QString scaleStatusLabel(const ScaleStatus& status) {
    switch (status.kind) {
    case ScaleStatus::Kind::Reading:
        return readingLabel(status.reading);
    case ScaleStatus::Kind::Waiting:
        return QStringLiteral("várakozás a mérlegre…");
    case ScaleStatus::Kind::Silent:
        return QStringLiteral("nem érkezik adat");
    case ScaleStatus::Kind::Unreadable:
        return QStringLiteral("olvashatatlan adat");
    case ScaleStatus::Kind::NoPort:
        return QStringLiteral("nincs megadva port");
    case ScaleStatus::Kind::PortMissing:
    case ScaleStatus::Kind::PortBusy:
    case ScaleStatus::Kind::PortFailed:
        return QStringLiteral("a port nem nyitható meg");
    case ScaleStatus::Kind::ConnectionLost:
        return QStringLiteral("megszakadt a kapcsolat");
    }
    return {};
}

} // namespace vardelo::weighing
