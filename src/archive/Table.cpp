#include "archive/Table.h"

#include "archive/Tdm.h"

#include <QDate>
#include <QRegularExpression>

namespace zol {
namespace {

Dataset::Field fieldFromDeclaration(const QString& name, const QString& declared, bool isKey)
{
    Dataset::Field f;
    f.name = name;
    const QString t = declared.toUpper();
    static const QRegularExpression width(QStringLiteral("\\((\\d+)\\)"));
    if (isKey)
        f.type = ColumnType::AutoInc;
    else if (t.startsWith(QLatin1String("SMALLINT")))
        f.type = ColumnType::SmallInt;
    else if (t.startsWith(QLatin1String("INT")))
        f.type = ColumnType::Integer;
    else if (t.startsWith(QLatin1String("DATE")))
        f.type = ColumnType::Date;
    else {
        f.type = ColumnType::Text;
        const auto m = width.match(t);
        f.width = m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    return f;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

Table::Table(Tdm* dm, const QString& viewName, const QString& tableName, QObject* parent)
    : Dataset(viewName, parent), m_dm(dm), m_table(tableName)
{
}

void Table::setTableName(const QString& table)
{
    if (isActive())
        close();
    m_table = table.toUpper();
}

void Table::setMaster(Table* master, const QString& masterField, const QString& detailField)
{
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    connect(master, &Dataset::currentChanged, this, &Table::masterMoved);
}

QString Table::qualified() const
{
    return quoted(m_table) + QLatin1Char('.') + quoted(m_table);
}

bool Table::readColumns()
{
    Statement s = m_dm->db().prepare(QStringLiteral("PRAGMA %1.table_info(%1)").arg(quoted(m_table)));
    QList<Field> fields;
    while (s.isValid() && s.step()) {
        const QString name = s.value(1).toString();
        const QString declared = s.value(2).toString();
        const bool rowidAlias = s.value(5).toInt() == 1 && declared.toUpper().startsWith(QLatin1String("INTEGER"));
        fields << fieldFromDeclaration(name, declared, rowidAlias);
    }
    if (!s.isValid() || s.error().isError() || fields.isEmpty()) {
        setError(QStringLiteral("La tabella %1 non è aperta.").arg(fileName()));
        return false;
    }
    m_storedCount = int(fields.size());
    for (const Lookup& l : m_lookups) {
        Field f;
        f.name = l.name;
        f.type = l.type;
        f.width = l.width;
        f.derived = true;
        fields << f;
    }
    setFields(fields);
    return true;
}

QVariant Table::fromStore(const Field& f, const QVariant& v) const
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (f.type) {
    case ColumnType::Date: {
        const QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case ColumnType::Text:
        return v.toString();
    default:
        return v.toLongLong();
    }
}

bool Table::readRows(QList<Row>& rows)
{
    QStringList cols;
    for (int i = 0; i < m_storedCount; ++i)
        cols << quoted(m_fields.at(i).name);
    QString sql = QStringLiteral("SELECT %1, rowid FROM %2").arg(cols.join(QLatin1Char(',')), qualified());
    const QVariant key = masterKey();
    if (m_master)
        sql += QStringLiteral(" WHERE %1 = :key").arg(quoted(m_detailField));
    const TableDef* def = Schema::table(m_table);
    sql += QStringLiteral(" ORDER BY ") + (def ? def->orderBy : QStringLiteral("rowid"));
    Statement s = m_dm->db().prepare(sql);
    if (!s.isValid()) {
        setError(QStringLiteral("Lettura di %1 non riuscita: %2").arg(fileName(), m_dm->db().error().text));
        return false;
    }
    if (m_master)
        s.bind(QStringLiteral(":key"), key);
    m_loadedKey = key;
    while (s.step()) {
        Row r(m_fields.size() + 1);
        for (int i = 0; i < m_storedCount; ++i)
            r[i] = fromStore(m_fields.at(i), s.value(i));
        r[m_fields.size()] = s.value(m_storedCount);
        rows.append(r);
    }
    if (s.error().isError()) {
        setError(QStringLiteral("Lettura di %1 non riuscita: %2").arg(fileName(), s.error().text));
        return false;
    }
    return true;
}

bool Table::open()
{
    if (isActive())
        close();
    if (!m_dm->isTableOpen(m_table)) {
        setError(QStringLiteral("La tabella %1 non è aperta.").arg(fileName()));
        return false;
    }
    if (!readColumns())
        return false;
    QList<Row> rows;
    if (!readRows(rows))
        return false;
    setState(State::Browse);
    setRows(rows, 0);
    return true;
}

bool Table::refresh()
{
    if (!isActive())
        return false;
    if (isEditing())
        cancel();
    const QVariant rowid = m_current >= 0 ? m_rows.at(m_current).value(m_fields.size()) : QVariant();
    QList<Row> rows;
    if (!readRows(rows))
        return false;
    int current = 0;
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).value(m_fields.size()) == rowid)
            current = i;
    setRows(rows, current);
    return true;
}

void Table::close()
{
    Dataset::close();
    m_fields.clear();
}

QVariant Table::masterKey() const
{
    if (!m_master || !m_master->isActive() || m_master->state() == State::Insert || m_master->recNo() < 0)
        return {};
    return m_master->value(m_masterField);
}

void Table::masterMoved()
{
    // Saving the master row, or moving onto the row already shown, changes nothing here.
    if (!isActive())
        return;
    const QVariant key = masterKey();
    if (key.isNull() == m_loadedKey.isNull() && key == m_loadedKey)
        return;
    if (isEditing())
        post(); // a row being edited is kept, as when the user leaves it
    refresh();
}

QVariant Table::rowValue(const QVariantList& row, const QString& column) const
{
    const int i = fieldIndex(column);
    return i >= 0 && i < m_storedCount ? row.value(i) : QVariant();
}

void Table::initNewRow(Row& row)
{
    row.append(QVariant()); // the rowid, known after the insert
    if (m_master) {
        const int f = fieldIndex(m_detailField);
        if (f >= 0 && m_master->isActive() && m_master->recNo() >= 0)
            row[f] = m_master->value(m_masterField);
    }
}

bool Table::insertRow(Row& row)
{
    const TableDef* def = Schema::table(m_table);
    QStringList cols, marks;
    QVariantList values;
    int keyField = -1;
    for (int i = 0; i < m_storedCount; ++i) {
        const Field& f = m_fields.at(i);
        if (f.type == ColumnType::AutoInc || (def && f.name.compare(def->keyColumn, Qt::CaseInsensitive) == 0)) {
            keyField = i;
            continue;
        }
        if (row.value(i).isNull())
            continue;
        cols << quoted(f.name);
        marks << QStringLiteral("?");
        values << row.value(i);
    }
    Connection& db = m_dm->db();
    const QString sql = cols.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(qualified())
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(qualified(), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    if (!db.exec(sql, values)) {
        setError(QStringLiteral("Salvataggio in %1 non riuscito: %2").arg(fileName(), db.error().text));
        return false;
    }
    const qint64 rowid = db.lastInsertRowid();
    row[m_fields.size()] = rowid;
    if (keyField >= 0) {
        // Tables of an older layout have a plain id column: it takes the new row's number.
        if (m_fields.at(keyField).type != ColumnType::AutoInc)
            db.exec(QStringLiteral("UPDATE %1 SET %2 = rowid WHERE rowid = ?")
                        .arg(qualified(), quoted(m_fields.at(keyField).name)),
                    QVariantList{rowid});
        row[keyField] = rowid;
    }
    return true;
}

bool Table::updateRow(const Row& before, Row& after)
{
    QStringList sets;
    QVariantList values;
    for (int i = 0; i < m_storedCount; ++i) {
        if (m_fields.at(i).type == ColumnType::AutoInc)
            continue;
        if (before.value(i) == after.value(i) && before.value(i).isNull() == after.value(i).isNull())
            continue;
        sets << quoted(m_fields.at(i).name) + QStringLiteral(" = ?");
        values << after.value(i);
    }
    if (sets.isEmpty())
        return true;
    values << before.value(m_fields.size());
    Connection& db = m_dm->db();
    if (!db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(qualified(), sets.join(QLatin1Char(','))),
                 values)) {
        setError(QStringLiteral("Salvataggio in %1 non riuscito: %2").arg(fileName(), db.error().text));
        return false;
    }
    return true;
}

bool Table::deleteRow(const Row& row)
{
    Connection& db = m_dm->db();
    if (!db.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(qualified()),
                 QVariantList{row.value(m_fields.size())})) {
        setError(QStringLiteral("Eliminazione da %1 non riuscita: %2").arg(fileName(), db.error().text));
        return false;
    }
    return true;
}

QVariant Table::derivedValue(const Row& row, int field) const
{
    const int l = field - m_storedCount;
    if (l < 0 || l >= m_lookups.size())
        return {};
    const Lookup& lk = m_lookups.at(l);
    QVariant v = lk.compute(*this, row);
    if (lk.type == ColumnType::Text && v.isValid()) {
        QString s = v.toString();
        if (lk.width > 0 && s.size() > lk.width)
            s.truncate(lk.width);
        return s;
    }
    return v;
}

} // namespace zol
