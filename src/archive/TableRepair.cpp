#include "archive/TableRepair.h"

#include "archive/Connection.h"
#include "archive/Platform.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace zol {

QString quickCheck(Connection& db, const QString& schema)
{
    Statement s = db.prepare(QStringLiteral("PRAGMA \"%1\".quick_check").arg(schema));
    if (!s.isValid())
        return db.error().text.isEmpty() ? QStringLiteral("quick_check non eseguibile") : db.error().text;
    if (!s.step())
        return s.error().isError() ? s.error().text : QStringLiteral("quick_check senza risposta");
    const QString first = s.value(0).toString();
    return first == QLatin1String("ok") ? QString() : first;
}

namespace {

struct SourceSchema
{
    QString table;
    QString createTable;
    QStringList createIndexes;
    int userVersion = 0;
};

// What the damaged file says of itself. A file whose schema cannot be read is not repaired:
// rebuilding it from the current layout would replace it with an empty table.
SourceSchema readSchema(Connection& src, QString* error)
{
    SourceSchema s;
    Statement st = src.prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL"));
    while (st.isValid() && st.step()) {
        const QString type = st.value(0).toString();
        const QString name = st.value(1).toString();
        if (type == QLatin1String("table") && !name.startsWith(QLatin1String("sqlite_"))) {
            s.table = name;
            s.createTable = st.value(2).toString();
        } else if (type == QLatin1String("index")) {
            s.createIndexes << st.value(2).toString();
        }
    }
    if (!st.isValid() || st.error().isError() || s.createTable.isEmpty()) {
        *error = QStringLiteral("struttura della tabella illeggibile (%1)").arg(src.currentError().text);
        s.createTable.clear();
        return s;
    }
    s.userVersion = src.scalar(QStringLiteral("PRAGMA user_version")).toInt();
    return s;
}

class RowCopier
{
public:
    RowCopier(Connection& src, Connection& dst, const QString& table, const QStringList& columns)
        : m_src(src), m_table(table), m_columns(columns)
    {
        QStringList quotedCols, marks{QStringLiteral("?")};
        for (const QString& c : columns) {
            quotedCols << QLatin1Char('"') + c + QLatin1Char('"');
            marks << QStringLiteral("?");
        }
        m_selectList = quotedCols.join(QLatin1Char(','));
        m_insert = dst.prepare(QStringLiteral("INSERT OR IGNORE INTO \"%1\" (rowid,%2) VALUES (%3)")
                                   .arg(table, m_selectList, marks.join(QLatin1Char(','))));
    }

    bool ready() const { return m_insert.isValid(); }
    bool hadErrors() const { return m_hadErrors; }

    // Copies every readable row, stepping over damaged stretches of the table.
    qint64 copyAll(qint64 maxRowid, const std::function<void(int)>& progress)
    {
        // Scans always seek to the first rowid wanted (>=): a seek to the last row read would
        // land on that row's page again, which may be the damaged one.
        qint64 from = std::numeric_limits<qint64>::min() + 1;
        qint64 copied = 0;
        for (;;) {
            Statement scan =
                m_src.prepare(QStringLiteral("SELECT rowid,%1 FROM \"%2\" NOT INDEXED WHERE rowid >= ? ORDER BY rowid")
                                  .arg(m_selectList, m_table));
            if (!scan.isValid()) {
                m_hadErrors = true;
                return copied;
            }
            scan.bind(1, from);
            while (scan.step()) {
                const qint64 rowid = scan.value(0).toLongLong();
                from = rowid + 1;
                m_insert.reset();
                m_insert.bind(1, rowid);
                for (int i = 0; i < m_columns.size(); ++i)
                    m_insert.bind(i + 2, scan.value(i + 1));
                if (m_insert.exec())
                    ++copied;
                if (progress && maxRowid > 0 && (copied % 256) == 0)
                    progress(int(qBound(qint64(0), rowid * 100 / maxRowid, qint64(99))));
            }
            if (!scan.error().isError())
                return copied; // reached the end
            m_hadErrors = true;
            const qint64 resume = nextReadable(from, maxRowid);
            if (resume < from) // nothing more can be read
                return copied;
            from = resume;
        }
    }

private:
    // 1 when a seek to rowid >= a works and finds a row, 0 when it works and finds none, -1 when it fails.
    int probe(qint64 a)
    {
        Statement s =
            m_src.prepare(QStringLiteral("SELECT rowid FROM \"%1\" NOT INDEXED WHERE rowid >= ? ORDER BY rowid LIMIT 1")
                              .arg(m_table));
        if (!s.isValid())
            return -1;
        s.bind(1, a);
        if (s.step())
            return 1;
        return s.error().isError() ? -1 : 0;
    }

