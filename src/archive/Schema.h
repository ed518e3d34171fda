#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zol {

enum class ColumnType { AutoInc, Integer, SmallInt, Text, Date };

struct ColumnDef
{
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0; // characters, for Text
    bool legacy = false;
};

struct IndexDef
{
    QString name;
    QStringList columns;
    bool unique = false;
};

// One table of the archive at the current layout.
struct TableDef
{
    QString name;
    QList<ColumnDef> columns;
    QList<IndexDef> indexes;
    QString keyColumn; // the auto-increment id
    QString orderBy;   // the order the table is read and shown in
    int major = 1;
    int minor = 0;

    QString fileName() const { return name + QStringLiteral(".DAT"); }
    const ColumnDef* column(const QString& name) const;
    int userVersion() const { return major * 65536 + minor; }
    // CREATE TABLE and CREATE INDEX statements of the current layout.
    QStringList createStatements() const;
};

namespace Schema {

// The ten tables, in the order they are always opened and closed.
const QList<TableDef>& tables();
const TableDef* table(const QString& name); // without regard to case
QString declaredType(const ColumnDef& column);

} // namespace Schema
} // namespace zol
