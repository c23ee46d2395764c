#pragma once

#include "data/connection.h"
#include "data/dataset.h"
#include "data/query.h"
#include "data/table.h"
#include "data/transaction.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

class TfrReport;
class TfrDBDataSet;
class TfrUserDataset;

// The data module: the one connection, the one transaction, the table and query components with their data
// sources, and the report objects. Every screen reaches the database through it.
class TData : public QObject {
    Q_OBJECT
public:
    explicit TData(QObject* parent = nullptr);
    ~TData() override;

    TConnection* ZCon1;
    TTransaction* IBTrans1;

    TIBTable* IBTable1; // FJFEJ
    TIBTable* IBTable2; // FJSOR
    TIBTable* IBTable3; // OSTERMELO
    TIBTable* IBTable4; // TERMEK
    TIBTable* IBTable5; // SORSZAM
    TIBTable* IBTable6; // ATVEVO, the one editable table
    TDataSource* DS1;
    TDataSource* DS2;
    TDataSource* DS3;
    TDataSource* DS4;
    TDataSource* DS5;
    TDataSource* DS6;

    TZQuery* ZQ10;
    TZQuery* ZQ20;
    TZQuery* ZQ30;
    TZQuery* ZQ40;
    TZQuery* ZQ50;
    TZQuery* ZQ60;
    TZQuery* ZQ70;
    TZQuery* ZQ80;
    TZQuery* ZQ11;
    TZQuery* ZQ12;
    TZQuery* ZQ21;
    TZQuery* ZQ22;
    TZQuery* ZQ31;
    TZQuery* ZQ41;
    TDataSource* DSQ10;
    TDataSource* DSQ20;
    TDataSource* DSQ30;
    TDataSource* DSQ40;
    TDataSource* DSQ50;
    TDataSource* DSQ60;
    TDataSource* DSQ70;
    TDataSource* DSQ80;
    TDataSource* DS11;
    TDataSource* DS12;
    TDataSource* DS21;
    TDataSource* DS22;
    TDataSource* DS31;
    TDataSource* DS41;

    // Report objects (the report service). The reports layer makes them
    // (vardelo::report::createReportObjects) when the shell or a test wires the module up; without them the
    // module is a plain data module.
    TfrReport* frNyomtat = nullptr;
    TfrReport* frMegtekint = nullptr;
    TfrDBDataSet* frDBDataSet1 = nullptr;
    TfrDBDataSet* frDBDataSet2 = nullptr;
    TfrDBDataSet* frDBDataSet3 = nullptr;
    TfrDBDataSet* frDBDataSet4 = nullptr;
    TfrDBDataSet* frDBDataSet6 = nullptr;
    TfrUserDataset* frUserDataset1 = nullptr;
    TfrUserDataset* frUserDataset2 = nullptr;
    TfrUserDataset* frUserDataset3 = nullptr;
    TfrUserDataset* frUserDataset4 = nullptr;

    // The six table components in their opening order.
    TIBTable* Table(int number) const;
    // A dataset of the module by component name ("ZQ20", "IBTable6"), nullptr if there is none.
    TDataSet* DataSetByName(const QString& name) const;

    // After a lost connection (the server stopped or restarted): attaches again under the same desk name and
    // opens the module's datasets that were open when the connection was lost, each on the row it stood on
    // (by its key where it has one); a table being edited gets its typed values back. The windows keep what
    // was typed in them. Raises EDatabaseError when the server cannot be reached yet; a later call tries
    // again.
    void Reattach();
    // Before an action: attaches again (Reattach) when an error since the last attach said that the
    // connection was lost and the server does not answer on it any more.
    void Heal();

    // Identifier checks; a character that is not a digit among those read makes a check false.
    bool AdoazonEllenorzes(const QString& adoazon) const;
    bool AdoszamEllenorzes(const QString& adoszam) const;
    bool TAJEllenorzes(const QString& taj) const;
    // Splits a name at its last blank into CsaladiNev and UtoNev.
    void ujnev(const QString& nev) const;

private:
    // A hard commit or rollback closes every dataset of the transaction. The table components that were open
    // (the selected purchaser's row above all) are opened again at once and put back on their rows, so no
    // screen or layout ever finds them closed.
    void rememberTables();
    void reopenTables();
    struct OpenTable {
        TIBTable* table;
        QVariant key;
    };
    std::vector<OpenTable> openTables_;

    // Where the open datasets stood when the connection was lost, for Reattach.
    void notePlaces();
    struct Place {
        TDataSet* dataSet;
        QString keyField;
        QVariant key;
        int recNo;
        std::optional<TIBTable::PendingEdit> edit;
    };
    std::vector<Place> places_;
};

// The single instance, created by the main window (and by tests).
inline TData* Data = nullptr;