    // The smallest rowid, at or after from, from which the table reads again; -1 when nothing
    // more can be read. Probes widen exponentially past the damage, then bisect back to its end.
    qint64 nextReadable(qint64 from, qint64 maxRowid)
    {
        const qint64 limit = qMax<qint64>(maxRowid, std::numeric_limits<qint32>::max());
        qint64 bad = from - 1;
        qint64 good = -1;
        for (qint64 step = 1;; step *= 2) {
            const qint64 a = from - 1 + step;
            if (a > limit)
                return -1;
            const int p = probe(a);
            if (p == 0)
                return -1;
            if (p == 1) {
                good = a;
                break;
            }
            bad = a;
        }
        while (good - bad > 1) {
            const qint64 mid = bad + (good - bad) / 2;
            if (probe(mid) == 1)
                good = mid;
            else
                bad = mid;
        }
        return good;
    }

    Connection& m_src;
    QString m_table;
    QStringList m_columns;
    QString m_selectList;
    Statement m_insert;
    bool m_hadErrors = false;
};

// The columns to copy besides the rowid: an INTEGER PRIMARY KEY column is the rowid itself.
QStringList columnsOf(Connection& db, const QString& table)
{
    QStringList out;
    Statement s = db.prepare(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    while (s.isValid() && s.step()) {
        const bool rowidAlias =
            s.value(5).toInt() == 1 && s.value(2).toString().toUpper().startsWith(QLatin1String("INTEGER"));
        if (!rowidAlias)
            out << s.value(1).toString();
    }
    return out;
}

} // namespace

RepairResult rebuildTableFile(const QString& path, const std::function<void(int)>& progress)
{
    RepairResult result;
    const QString fresh = path + QStringLiteral(".nuovo");
    QFile::remove(fresh);
    QFile::remove(fresh + QStringLiteral("-journal"));

    Connection src;
    if (!src.open(path)) {
        result.error = src.error().text;
        return result;
    }
    const SourceSchema schema = readSchema(src, &result.error);
    if (schema.createTable.isEmpty())
        return result;

    Connection dst;
    bool ok = dst.open(fresh, true) && dst.exec(QStringLiteral("BEGIN")) && dst.exec(schema.createTable);
    const QStringList columns = columnsOf(dst, schema.table);
    ok = ok && !columns.isEmpty();
    RowCopier copier(src, dst, schema.table, columns);
    ok = ok && copier.ready();
    if (ok) {
        qint64 maxRowid = src.scalar(QStringLiteral("SELECT max(rowid) FROM \"%1\"").arg(schema.table)).toLongLong();
        const qint64 seq =
            src.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {schema.table}).toLongLong();
        maxRowid = qMax(maxRowid, seq);
        result.rowsCopied = copier.copyAll(maxRowid, progress);
        if (result.rowsCopied == 0 && copier.hadErrors()) {
            ok = false;
            dst.setError({1, 1, QStringLiteral("nessuna riga leggibile")});
        }
        // Ids are never given twice: the counter keeps the highest id the table ever had.
        const qint64 copiedMax =
            dst.scalar(QStringLiteral("SELECT max(rowid) FROM \"%1\"").arg(schema.table)).toLongLong();
        if (dst.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'")).toInt() >
            0) {
            dst.exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), QVariantList{schema.table});
            ok = dst.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                          QVariantList{schema.table, qMax(seq, copiedMax)});
        }
        for (const QString& sql : schema.createIndexes)
            ok = ok && dst.exec(sql);
        ok = ok && dst.exec(QStringLiteral("PRAGMA user_version=%1").arg(schema.userVersion));
        ok = ok && dst.exec(QStringLiteral("COMMIT"));
    }
    if (ok) {
        const QString problem = quickCheck(dst, QStringLiteral("main"));
        if (!problem.isEmpty()) {
            ok = false;
            dst.setError({1, 1, problem});
        }
    }
    const QString why = dst.error().text;
    dst.close();
    src.close();
    if (!ok) {
        QFile::remove(fresh);
        result.error = why;
        return result;
    }
    // The damaged file is kept beside the rebuilt one: rows that could not be read are not
    // thrown away. A journal left by it must not be played back onto the rebuilt file.
    const QString kept = path + QStringLiteral(".danneggiata");
    QFile::remove(kept);
    QFile::remove(kept + QStringLiteral("-journal"));
    QFile::rename(path + QStringLiteral("-journal"), kept + QStringLiteral("-journal"));
    QFile::copy(path, kept);
    QString err;
    if (!platform::replaceFile(fresh, path, &err)) {
        QFile::remove(fresh);
        result.error = err;
        return result;
    }
    if (progress)
        progress(100);
    result.ok = true;
    return result;
}

} // namespace zol
