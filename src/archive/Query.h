#pragma once

#include "archive/Dataset.h"

#include <QVariantMap>

namespace zol {

class Tdm;

// A scratch query of the data module (Q1, Q2, QSel): SQL text with named parameters written
// ":name". open() runs a SELECT and holds its rows; execSql() runs any other statement.
class Query : public Dataset
{
    Q_OBJECT
public:
    Query(Tdm* dm, const QString& name, QObject* parent = nullptr);

    void setSql(const QString& sql);
    QString sql() const { return m_sql; }
    void setParam(const QString& name, const QVariant& value);
    void clearParams() { m_params.clear(); }

    bool open();
    bool execSql();
    int rowsAffected() const { return m_rowsAffected; }
    bool refresh() override { return open(); }

protected:
    bool insertRow(Row&) override;
    bool updateRow(const Row&, Row&) override;
    bool deleteRow(const Row&) override;

private:
    Tdm* m_dm;
    QString m_sql;
    QVariantMap m_params;
    int m_rowsAffected = 0;
};

// An in-memory table of the data module (mtRicorda, mtProblemi): fields fixed at creation,
// rows kept in memory only. Values are checked against the field widths like stored ones.
class MemTable : public Dataset
{
    Q_OBJECT
public:
    MemTable(const QString& name, const QList<Field>& fields, QObject* parent = nullptr);
    void open();
    void emptyTable();

protected:
    bool insertRow(Row&) override { return true; }
    bool updateRow(const Row&, Row&) override { return true; }
    bool deleteRow(const Row&) override { return true; }
};

} // namespace zol
