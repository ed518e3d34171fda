#pragma once

#include "archive/Connection.h"
#include "archive/EnteSettings.h"
#include "archive/Query.h"
#include "archive/Table.h"

#include <QObject>

#include <functional>
#include <map>

namespace zol {

// The table engine's failure on opening a table, with the archive's code for it.
struct ArchiveError
{
    // The codes on which opening a table repairs it.
    enum Code {
        None = 0,
        BlobEndReached = 8711,
        HeaderCorrupt = 8961,
        DataRecordCorrupt = 8962,
        BlobBlockCorrupt = 8963,
        IndexPageCorrupt = 8965,
        ReadError = 9217,
        WriteError = 9218,
        InvalidBlobOffset = 9998,
        InvalidIndexField = 10023,
        InvalidBlobLength = 10029,
        // Failures that are not damage.
        TableMissing = 9220,
        TableLocked = 10243,
        Other = 20000, // + SQLite's primary code
    };
    int code = None;
    QString text; // for the user, in Italian
    bool isError() const { return code != None; }
    bool isDamage() const;
    static ArchiveError fromSql(const SqlError& e, const QString& fileName);
};

// The data module: owns the archive from the start of the program to its end. Every window and
// routine reads and writes the tables through its views, queries and in-memory tables.
class Tdm : public QObject
{
    Q_OBJECT
public:
    // programFolder: where the program's files are; empty for the folder of the executable.
    explicit Tdm(const QString& programFolder = QString(), QObject* parent = nullptr);
    ~Tdm() override;

    // Start and end of the program (run once each).
    void DataModuleCreate();
    void DataModuleDestroy();

    QString ProgramFolder() const { return m_programFolder; } // with a trailing separator
    QString dataFolder() const { return m_programFolder + QStringLiteral("dati/"); }
    QString settingsFile() const { return m_programFolder + QStringLiteral("ZOL.INI"); }
    // The file of a table in the data folder, found without regard to case.
    QString tableFilePath(const QString& table) const;

    // The connection Database1.
    bool openConnection();
    void closeConnection();
    bool isConnected() const { return m_db.isOpen(); }
    Connection& db() { return m_db; }

    bool OpenTables(); // false when an error escaped an opening (see startError())
    void CloseTables();
    ArchiveError OpenTableWithRepair(Table& table);
    void RepairProgress(Table& table, int percent);
    bool isTableOpen(const QString& table) const;

    // The version stamp of a table file, readable whether the table is open or not.
    bool tableVersion(const QString& table, int* major, int* minor);

    // One transaction at a time, over all the tables.
    bool StartTransaction();
    bool Commit();
    bool Rollback();
    bool InTransaction() const { return m_db.inTransaction(); }

    // The view of a table by name, and the ten in their order.
    Table* view(const QString& table);
    QList<Table*> views();

    // The error that ended the last start or opening, for the user; empty when none.
    QString startError() const { return m_startError; }
    QString errorString() const { return m_error; }

    // Steps of the start that other parts of the program provide.
    std::function<void(Tdm&)> readSettings;
    std::function<void(Tdm&)> writeSettings;
    std::function<void(Tdm&)> upgradeSchema;
    std::function<bool(Tdm&)> migrateRequestLayout;
    std::function<void(Tdm&)> markMigrationDone;

    TEnteSettings EnteSettings;

    // The views of the ten tables, linked master-detail.
    Table ttDENUNCE;
    Table ttRICHIESTE;
    Table ttRICHIEDENTI;
    Table ttIMPRESE;
    Table ttPROFESSIONISTI;
    Table ttBENEFICIARI;
    Table ttCATASTO;
    Table ttMDPROF;
    Table ttMDIMPR;
    Table ttCOMUNI;
    // Scratch queries and tables.
    Query Q1;
    Query Q2;
    Query QSel;
    Table T1;
    Table T2;
    // In-memory tables.
    MemTable mtRicorda;
    MemTable mtProblemi;

private:
    void setUpLookups();
    static void ttRICHIESTEAfterInsert(Dataset& ds);
    QVariant lookup(const QString& sql, const QVariant& key, int width);
    void refreshOpenViews();

    std::map<QString, Statement> m_lookupStatements;
    QString m_programFolder;
    Connection m_db;
    QString m_startError;
    QString m_error;
};

// Waits n seconds while the windows go on painting.
void WaitSeconds(int n);

} // namespace zol
