#include "archive/Tdm.h"

#include "app/Interaction.h"
#include "archive/Settings.h"
#include "archive/TableRepair.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <sqlite3.h>

namespace zol {

// --- ArchiveError

bool ArchiveError::isDamage() const
{
    switch (code) {
    case BlobEndReached:
    case HeaderCorrupt:
    case DataRecordCorrupt:
    case BlobBlockCorrupt:
    case IndexPageCorrupt:
    case ReadError:
    case WriteError:
    case InvalidBlobOffset:
    case InvalidIndexField:
    case InvalidBlobLength:
        return true;
    default:
        return false;
    }
}

ArchiveError ArchiveError::fromSql(const SqlError& e, const QString& fileName)
{
    ArchiveError a;
    switch (e.code) {
    case SQLITE_OK:
        return a;
    case SQLITE_NOTADB:
        a.code = HeaderCorrupt;
        a.text = QStringLiteral("L'intestazione della tabella \"%1\" è danneggiata.").arg(fileName);
        break;
    case SQLITE_CORRUPT:
        a.code = e.text.contains(QLatin1String("index"), Qt::CaseInsensitive) ? IndexPageCorrupt : DataRecordCorrupt;
        a.text = QStringLiteral("La tabella \"%1\" è danneggiata (%2).").arg(fileName, e.text);
        break;
    case SQLITE_IOERR:
        a.code = (e.extended == SQLITE_IOERR_WRITE || e.extended == SQLITE_IOERR_FSYNC) ? WriteError : ReadError;
        a.text =
            QStringLiteral("Errore di %1 sulla tabella \"%2\" (%3).")
                .arg(a.code == WriteError ? QStringLiteral("scrittura") : QStringLiteral("lettura"), fileName, e.text);
        break;
    case SQLITE_CANTOPEN:
        a.code = TableMissing;
        a.text = QStringLiteral("La tabella \"%1\" non si trova nella cartella dei dati.").arg(fileName);
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        a.code = TableLocked;
        a.text = QStringLiteral("La tabella \"%1\" è in uso da un altro programma.").arg(fileName);
        break;
    default:
        a.code = Other + e.code;
        a.text = QStringLiteral("Impossibile aprire la tabella \"%1\": %2").arg(fileName, e.text);
        break;
    }
    return a;
}

// --- Tdm

Tdm::Tdm(const QString& programFolder, QObject* parent)
    : QObject(parent), ttDENUNCE(this, QStringLiteral("ttDENUNCE"), QStringLiteral("DENUNCE"), this),
      ttRICHIESTE(this, QStringLiteral("ttRICHIESTE"), QStringLiteral("RICHIESTE"), this),
      ttRICHIEDENTI(this, QStringLiteral("ttRICHIEDENTI"), QStringLiteral("RICHIEDENTI"), this),
      ttIMPRESE(this, QStringLiteral("ttIMPRESE"), QStringLiteral("IMPRESE"), this),
      ttPROFESSIONISTI(this, QStringLiteral("ttPROFESSIONISTI"), QStringLiteral("PROFESSIONISTI"), this),
      ttBENEFICIARI(this, QStringLiteral("ttBENEFICIARI"), QStringLiteral("BENEFICIARI"), this),
      ttCATASTO(this, QStringLiteral("ttCATASTO"), QStringLiteral("CATASTO"), this),
      ttMDPROF(this, QStringLiteral("ttMDPROF"), QStringLiteral("MDPROF"), this),
      ttMDIMPR(this, QStringLiteral("ttMDIMPR"), QStringLiteral("MDIMPR"), this),
      ttCOMUNI(this, QStringLiteral("ttCOMUNI"), QStringLiteral("COMUNI"), this), Q1(this, QStringLiteral("Q1"), this),
      Q2(this, QStringLiteral("Q2"), this), QSel(this, QStringLiteral("QSel"), this),
      T1(this, QStringLiteral("T1"), QString(), this), T2(this, QStringLiteral("T2"), QString(), this),
      mtRicorda(QStringLiteral("mtRicorda"),
                {{QStringLiteral("NOME"), ColumnType::Text, 40, false},
                 {QStringLiteral("ID"), ColumnType::Integer, 0, false}},
                this),
      mtProblemi(QStringLiteral("mtProblemi"),
                 {{QStringLiteral("cognome"), ColumnType::Text, 35, false},
                  {QStringLiteral("nome"), ColumnType::Text, 30, false},
                  {QStringLiteral("cf"), ColumnType::Text, 16, false},
                  {QStringLiteral("sesso"), ColumnType::Text, 1, false},
                  {QStringLiteral("dnascita"), ColumnType::Date, 0, false}},
                 this)
{
    QString folder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    folder = QDir::fromNativeSeparators(QFileInfo(folder).absoluteFilePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    m_programFolder = folder;

    ttRICHIESTE.setMaster(&ttDENUNCE, QStringLiteral("ID_DENUNCIA"), QStringLiteral("ID_DENUNCIA"));
    for (Table* t : {&ttBENEFICIARI, &ttCATASTO, &ttMDPROF, &ttMDIMPR})
        t->setMaster(&ttRICHIESTE, QStringLiteral("ID_RICHIESTA"), QStringLiteral("ID_RICHIESTA"));
    ttRICHIESTE.afterInsert = &Tdm::ttRICHIESTEAfterInsert;
    setUpLookups();
    // The Ente settings: read at start, written back at the end.
    readSettings = &ReadSettings;
    writeSettings = &WriteSettings;
}

Tdm::~Tdm()
{
    CloseTables();
    closeConnection();
}

void Tdm::ttRICHIESTEAfterInsert(Dataset& ds)
{
    ds.setValue(QStringLiteral("NUM_TRASM"), 1);
    ds.setValue(QStringLiteral("PADRE"), 0);
    ds.setValue(QStringLiteral("DATA_CREAZIONE"), QDate::currentDate());
}

QVariant Tdm::lookup(const QString& sql, const QVariant& key, int width)
{
    if (key.isNull() || !key.isValid() || !m_db.isOpen())
        return {};
    // A table that is not open makes the statement fail, and the derived column stays empty.
    auto it = m_lookupStatements.find(sql);
    if (it == m_lookupStatements.end()) {
        Statement s = m_db.prepare(sql);
        if (!s.isValid())
            return {};
        it = m_lookupStatements.emplace(sql, std::move(s)).first;
    }
    Statement& s = it->second;
    s.reset();
    s.bind(1, key);
    QVariant v = s.step() ? s.value(0) : QVariant();
    s.reset();
    if (width > 0 && v.typeId() == QMetaType::QString && v.toString().size() > width)
        v = v.toString().left(width);
    return v;
}

void Tdm::setUpLookups()
{
    using Row = QVariantList;
    auto text = [this](const QString& name, int width, const QString& keyColumn, const QString& table,
                       const QString& sql, ColumnType type = ColumnType::Text) {
        Table* t = view(table);
        t->addLookup({name, type, width, [this, keyColumn, sql, width, type](const Table& v, const Row& row) {
                          QVariant r = lookup(sql, v.rowValue(row, keyColumn), width);
                          if (type == ColumnType::Date && r.isValid())
                              r = QDate::fromString(r.toString().left(10), Qt::ISODate);
                          return r;
                      }});
    };
    const QString rich = QStringLiteral("SELECT %1 FROM RICHIEDENTI WHERE ID_RICHIEDENTE = ?");
    const QString comuneOfApplicant = QStringLiteral(
        "SELECT (SELECT NOME FROM COMUNI WHERE ID = R.%1) FROM RICHIEDENTI R WHERE R.ID_RICHIEDENTE = ?");
    const QString R = QStringLiteral("RICHIESTE");
    const QString idr = QStringLiteral("ID_RICHIEDENTE");
    text(QStringLiteral("lkCodFisRich"), 16, idr, R, rich.arg(QStringLiteral("PERS_CF")));
    text(QStringLiteral("lkCognomeRich"), 26, idr, R, rich.arg(QStringLiteral("PERS_COGNOME")));
    text(QStringLiteral("lkNomeRich"), 25, idr, R, rich.arg(QStringLiteral("PERS_NOME")));
    text(QStringLiteral("lkSessoRich"), 1, idr, R, rich.arg(QStringLiteral("PERS_SESSO")));
    text(QStringLiteral("lkDnascitaRich"), 0, idr, R, rich.arg(QStringLiteral("PERS_DNASCITA")), ColumnType::Date);
    text(QStringLiteral("lkDenomAz"), 50, idr, R, rich.arg(QStringLiteral("AZ_DENOMINAZIONE")));
    text(QStringLiteral("lkCOMUNE"), 35, idr, R, comuneOfApplicant.arg(QStringLiteral("ID_COMUNE")));
    text(QStringLiteral("lkCOMUNE_AZ"), 35, idr, R, comuneOfApplicant.arg(QStringLiteral("ID_COMUNE_AZ")));

    const QString comune = QStringLiteral("SELECT %1 FROM COMUNI WHERE ID = ?");
    text(QStringLiteral("lkCOMUNE"), 35, QStringLiteral("ID_COMUNE"), QStringLiteral("RICHIEDENTI"),
         comune.arg(QStringLiteral("NOME")));
    text(QStringLiteral("lkCOMUNE_AZ"), 35, QStringLiteral("ID_COMUNE_AZ"), QStringLiteral("RICHIEDENTI"),
         comune.arg(QStringLiteral("NOME")));
    ttRICHIEDENTI.addLookup(
        {QStringLiteral("CDENOM"), ColumnType::Text, 52, [](const Table& v, const Row& row) {
             if (v.rowValue(row, QStringLiteral("TIPO_RICHIEDENTE")).toString() == QLatin1String("P"))
                 return QVariant(v.rowValue(row, QStringLiteral("PERS_COGNOME")).toString() + QLatin1Char(' ') +
                                 v.rowValue(row, QStringLiteral("PERS_NOME")).toString());
             return QVariant(v.rowValue(row, QStringLiteral("AZ_DENOMINAZIONE")).toString());
         }});
    text(QStringLiteral("lkCOMUNE"), 35, QStringLiteral("ID_COMUNE"), QStringLiteral("IMPRESE"),
         comune.arg(QStringLiteral("NOME")));
    text(QStringLiteral("lkPROV"), 2, QStringLiteral("ID_COMUNE"), QStringLiteral("IMPRESE"),
         comune.arg(QStringLiteral("PROV")));

    const QString B = QStringLiteral("BENEFICIARI");
    text(QStringLiteral("lkCODFIS"), 16, idr, B, rich.arg(QStringLiteral("PERS_CF")));
    text(QStringLiteral("lkCOGN"), 35, idr, B, rich.arg(QStringLiteral("PERS_COGNOME")));
    text(QStringLiteral("lkNOME"), 30, idr, B, rich.arg(QStringLiteral("PERS_NOME")));
    text(QStringLiteral("lkSESSO"), 1, idr, B, rich.arg(QStringLiteral("PERS_SESSO")));
    text(QStringLiteral("lkAZDENOM"), 60, idr, B, rich.arg(QStringLiteral("AZ_DENOMINAZIONE")));

    // MDPROF keeps the professional's id as text; it is compared as a whole number.
    const QString prof = QStringLiteral("SELECT %1 FROM PROFESSIONISTI WHERE ID_PROFESSIONISTA = CAST(? AS INTEGER)");
    const QString P = QStringLiteral("MDPROF");
    const QString idp = QStringLiteral("ID_PROFESSIONISTA");
    text(QStringLiteral("lkCODFIS"), 16, idp, P, prof.arg(QStringLiteral("CODICE_FISCALE")));
    text(QStringLiteral("lkALBO"), 0, idp, P, prof.arg(QStringLiteral("ALBO")), ColumnType::Integer);
    text(QStringLiteral("lkPROV_ALBO"), 2, idp, P, prof.arg(QStringLiteral("PROVINCIA_ALBO")));
    text(QStringLiteral("lkNUM_ISCRIZIONE"), 10, idp, P, prof.arg(QStringLiteral("NUMERO_ISCRIZIONE")));
    text(QStringLiteral("lkCOGN"), 26, idp, P, prof.arg(QStringLiteral("COGNOME")));
    text(QStringLiteral("lkNOME"), 25, idp, P, prof.arg(QStringLiteral("NOME")));

    const QString impr = QStringLiteral("SELECT %1 FROM IMPRESE WHERE ID_IMPRESA = ?");
    const QString M = QStringLiteral("MDIMPR");
    text(QStringLiteral("lkPI"), 11, QStringLiteral("ID_IMPRESA"), M, impr.arg(QStringLiteral("PARTITA_IVA")));
    text(QStringLiteral("lkDENOM"), 50, QStringLiteral("ID_IMPRESA"), M, impr.arg(QStringLiteral("DENOMINAZIONE")));
    text(QStringLiteral("lkNOMECOMUNE"), 35, QStringLiteral("ID_COMUNE"), M, comune.arg(QStringLiteral("NOME")));
    text(QStringLiteral("lkCODCOMUNE"), 4, QStringLiteral("ID_COMUNE"), M, comune.arg(QStringLiteral("CODICE")));
}

QString Tdm::tableFilePath(const QString& table) const
{
    const QString wanted = table.toUpper() + QStringLiteral(".DAT");
    const QDir dir(dataFolder());
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& f : files)
        if (f.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(f);
    return dir.filePath(wanted);
}

Table* Tdm::view(const QString& table)
{
    for (Table* t : views())
        if (t->tableName().compare(table, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

QList<Table*> Tdm::views()
{
    return {&ttDENUNCE,     &ttRICHIESTE, &ttRICHIEDENTI, &ttIMPRESE, &ttPROFESSIONISTI,
            &ttBENEFICIARI, &ttCATASTO,   &ttMDPROF,      &ttMDIMPR,  &ttCOMUNI};
}

void Tdm::DataModuleCreate()
{
    m_startError.clear();
    const QString oldIni = m_programFolder + QStringLiteral("ZOL2007.INI");
    if (QFileInfo::exists(oldIni) && !QFileInfo::exists(settingsFile()))
        QFile::rename(oldIni, settingsFile()); // a failed rename is ignored: defaults are read
    if (readSettings)
        readSettings(*this);
    closeConnection();
    if (!openConnection()) {
        m_startError = m_error;
        ui().error(m_startError);
        return;
    }
    if (upgradeSchema)
        upgradeSchema(*this);
    if (migrateRequestLayout && migrateRequestLayout(*this) && markMigrationDone)
        markMigrationDone(*this);
    if (!OpenTables())
        ui().error(m_startError);
}

void Tdm::DataModuleDestroy()
{
    CloseTables();
    closeConnection();
    if (writeSettings)
        writeSettings(*this);
}

bool Tdm::openConnection()
{
    if (m_db.isOpen())
        return true;
    const QString data = dataFolder();
    if (!QFileInfo(data).isDir()) {
        m_error = QStringLiteral("La cartella dei dati %1 non esiste.").arg(QDir::toNativeSeparators(data));
        return false;
    }
    // The connection's own file holds no table: it only anchors the journal that makes one
    // transaction over the ten table files commit or roll back as a whole.
    if (!m_db.open(data + QStringLiteral("ZOL2007.DB"), true)) {
        m_error = QStringLiteral("Impossibile aprire l'archivio in %1: %2")
                      .arg(QDir::toNativeSeparators(data), m_db.error().text);
        return false;
    }
    return true;
}

void Tdm::closeConnection()
{
    if (!m_db.isOpen())
        return;
    if (m_db.inTransaction())
        m_db.exec(QStringLiteral("ROLLBACK"));
    CloseTables();
    m_db.close();
}

bool Tdm::isTableOpen(const QString& table) const
{
    if (!m_db.isOpen())
        return false;
    Statement s = const_cast<Connection&>(m_db).prepare(
        QStringLiteral("SELECT 1 FROM pragma_database_list WHERE name = ? COLLATE NOCASE"));
    s.bind(1, table.toUpper());
    return s.isValid() && s.step();
}

bool Tdm::OpenTables()
{
    m_startError.clear();
    for (Table* t : views()) {
        const ArchiveError e = OpenTableWithRepair(*t);
        // A table that cannot be opened even after its repair stays closed; the others still open.
        if (e.isError() && m_startError.isEmpty())
            m_startError = e.text;
    }
    return m_startError.isEmpty();
}

void Tdm::CloseTables()
{
    m_lookupStatements.clear();
    for (Table* t : views())
        t->close();
    T1.close();
    T2.close();
    Q1.close();
    Q2.close();
    QSel.close();
    if (!m_db.isOpen())
        return;
    if (m_db.inTransaction())
        m_db.exec(QStringLiteral("ROLLBACK"));
    for (Table* t : views())
        if (isTableOpen(t->tableName()))
            m_db.detach(t->tableName());
}

namespace {

// Attaches a table file and checks its pages; the engine's error on the first failure.
SqlError attachChecked(Connection& db, const QString& schema, const QString& path)
{
    if (!db.attach(schema, path))
        return db.error();
    const QString problem = quickCheck(db, schema);
    if (problem.isEmpty())
        return {};
    SqlError e = db.currentError();
    if (!e.isError() || e.code == SQLITE_ROW || e.code == SQLITE_DONE)
        e = {SQLITE_CORRUPT, SQLITE_CORRUPT, problem};
    db.detach(schema);
    return e;
}

} // namespace

ArchiveError Tdm::OpenTableWithRepair(Table& table)
{
    const QString name = table.tableName();
    const QString path = tableFilePath(name);
    if (!m_db.isOpen())
        return {ArchiveError::Other, QStringLiteral("L'archivio non è aperto.")};
    if (isTableOpen(name))
        return table.isActive() || table.open() ? ArchiveError{}
                                                : ArchiveError{ArchiveError::Other, table.errorString()};

    const ArchiveError first = ArchiveError::fromSql(attachChecked(m_db, name, path), table.fileName());
    if (!first.isError())
        return table.open() ? ArchiveError{} : ArchiveError{ArchiveError::Other, table.errorString()};
    if (!first.isDamage())
        return {}; // stays closed, without a message

    ui().beginProgress(QStringLiteral("Attendere prego ..."), QString());
    ui().processEvents();
    const RepairResult repaired =
        rebuildTableFile(path, [this, &table](int percent) { RepairProgress(table, percent); });
    if (!repaired.ok) {
        ui().error(QStringLiteral("Attenzione la Tabella \"%1\" risulta danneggiata\n"
                                  "in modo irreversibile oppure é in uso da un altro\n"
                                  "Utente. Utilizzare il menu Utilità e la funzione\n"
                                  "Riparazione archivi per ripristinarla.")
                       .arg(table.fileName()));
    }
    const ArchiveError second = ArchiveError::fromSql(attachChecked(m_db, name, path), table.fileName());
    ui().endProgress();
    if (second.isError())
        return second;
    return table.open() ? ArchiveError{} : ArchiveError{ArchiveError::Other, table.errorString()};
}

void Tdm::RepairProgress(Table& table, int percent)
{
    ui().setProgress(QStringLiteral(" Riparazione Tabella ") + table.fileName() + QStringLiteral("..."), percent);
    ui().processEvents();
}

bool Tdm::tableVersion(const QString& table, int* major, int* minor)
{
    QVariant v;
    if (isTableOpen(table)) {
        v = m_db.scalar(QStringLiteral("PRAGMA \"%1\".user_version").arg(table.toUpper()));
    } else {
        Connection c;
        if (!c.open(tableFilePath(table), false, true))
            return false;
        v = c.scalar(QStringLiteral("PRAGMA user_version"));
    }
    if (!v.isValid())
        return false;
    const int n = v.toInt();
    if (major)
        *major = (n >> 16) & 0xffff;
    if (minor)
        *minor = n & 0xffff;
    return true;
}

bool Tdm::StartTransaction()
{
    if (!m_db.isOpen()) {
        m_error = QStringLiteral("L'archivio non è aperto.");
        return false;
    }
    if (m_db.inTransaction()) {
        m_error = QStringLiteral("È già in corso un'altra operazione sull'archivio.");
        return false;
    }
    if (!m_db.exec(QStringLiteral("BEGIN"))) {
        m_error = m_db.error().text;
        return false;
    }
    return true;
}

bool Tdm::Commit()
{
    if (!m_db.inTransaction())
        return true;
    for (Table* t : views())
        if (t->isEditing() && !t->post()) {
            m_error = t->errorString();
            return false;
        }
    if (!m_db.exec(QStringLiteral("COMMIT"))) {
        m_error = QStringLiteral("Salvataggio dei dati non riuscito: %1").arg(m_db.error().text);
        return false;
    }
    return true;
}

bool Tdm::Rollback()
{
    for (Table* t : views())
        if (t->isEditing())
            t->cancel();
    if (m_db.inTransaction() && !m_db.exec(QStringLiteral("ROLLBACK"))) {
        m_error = m_db.error().text;
        refreshOpenViews();
        return false;
    }
    refreshOpenViews();
    return true;
}

void Tdm::refreshOpenViews()
{
    // Masters first: their details follow them.
    for (Table* t : views())
        if (t->isActive() && !t->master())
            t->refresh();
    for (Table* t : views())
        if (t->isActive() && t->master())
            t->refresh();
}

void WaitSeconds(int n)
{
    if (n <= 0 || !QCoreApplication::instance())
        return;
    // An event loop that sleeps until the timer fires: the windows keep painting and the
    // processor stays idle.
    QEventLoop loop;
    QTimer::singleShot(n * 1000, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace zol
