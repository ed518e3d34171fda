#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace zol {

// The engine's own error: SQLite's primary and extended result codes and its message.
struct SqlError
{
    int code = 0;
    int extended = 0;
    QString text;
    bool isError() const { return code != 0; }
};

class Connection;

// One prepared statement. Parameters are bound by name (":idr") or by position (1-based).
class Statement
{
public:
    Statement() = default;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    ~Statement();

    bool isValid() const { return m_stmt != nullptr; }
    void bind(const QString& name, const QVariant& value);
    void bind(int position, const QVariant& value);
    void bindAll(const QVariantMap& named);
    void bindAll(const QVariantList& positional);

    // Moves to the next row: true while there is one. false at the end or on error (see error()).
    bool step();
    // Runs a statement that returns no rows; false on error.
    bool exec();
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    QString declaredType(int i) const;
    QVariant value(int i) const;
    const SqlError& error() const { return m_error; }

private:
    friend class Connection;
    Statement(Connection* connection, sqlite3_stmt* stmt) : m_connection(connection), m_stmt(stmt) {}
    Connection* m_connection = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    SqlError m_error;
};

// A connection of the table engine. Its main database is a real, empty file so that one
// transaction over several ATTACHed table files commits atomically (SQLite's super-journal).
class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens a database file; with create false, a missing file is an error.
    bool open(const QString& path, bool create = false, bool readOnly = false);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Attaches an existing file under the given schema name; never creates the file.
    bool attach(const QString& schema, const QString& path);
    bool detach(const QString& schema);

    Statement prepare(const QString& sql);
    bool exec(const QString& sql, const QVariantMap& params = {});
    bool exec(const QString& sql, const QVariantList& params);
    // The first column of the first row, or an invalid QVariant (error() tells whether it failed).
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    qint64 lastInsertRowid() const;
    int changes() const;
    bool inTransaction() const;

    const SqlError& error() const { return m_error; }
    void setError(const SqlError& e) { m_error = e; }
    SqlError currentError() const; // what the engine reports now
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    SqlError m_error;
};

// SQLite's value conversions used everywhere: dates as ISO text, null as NULL.
QVariant toSqlValue(const QVariant& value);

} // namespace zol
