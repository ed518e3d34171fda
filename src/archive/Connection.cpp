#include "archive/Connection.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <sqlite3.h>

namespace zol {

QVariant toSqlValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate) {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
    }
    return value;
}

namespace {

void bindValue(sqlite3_stmt* stmt, int pos, const QVariant& raw)
{
    const QVariant v = toSqlValue(raw);
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, pos);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        sqlite3_bind_int64(stmt, pos, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, pos, v.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt, pos, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(stmt, pos, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

SqlError errorOf(sqlite3* db, int rc)
{
    SqlError e;
    e.code = rc & 0xff;
    e.extended = db ? sqlite3_extended_errcode(db) : rc;
    e.text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    return e;
}

QString fileUri(const QString& path, const char* mode)
{
    QUrl url = QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    return url.toString(QUrl::FullyEncoded) + QStringLiteral("?mode=") + QLatin1String(mode);
}

} // namespace

// --- Statement

Statement::Statement(Statement&& other) noexcept
    : m_connection(other.m_connection), m_stmt(other.m_stmt), m_error(other.m_error)
{
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_connection = other.m_connection;
        m_stmt = other.m_stmt;
        m_error = other.m_error;
        other.m_stmt = nullptr;
    }
    return *this;
}

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

void Statement::bind(const QString& name, const QVariant& value)
{
    if (!m_stmt)
        return;
    QByteArray n = name.toUtf8();
    if (!n.startsWith(':') && !n.startsWith('@') && !n.startsWith('$'))
        n.prepend(':');
    const int pos = sqlite3_bind_parameter_index(m_stmt, n.constData());
    if (pos > 0)
        bindValue(m_stmt, pos, value);
}

void Statement::bind(int position, const QVariant& value)
{
    if (m_stmt)
        bindValue(m_stmt, position, value);
}

void Statement::bindAll(const QVariantMap& named)
{
    for (auto it = named.begin(); it != named.end(); ++it)
        bind(it.key(), it.value());
}

void Statement::bindAll(const QVariantList& positional)
{
    for (int i = 0; i < positional.size(); ++i)
        bind(i + 1, positional.at(i));
}

bool Statement::step()
{
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE) {
        m_error = {};
        return false;
    }
    m_error = errorOf(sqlite3_db_handle(m_stmt), rc);
    if (m_connection)
        m_connection->setError(m_error);
    return false;
}

bool Statement::exec()
{
    while (step()) {
    }
    return !m_error.isError();
}

void Statement::reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    m_error = {};
}

int Statement::columnCount() const
{
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString Statement::columnName(int i) const
{
    return m_stmt ? QString::fromUtf8(sqlite3_column_name(m_stmt, i)) : QString();
}

QString Statement::declaredType(int i) const
{
    const char* t = m_stmt ? sqlite3_column_decltype(m_stmt, i) : nullptr;
    return t ? QString::fromUtf8(t) : QString();
}

QVariant Statement::value(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i)),
                                          sqlite3_column_bytes(m_stmt, i)));
    case SQLITE_BLOB:
        return QVariant(
            QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, i)), sqlite3_column_bytes(m_stmt, i)));
    default:
        return QVariant();
    }
}

// --- Connection

Connection::~Connection()
{
    close();
}

bool Connection::open(const QString& path, bool create, bool readOnly)
{
    close();
    const char* mode = readOnly ? "ro" : (create ? "rwc" : "rw");
    const int flags = SQLITE_OPEN_URI | (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      (create && !readOnly ? SQLITE_OPEN_CREATE : 0);
    const QByteArray uri = fileUri(path, mode).toUtf8();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(uri.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        m_error = errorOf(db, rc);
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 3000);
    m_error = {};
    // A rollback journal with full sync: the only setting under which a transaction over
    // attached files is atomic (WAL commits each file on its own).
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
    m_error = {};
    return true;
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool Connection::attach(const QString& schema, const QString& path)
{
    if (!QFileInfo::exists(path)) {
        m_error = {SQLITE_CANTOPEN, SQLITE_CANTOPEN, QStringLiteral("unable to open database: %1").arg(path)};
        return false;
    }
    if (!exec(QStringLiteral("ATTACH DATABASE :uri AS \"%1\"").arg(schema),
              QVariantMap{{QStringLiteral(":uri"), fileUri(path, "rw")}}))
        return false;
    exec(QStringLiteral("PRAGMA \"%1\".journal_mode=DELETE").arg(schema));
    exec(QStringLiteral("PRAGMA \"%1\".synchronous=FULL").arg(schema));
    m_error = {};
    return true;
}

bool Connection::detach(const QString& schema)
{
    return exec(QStringLiteral("DETACH DATABASE \"%1\"").arg(schema));
}

Statement Connection::prepare(const QString& sql)
{
    if (!m_db) {
        m_error = {SQLITE_MISUSE, SQLITE_MISUSE, QStringLiteral("connessione chiusa")};
        return {};
    }
    const QByteArray u = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, u.constData(), int(u.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        m_error = errorOf(m_db, rc);
        return {};
    }
    m_error = {};
    return Statement(this, stmt);
}

bool Connection::exec(const QString& sql, const QVariantMap& params)
{
    Statement s = prepare(sql);
    if (!s.isValid())
        return false;
    s.bindAll(params);
    return s.exec();
}

bool Connection::exec(const QString& sql, const QVariantList& params)
{
    Statement s = prepare(sql);
    if (!s.isValid())
        return false;
    s.bindAll(params);
    return s.exec();
}

QVariant Connection::scalar(const QString& sql, const QVariantList& params)
{
    Statement s = prepare(sql);
    if (!s.isValid())
        return {};
    s.bindAll(params);
    if (s.step())
        return s.value(0);
    return {};
}

qint64 Connection::lastInsertRowid() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

int Connection::changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

bool Connection::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

SqlError Connection::currentError() const
{
    return m_db ? errorOf(m_db, sqlite3_errcode(m_db)) : SqlError{};
}

} // namespace zol
