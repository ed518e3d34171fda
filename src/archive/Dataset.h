#pragma once

#include "archive/Schema.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

namespace zol {

// A set of rows with a current row, as every window and routine of the program sees its data:
// the table views of the data module, the scratch queries and the in-memory tables.
//
// Rows are walked with first()/next() until eof(); the current row is read with value().
// append() and edit() open a row buffer that setValue() fills and post() writes (cancel()
// throws away). Values: texts as QString, whole numbers as qlonglong, dates as QDate, a
// missing value as a null QVariant. An empty text is stored as a missing value.
class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };

    struct Field
    {
        QString name;
        ColumnType type = ColumnType::Text;
        int width = 0;        // characters, for texts
        bool derived = false; // computed when read, never stored
    };

    explicit Dataset(const QString& name, QObject* parent = nullptr);

    QString name() const { return objectName(); }
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Insert || m_state == State::Edit; }

    const QList<Field>& fields() const { return m_fields; }
    int fieldIndex(const QString& name) const; // without regard to case; -1 when absent
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    QStringList fieldNames() const;

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recNo() const { return m_current; } // 0-based; -1 when empty
    bool eof() const { return m_eof || m_rows.isEmpty(); }
    bool bof() const { return m_bof || m_rows.isEmpty(); }
    void first();
    void last();
    void next();
    void prior();
    bool moveTo(int row);

    // The current row (the row buffer while inserting or editing).
    QVariant value(const QString& field) const;
    QString text(const QString& field) const { return value(field).toString(); }
    qlonglong integer(const QString& field) const { return value(field).toLongLong(); }
    // Any row, with derived columns; used by grids and reports.
    QVariant valueAt(int row, int field) const;
    QVariant valueAt(int row, const QString& field) const { return valueAt(row, fieldIndex(field)); }

    bool setValue(const QString& field, const QVariant& value);
    bool append();
    bool edit();
    bool post();
    void cancel();
    bool remove();

    // Makes current the first row whose field equals value (texts without regard to case).
    bool locate(const QString& field, const QVariant& value);

    // Re-reads the rows, keeping the current row where it can.
    virtual bool refresh() { return true; }
    virtual void close();

    QString errorString() const { return m_error; }

    // Run right after a row is appended, before anyone sees it (ttRICHIESTEAfterInsert).
    std::function<void(Dataset&)> afterInsert;

signals:
    void currentChanged();
    void rowsReset();
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    void stateChanged();

protected:
    using Row = QVariantList;

    // Storage hooks of the subclasses. insertRow fills in what the store assigned (the key).
    virtual bool insertRow(Row& row) = 0;
    virtual bool updateRow(const Row& before, Row& after) = 0;
    virtual bool deleteRow(const Row& row) = 0;
    virtual QVariant derivedValue(const Row& row, int field) const;
    // Values a new row starts with (the master's key).
    virtual void initNewRow(Row& row) { Q_UNUSED(row); }

    void setFields(const QList<Field>& fields);
    void setRows(QList<Row> rows, int current = 0);
    void setState(State s);
    void setError(const QString& e) { m_error = e; }
    bool checkValue(const Field& f, const QVariant& v, QVariant* normalised);
    const Row& rowAt(int i) const { return m_rows.at(i); }
    Row& rowRef(int i) { return m_rows[i]; }

    QList<Field> m_fields;
    QList<Row> m_rows;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    Row m_buffer;   // the row being inserted or edited
    Row m_original; // the row before the edit
    QString m_error;
};

// Texts for the user on a value that cannot be stored.
QString fieldTooLongMessage(const QString& field, int width, int length);
QString fieldBadCharMessage(const QString& field, const QString& character);

} // namespace zol
