#pragma once

#include "archive/Dataset.h"

namespace zol {

class Connection;
class Tdm;

// A view on one table of the archive (ttDENUNCE ... ttCOMUNI, and the scratch tables T1 and
// T2). It holds the rows of its table, or, when linked to a master view, only the rows whose
// link column equals the master's key; a row appended to it receives that key. Derived columns
// (lookups and calculated ones) are added by the data module.
class Table : public Dataset
{
    Q_OBJECT
public:
    Table(Tdm* dm, const QString& viewName, const QString& tableName, QObject* parent = nullptr);

    QString tableName() const { return m_table; }
    // The scratch tables are pointed at a table before they are opened.
    void setTableName(const QString& table);
    QString fileName() const { return m_table + QStringLiteral(".DAT"); }

    // Shows only the rows whose detailField equals masterField of master's current row.
    void setMaster(Table* master, const QString& masterField, const QString& detailField);
    Table* master() const { return m_master; }

    struct Lookup
    {
        QString name;
        ColumnType type;
        int width;
        std::function<QVariant(const Table&, const QVariantList& row)> compute;
    };
    void addLookup(const Lookup& lookup) { m_lookups.append(lookup); }

    // Reads the table's columns and rows; false (with errorString) when the table file is not attached.
    bool open();
    bool refresh() override;
    void close() override;

    // A column of the stored row, by name, for lookups.
    QVariant rowValue(const QVariantList& row, const QString& column) const;

protected:
    bool insertRow(Row& row) override;
    bool updateRow(const Row& before, Row& after) override;
    bool deleteRow(const Row& row) override;
    QVariant derivedValue(const Row& row, int field) const override;
    void initNewRow(Row& row) override;

private:
    bool readColumns();
    bool readRows(QList<Row>& rows);
    QVariant fromStore(const Field& f, const QVariant& v) const;
    void masterMoved();
    QVariant masterKey() const;
    QString qualified() const;

    Tdm* m_dm;
    QString m_table;
    Table* m_master = nullptr;
    QString m_masterField;
    QString m_detailField;
    QList<Lookup> m_lookups;
    QVariant m_loadedKey;  // the master key the rows were read for
    int m_storedCount = 0; // fields before the derived ones; field 0 is the rowid
};

} // namespace zol
