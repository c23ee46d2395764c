#include "data/query.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/list_plan.h"
#include "data/transaction.h"

namespace {

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Replaces each ":name" marker outside quotes and comments by "?" and lists the names in order.
QString translateMarkers(const QString& sql, std::vector<QString>& names) {
    QString out;
    out.reserve(sql.size());
    names.clear();
    const int n = int(sql.size());
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            int j = int(sql.indexOf(QLatin1Char('\n'), i));
            j = j < 0 ? n : j;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            int j = int(sql.indexOf(QStringLiteral("*/"), i + 2));
            j = j < 0 ? n : j + 2;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameChar(sql[i + 1])) {
            int j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            names.push_back(sql.mid(i + 1, j - i - 1));
            out += QLatin1Char('?');
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

} // namespace

TZQuery::TZQuery(const QString& name, TConnection* connection, TTransaction* transaction, QObject* parent)
    : TDataSet(name, connection, transaction, parent) {
    SQL.SetOnChange([this] { sqlChanged(); });
}

void TZQuery::sqlChanged() {
    Close();
    plan_.reset();
    translated_ = translateMarkers(SQL.Text(), markerNames_);
    std::vector<TParam> params;
    for (const QString& name : markerNames_) {
        bool known = false;
        for (const TParam& p : params)
            known = known || p.Name().compare(name, Qt::CaseInsensitive) == 0;
        if (known)
            continue;
        TParam param(name);
        for (const TParam& old : params_)
            if (old.Name().compare(name, Qt::CaseInsensitive) == 0)
                param.SetValue(old.Value());
        params.push_back(param);
    }
    params_ = std::move(params);
}

TParam& TZQuery::ParamByName(const QString& name) {
    for (TParam& p : params_)
        if (p.Name().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    throw EDatabaseError(QStringLiteral("%1: Parameter '%2' not found").arg(objectName(), name));
}

QString TZQuery::SelectStatement() const {
    return translated_;
}

std::vector<QVariant> TZQuery::parameterValues(const std::vector<QString>& names) const {
    std::vector<QVariant> values;
    values.reserve(names.size());
    for (const QString& name : names) {
        QVariant value;
        for (const TParam& p : params_)
            if (p.Name().compare(name, Qt::CaseInsensitive) == 0) {
                value = p.Value();
                break;
            }
        values.push_back(value);
    }
    return values;
}

std::vector<QVariant> TZQuery::SelectParameters() const {
    return parameterValues(markerNames_);
}

void TZQuery::SetListPlan(const TListPlan& plan) {
    plan_ = std::make_shared<TListPlan>(plan);
}

// The plan's own statement takes the list's parameters by their names.
std::shared_ptr<const TListPlan> TZQuery::ListPlan() const {
    if (!plan_)
        return nullptr;
    auto bound = std::make_shared<TListPlan>(*plan_);
    std::vector<QString> names;
    bound->drivingSql = translateMarkers(plan_->drivingSql, names);
    bound->drivingParameters = parameterValues(names);
    bound->keptCountsSql = translateMarkers(plan_->keptCountsSql, names);
    bound->keptCountsParameters = parameterValues(names);
    return bound;
}

void TZQuery::ExecSQL() {
    Close();
    if (!Connection() || !Connection()->Connected())
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    if (!Transaction()->Active())
        Transaction()->StartTransaction();
    unsigned affected = 0;
    try {
        vardelo::fb::executeRows(Connection()->Attachment(), Transaction()->Handle(), translated_,
                                 SelectParameters(), &affected);
    } catch (EDatabaseError& error) {
        vardelo::fb::nameFailedValue(error, markerNames_);
        throw;
    }
    rowsAffected_ = int(affected);
}
