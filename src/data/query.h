#pragma once

#include "data/dataset.h"
#include "data/decimal.h"
#include "data/strings.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

// A named parameter of a query (":p1" in the SQL text), bound as text, date, number or null.
class TParam {
public:
    explicit TParam(const QString& name) : name_(name) {}
    const QString& Name() const { return name_; }
    void SetAsString(const QString& value) { value_ = value; }
    void SetAsFloat(double value) { value_ = value; }
    void SetAsDecimal(const vardelo::Decimal& value) { value_ = QVariant::fromValue(value); }
    void SetAsInteger(qint64 value) { value_ = value; }
    void SetAsDate(const QDate& value) { value_ = value; }
    void SetAsDateTime(const QDateTime& value) { value_ = value; }
    void SetValue(const QVariant& value) { value_ = value; }
    void Clear() { value_ = QVariant(); }
    const QVariant& Value() const { return value_; }
    bool IsNull() const { return value_.isNull(); }

private:
    QString name_;
    QVariant value_;
};

// A query component: screens write its SQL text at run time, bind its parameters by name and open or execute
// it. Changing the text closes the query; parameters keep their values while their names stay in the text.
class TZQuery : public TDataSet {
    Q_OBJECT
public:
    TZQuery(const QString& name, TConnection* connection, TTransaction* transaction,
            QObject* parent = nullptr);

    TStrings SQL;

    // Raises EDatabaseError for a name that the SQL text does not have.
    TParam& ParamByName(const QString& name);
    int ParamCount() const { return int(params_.size()); }
    TParam& Params(int index) { return params_.at(index); }

    // Runs a statement that returns no rows (INSERT, UPDATE, DELETE). Starts the transaction when needed.
    void ExecSQL();
    int RowsAffected() const { return rowsAffected_; }

    // The plan of the list the text gives (data/list_plan.h), for the next Open; a new text drops it.
    void SetListPlan(const TListPlan& plan);

protected:
    QString SelectStatement() const override;
    std::vector<QVariant> SelectParameters() const override;
    std::shared_ptr<const TListPlan> ListPlan() const override;

private:
    void sqlChanged();
    std::vector<QVariant> parameterValues(const std::vector<QString>& names) const;
    std::vector<TParam> params_;
    // Markers of the translated statement in order, each naming its parameter.
    std::vector<QString> markerNames_;
    QString translated_;
    int rowsAffected_ = 0;
    std::shared_ptr<TListPlan> plan_;
};
