#include "archive/Query.h"

#include "archive/Tdm.h"

#include <QDate>

namespace zol {

Query::Query(Tdm* dm, const QString& name, QObject* parent) : Dataset(name, parent), m_dm(dm) {}

void Query::setSql(const QString& sql)
{
    if (isActive())
        close();
    m_sql = sql;
    m_params.clear();
}

void Query::setParam(const QString& name, const QVariant& value)
{
    m_params.insert(name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name, value);
}

bool Query::open()
{
    if (isActive())
        close();
    Statement s = m_dm->db().prepare(m_sql);
    if (!s.isValid()) {
        setError(m_dm->db().error().text);
        return false;
    }
    s.bindAll(m_params);
    QList<Field> fields;
    for (int i = 0; i < s.columnCount(); ++i) {
        Field f;
        f.name = s.columnName(i);
        const QString t = s.declaredType(i).toUpper();
        if (t.startsWith(QLatin1String("DATE")))
            f.type = ColumnType::Date;
        else if (t.startsWith(QLatin1String("SMALLINT")))
            f.type = ColumnType::SmallInt;
        else if (t.startsWith(QLatin1String("INT")))
            f.type = ColumnType::Integer;
        fields << f;
    }
    QList<Row> rows;
    while (s.step()) {
        Row r(fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            QVariant v = s.value(i);
            if (fields.at(i).type == ColumnType::Date && !v.isNull())
                v = QDate::fromString(v.toString().left(10), Qt::ISODate);
            r[i] = v;
        }
        rows << r;
    }
    if (s.error().isError()) {
        setError(s.error().text);
        return false;
    }
    setFields(fields);
    setState(State::Browse);
    setRows(rows, 0);
    return true;
}

bool Query::execSql()
{
    if (isActive())
        close();
    Connection& db = m_dm->db();
    if (!db.exec(m_sql, m_params)) {
        setError(db.error().text);
        return false;
    }
    m_rowsAffected = db.changes();
    return true;
}

bool Query::insertRow(Row&)
{
    setError(QStringLiteral("Il risultato di una query non si può modificare."));
    return false;
}

bool Query::updateRow(const Row&, Row&)
{
    return insertRow(m_buffer);
}

bool Query::deleteRow(const Row&)
{
    return insertRow(m_buffer);
}

MemTable::MemTable(const QString& name, const QList<Field>& fields, QObject* parent) : Dataset(name, parent)
{
    setFields(fields);
}

void MemTable::open()
{
    if (!isActive()) {
        setState(State::Browse);
        setRows({}, 0);
    }
}

void MemTable::emptyTable()
{
    if (isEditing())
        cancel();
    setRows({}, 0);
}

} // namespace zol
