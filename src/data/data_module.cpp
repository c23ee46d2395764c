#include "data/data_module.h"

#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/identifier_checks.h"
#include "data/logging.h"
#include "data/shared_values.h"

#include <utility>

TData::TData(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("Data"));
    ZCon1 = new TConnection(QStringLiteral("ZCon1"), this);
    IBTrans1 = new TTransaction(QStringLiteral("IBTrans1"), ZCon1, this);

    auto table = [this](const QString& name, const QString& tableName) {
        auto* t = new TIBTable(name, ZCon1, IBTrans1, this);
        t->TableName = tableName;
        return t;
    };
    IBTable1 = table(QStringLiteral("IBTable1"), QStringLiteral("FJFEJ"));
    IBTable2 = table(QStringLiteral("IBTable2"), QStringLiteral("FJSOR"));
    IBTable3 = table(QStringLiteral("IBTable3"), QStringLiteral("OSTERMELO"));
    IBTable4 = table(QStringLiteral("IBTable4"), QStringLiteral("TERMEK"));
    IBTable5 = table(QStringLiteral("IBTable5"), QStringLiteral("SORSZAM"));
    IBTable6 = table(QStringLiteral("IBTable6"), QStringLiteral("ATVEVO"));
    IBTable6->ReadOnly = false;

    auto source = [this](const QString& name, TDataSet* dataSet) {
        return new TDataSource(name, dataSet, this);
    };
    DS1 = source(QStringLiteral("DS1"), IBTable1);
    DS2 = source(QStringLiteral("DS2"), IBTable2);
    DS3 = source(QStringLiteral("DS3"), IBTable3);
    DS4 = source(QStringLiteral("DS4"), IBTable4);
    DS5 = source(QStringLiteral("DS5"), IBTable5);
    DS6 = source(QStringLiteral("DS6"), IBTable6);

    auto query = [this](const QString& name) { return new TZQuery(name, ZCon1, IBTrans1, this); };
    ZQ10 = query(QStringLiteral("ZQ10"));
    ZQ20 = query(QStringLiteral("ZQ20"));
    ZQ30 = query(QStringLiteral("ZQ30"));
    ZQ40 = query(QStringLiteral("ZQ40"));
    ZQ50 = query(QStringLiteral("ZQ50"));
    ZQ60 = query(QStringLiteral("ZQ60"));
    ZQ70 = query(QStringLiteral("ZQ70"));
    ZQ80 = query(QStringLiteral("ZQ80"));
    ZQ11 = query(QStringLiteral("ZQ11"));
    ZQ12 = query(QStringLiteral("ZQ12"));
    ZQ21 = query(QStringLiteral("ZQ21"));
    ZQ22 = query(QStringLiteral("ZQ22"));
    ZQ31 = query(QStringLiteral("ZQ31"));
    ZQ41 = query(QStringLiteral("ZQ41"));
    DSQ10 = source(QStringLiteral("DSQ10"), ZQ10);
    DSQ20 = source(QStringLiteral("DSQ20"), ZQ20);
    DSQ30 = source(QStringLiteral("DSQ30"), ZQ30);
    DSQ40 = source(QStringLiteral("DSQ40"), ZQ40);
    DSQ50 = source(QStringLiteral("DSQ50"), ZQ50);
    DSQ60 = source(QStringLiteral("DSQ60"), ZQ60);
    DSQ70 = source(QStringLiteral("DSQ70"), ZQ70);
    DSQ80 = source(QStringLiteral("DSQ80"), ZQ80);
    DS11 = source(QStringLiteral("DS11"), ZQ11);
    DS12 = source(QStringLiteral("DS12"), ZQ12);
    DS21 = source(QStringLiteral("DS21"), ZQ21);
    DS22 = source(QStringLiteral("DS22"), ZQ22);
    DS31 = source(QStringLiteral("DS31"), ZQ31);
    DS41 = source(QStringLiteral("DS41"), ZQ41);

    connect(IBTrans1, &TTransaction::ending, this, &TData::rememberTables);
    connect(IBTrans1, &TTransaction::ended, this, &TData::reopenTables);
    // Where the lists stood is noted as the loss is first raised, before a window's failure path closes them.
    vardelo::fb::setLostConnectionHandler([](void* data) { static_cast<TData*>(data)->notePlaces(); }, this);
}

void TData::notePlaces() {
    if (!places_.empty())
        return;
    for (TDataSet* d : findChildren<TDataSet*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!d->Active())
            continue;
        Place place{d, QString(), QVariant(), d->RecNo(), std::nullopt};
        try {
            auto* table = qobject_cast<TIBTable*>(d);
            if (table)
                place.edit = table->TakePendingEdit();
            for (int i = 0; i < d->FieldCount() && !d->IsEmpty(); ++i) {
                const QString name = d->Fields(i).FieldName();
                if (table ? name == table->KeyField() : name.startsWith(QLatin1String("ID_"))) {
                    place.keyField = name;
                    place.key = d->TDataSet::CurrentValue(i);
                    break;
                }
            }
        } catch (...) {
            // A row no longer at hand: the dataset opens on its row number instead. Called while an error is
            // raised, so nothing may escape.
        }
        places_.push_back(std::move(place));
    }
}

void TData::Reattach() {
    notePlaces();
    IBTrans1->Abandon();
    ZCon1->Reconnect();
    vardelo::fb::clearLostConnectionSeen();
    const std::vector<Place> places = std::exchange(places_, {});
    for (const Place& place : places) {
        try {
            place.dataSet->Open();
            if (place.dataSet == IBTable6 && !AktAkod.isEmpty())
                IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
            else if (place.key.isValid() && !place.key.isNull())
                place.dataSet->Locate(place.keyField, place.key, 0);
            else if (place.recNo > 1)
                place.dataSet->SetRecNo(place.recNo);
            if (place.edit)
                static_cast<TIBTable*>(place.dataSet)->RestorePendingEdit(*place.edit);
        } catch (const EDatabaseError& e) {
            qCWarning(lcData) << "Opening" << place.dataSet->objectName()
                              << "again after attaching again failed:" << e.Message() << e.ErrorCode();
        }
    }
    // The selected purchaser's row is open at every moment, also when the loss came while it was closed.
    if (!IBTable6->Active() && !AktAkod.isEmpty()) {
        try {
            IBTable6->Open();
            IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
        } catch (const EDatabaseError& e) {
            qCWarning(lcData) << "Opening IBTable6 again failed:" << e.Message() << e.ErrorCode();
        }
    }
    qCInfo(lcData) << "Attached again after a lost connection;" << places.size() << "datasets opened again";
}

void TData::Heal() {
    if (!vardelo::fb::lostConnectionSeen() && places_.empty())
        return;
    if (ZCon1->Connected() && ZCon1->Alive()) {
        vardelo::fb::clearLostConnectionSeen();
        places_.clear();
        return;
    }
    Reattach();
}

void TData::rememberTables() {
    openTables_.clear();
    for (int i = 1; i <= 6; ++i) {
        TIBTable* table = Table(i);
        if (!table->Active())
            continue;
        const TField* key = table->FindField(table->KeyField());
        openTables_.push_back({table, key && !table->IsEmpty() ? key->Value() : QVariant()});
    }
}

void TData::reopenTables() {
    const std::vector<OpenTable> tables = std::exchange(openTables_, {});
    if (!ZCon1->Connected())
        return;
    for (const OpenTable& t : tables) {
        try {
            if (t.table->Active())
                continue;
            t.table->Open();
            // The purchaser's row is the selected purchaser's, whatever row the table stood on.
            if (t.table == IBTable6 && !AktAkod.isEmpty())
                IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
            else if (!t.key.isNull())
                t.table->Locate(t.table->KeyField(), t.key, 0);
        } catch (const EDatabaseError& e) {
            qCWarning(lcData) << "Reopening" << t.table->objectName()
                              << "after the transaction ended failed:" << e.Message() << e.ErrorCode();
        } catch (const std::exception& e) {
            qCWarning(lcData) << "Reopening" << t.table->objectName() << "failed:" << e.what();
        } catch (...) {
            // Called while a failed commit unwinds: nothing may escape.
            qCWarning(lcData) << "Reopening" << t.table->objectName() << "failed";
        }
    }
}

TData::~TData() {
    vardelo::fb::releaseLostConnectionHandler(this);
    // Datasets close before the connection goes; the connection commits what is pending as it detaches.
    const QList<TDataSet*> dataSets = findChildren<TDataSet*>(QString(), Qt::FindDirectChildrenOnly);
    for (TDataSet* d : dataSets)
        d->Close();
    try {
        ZCon1->Disconnect();
    } catch (const EDatabaseError& error) {
        qCWarning(lcData).noquote() << "Closing the connection failed:" << error.Message() << "code"
                                    << error.ErrorCode();
    }
    // Then the objects go from the top down, users before what they use: report objects and data sources, the
    // datasets, the transaction, the connection. Left to QObject they would go in the order of creation, the
    // transaction before the datasets that detach from it.
    const QList<QObject*> children = this->children();
    for (QObject* child : children)
        if (!qobject_cast<TDataSet*>(child) && child != IBTrans1 && child != ZCon1)
            delete child;
    for (TDataSet* d : dataSets)
        delete d;
    delete IBTrans1;
    delete ZCon1;
}

TIBTable* TData::Table(int number) const {
    switch (number) {
    case 1:
        return IBTable1;
    case 2:
        return IBTable2;
    case 3:
        return IBTable3;
    case 4:
        return IBTable4;
    case 5:
        return IBTable5;
    case 6:
        return IBTable6;
    default:
        return nullptr;
    }
}

TDataSet* TData::DataSetByName(const QString& name) const {
    for (TDataSet* d : findChildren<TDataSet*>(QString(), Qt::FindDirectChildrenOnly))
        if (d->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return d;
    return nullptr;
}

bool TData::AdoazonEllenorzes(const QString& adoazon) const {
    return vardelo::adoazonositoValid(adoazon);
}
bool TData::AdoszamEllenorzes(const QString& adoszam) const {
    return vardelo::adoszamValid(adoszam);
}
bool TData::TAJEllenorzes(const QString& taj) const {
    return vardelo::tajValid(taj);
}

void TData::ujnev(const QString& nev) const {
    const vardelo::NameParts parts = vardelo::splitName(nev);
    CsaladiNev = parts.familyName;
    UtoNev = parts.givenName;
}
