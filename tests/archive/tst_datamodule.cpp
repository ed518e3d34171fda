#include "ScriptedInteraction.h"
#include "TestFolder.h"

#include "archive/Connection.h"
#include "archive/DatasetModel.h"
#include "archive/Installer.h"
#include "archive/Tdm.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTimer>

#include <QTest>
#include <ctime>

using namespace zol;

class TestDataModule : public QObject
{
    Q_OBJECT

private:
    static QByteArray fileHash(const QString& path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    static int countRows(const QString& dataPath, const QString& table)
    {
        Connection c;
        c.open(dataPath + table + QStringLiteral(".DAT"));
        return c.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
    }

private slots:
    void newInstallation_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("rows");
        QTest::newRow("DENUNCE") << "DENUNCE" << 1 << 1 << 0;
        QTest::newRow("RICHIESTE") << "RICHIESTE" << 1 << 0 << 0;
        QTest::newRow("RICHIEDENTI") << "RICHIEDENTI" << 2 << 0 << 0;
        QTest::newRow("IMPRESE") << "IMPRESE" << 2 << 0 << 0;
        QTest::newRow("PROFESSIONISTI") << "PROFESSIONISTI" << 2 << 0 << 0;
        QTest::newRow("BENEFICIARI") << "BENEFICIARI" << 1 << 0 << 0;
        QTest::newRow("CATASTO") << "CATASTO" << 1 << 0 << 0;
        QTest::newRow("MDPROF") << "MDPROF" << 2 << 0 << 0;
        QTest::newRow("MDIMPR") << "MDIMPR" << 2 << 0 << 0;
        QTest::newRow("COMUNI") << "COMUNI" << 1 << 0 << 8182;
    }
    void newInstallation()
    {
        QFETCH(QString, table);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, rows);
        test::TestFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.errorString()));
        Tdm dm(folder.path());
        int ma = -1, mi = -1;
        QVERIFY(dm.tableVersion(table, &ma, &mi)); // readable before the table is open
        QCOMPARE(ma, major);
        QCOMPARE(mi, minor);
        QCOMPARE(countRows(folder.dataPath(), table), rows);
    }

    void namedIndexesAndColumns()
    {
        test::TestFolder folder;
        Connection c;
        QVERIFY(c.open(folder.dataPath() + QStringLiteral("COMUNI.DAT")));
        QCOMPARE(
            c
                .scalar(QStringLiteral(
                    "SELECT count(*) FROM sqlite_master WHERE type='index' AND name IN ('ttCOMUNIIndex1','idx_nome')"))
                .toInt(),
            2);
        QCOMPARE(c.scalar(QStringLiteral("SELECT NOME FROM COMUNI WHERE CODICE='H501'")).toString(),
                 QStringLiteral("ROMA"));
        Connection r;
        QVERIFY(r.open(folder.dataPath() + QStringLiteral("RICHIESTE.DAT")));
        QCOMPARE(
            r.scalar(QStringLiteral("SELECT type FROM pragma_table_info('RICHIESTE') WHERE name='NUMERO_PROTOCOLLO'"))
                .toString(),
            QStringLiteral("VARCHAR(16)"));
        QCOMPARE(r.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='DENUNCIA_IDX'")).toInt(), 1);
    }

    void refusesExistingArchive()
    {
        test::TestFolder folder;
        QString error;
        QVERIFY(!Installer::createProgramFolder(folder.path(), &error));
        QVERIFY(error.contains(QStringLiteral("contiene già un archivio")));
    }

    void oldSettingsFileName_data()
    {
        QTest::addColumn<bool>("oldExists");
        QTest::addColumn<bool>("newExists");
        QTest::addColumn<bool>("oldAfter");
        QTest::addColumn<QByteArray>("newContentAfter");
        QTest::newRow("only old: renamed") << true << false << false << QByteArray("[ENTE]\r\nBELFIORE=OLD\r\n");
        QTest::newRow("both: both stay") << true << true << true << QByteArray("[ENTE]\r\nBELFIORE=NEW\r\n");
        QTest::newRow("only new") << false << true << false << QByteArray("[ENTE]\r\nBELFIORE=NEW\r\n");
    }
    void oldSettingsFileName()
    {
        QFETCH(bool, oldExists);
        QFETCH(bool, newExists);
        QFETCH(bool, oldAfter);
        QFETCH(QByteArray, newContentAfter);
        test::TestFolder folder;
        auto write = [](const QString& path, const QByteArray& bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        if (oldExists)
            write(folder.filePath(QStringLiteral("ZOL2007.INI")), "[ENTE]\r\nBELFIORE=OLD\r\n");
        if (newExists)
            write(folder.filePath(QStringLiteral("ZOL.INI")), "[ENTE]\r\nBELFIORE=NEW\r\n");
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        bool settingsRead = false;
        dm.readSettings = [&](Tdm& d) { settingsRead = QFile::exists(d.settingsFile()); };
        dm.DataModuleCreate();
        QVERIFY(settingsRead); // the rename happens before the settings are read
        QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("ZOL2007.INI"))), oldAfter);
        QFile f(folder.filePath(QStringLiteral("ZOL.INI")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), newContentAfter);
        QVERIFY(ui.messages.isEmpty());
    }

    void startOpensEveryTable()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        QStringList order;
        dm.readSettings = [&](Tdm& d) { order << QStringLiteral("settings:") + (d.isConnected() ? "open" : "closed"); };
        dm.upgradeSchema = [&](Tdm& d) {
            order << QStringLiteral("upgrade:") + (d.ttDENUNCE.isActive() ? "tables" : "notables");
        };
        dm.migrateRequestLayout = [&](Tdm&) {
            order << QStringLiteral("migrate");
            return true;
        };
        dm.markMigrationDone = [&](Tdm&) { order << QStringLiteral("mark"); };
        dm.DataModuleCreate();
        QCOMPARE(order, (QStringList{"settings:closed", "upgrade:notables", "migrate", "mark"}));
        for (Table* t : dm.views())
            QVERIFY2(t->isActive(), qPrintable(t->name()));
        QCOMPARE(dm.ttCOMUNI.rowCount(), 8182);
        QCOMPARE(dm.ttCOMUNI.text("NOME"), QStringLiteral("ABANO TERME")); // read in name order
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(ui.progressCaptions.isEmpty());
        bool written = false;
        dm.writeSettings = [&](Tdm& d) { written = !d.isConnected(); };
        dm.DataModuleDestroy();
        QVERIFY(written);
        QVERIFY(!dm.ttDENUNCE.isActive());
    }

    void newRequestDefaultsAndMasterKeys()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QVERIFY(dm.ttDENUNCE.append());
        dm.ttDENUNCE.setValue("ANNO", 2012);
        QVERIFY2(dm.ttDENUNCE.post(), qPrintable(dm.ttDENUNCE.errorString()));
        const qlonglong idDenuncia = dm.ttDENUNCE.integer("ID_DENUNCIA");
        QVERIFY(idDenuncia > 0);

        QVERIFY(dm.ttRICHIESTE.append());
        // Defaults are there before anything is typed.
        QCOMPARE(dm.ttRICHIESTE.value("NUM_TRASM").toInt(), 1);
        QCOMPARE(dm.ttRICHIESTE.value("PADRE").toInt(), 0);
        QCOMPARE(dm.ttRICHIESTE.value("DATA_CREAZIONE").toDate(), QDate::currentDate());
        QCOMPARE(dm.ttRICHIESTE.integer("ID_DENUNCIA"), idDenuncia);
        QVERIFY(dm.ttRICHIESTE.post());
        const qlonglong idRichiesta = dm.ttRICHIESTE.integer("ID_RICHIESTA");

        for (Table* detail : {&dm.ttBENEFICIARI, &dm.ttCATASTO, &dm.ttMDPROF, &dm.ttMDIMPR}) {
            QVERIFY(detail->append());
            QVERIFY2(detail->post(), qPrintable(detail->errorString()));
        }
        Connection c;
        c.open(folder.dataPath() + QStringLiteral("BENEFICIARI.DAT"));
        QCOMPARE(c.scalar(QStringLiteral("SELECT ID_RICHIESTA FROM BENEFICIARI")).toLongLong(), idRichiesta);
        Connection r;
        r.open(folder.dataPath() + QStringLiteral("RICHIESTE.DAT"));
        QCOMPARE(r.scalar(QStringLiteral("SELECT NUM_TRASM || '/' || PADRE || '/' || DATA_CREAZIONE FROM RICHIESTE"))
                     .toString(),
                 QStringLiteral("1/0/") + QDate::currentDate().toString(Qt::ISODate));

        // A second filing shows none of the first one's requests; going back shows them again.
        QVERIFY(dm.ttDENUNCE.append());
        QVERIFY(dm.ttDENUNCE.post());
        QCOMPARE(dm.ttRICHIESTE.rowCount(), 0);
        QCOMPARE(dm.ttCATASTO.rowCount(), 0);
        dm.ttDENUNCE.first();
        QCOMPARE(dm.ttRICHIESTE.rowCount(), 1);
        QCOMPARE(dm.ttCATASTO.rowCount(), 1);
    }

    void derivedColumns()
    {
        test::TestFolder folder;
        const QString longName = QString(50, QLatin1Char('N')).replace(35, 1, QLatin1Char('X'));
        {
            Connection c;
            c.open(folder.dataPath() + QStringLiteral("COMUNI.DAT"));
            QVERIFY(
                c.exec(QStringLiteral(
                           "INSERT INTO COMUNI (ID, CODICE, NOME, PROV, CAP) VALUES (90000, 'Z999', ?, 'XX', '00000')"),
                       QVariantList{longName}));
            Connection r;
            r.open(folder.dataPath() + QStringLiteral("RICHIEDENTI.DAT"));
            QVERIFY(r.exec(
                QStringLiteral("INSERT INTO RICHIEDENTI (ID_RICHIEDENTE, TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, "
                               "PERS_NOME, AZ_DENOMINAZIONE, ID_COMUNE, ID_COMUNE_AZ) VALUES "
                               "(1, 'P', 'RSSMRA80A01H501U', 'ROSSI', 'MARIO', 'NON USATA', 90000, 424242),"
                               "(2, NULL, NULL, 'VERDI', 'ANNA', 'EDIL SRL', NULL, NULL),"
                               "(3, 'p', NULL, 'BIANCHI', 'LUCA', 'ALTRA', NULL, NULL)")));
            Connection p;
            p.open(folder.dataPath() + QStringLiteral("PROFESSIONISTI.DAT"));
            QVERIFY(
                p.exec(QStringLiteral("INSERT INTO PROFESSIONISTI (ID_PROFESSIONISTA, CODICE_FISCALE, COGNOME, ALBO) "
                                      "VALUES (7, 'PRFGNN70A01H501X', 'GIANNI', 2)")));
        }
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QVERIFY(dm.ttRICHIEDENTI.locate("ID_RICHIEDENTE", 1));
        QCOMPARE(dm.ttRICHIEDENTI.text("lkCOMUNE"), longName.left(35));
        QCOMPARE(dm.ttRICHIEDENTI.value("lkCOMUNE_AZ"), QVariant()); // key finds nothing
        QCOMPARE(dm.ttRICHIEDENTI.text("CDENOM"), QStringLiteral("ROSSI MARIO"));
        QVERIFY(dm.ttRICHIEDENTI.locate("ID_RICHIEDENTE", 2));
        QCOMPARE(dm.ttRICHIEDENTI.text("CDENOM"), QStringLiteral("EDIL SRL")); // empty type: the denomination
        QVERIFY(dm.ttRICHIEDENTI.locate("ID_RICHIEDENTE", 3));
        QCOMPARE(dm.ttRICHIEDENTI.text("CDENOM"), QStringLiteral("ALTRA")); // only exactly "P" is a person

        dm.ttDENUNCE.append();
        dm.ttDENUNCE.post();
        dm.ttRICHIESTE.append();
        dm.ttRICHIESTE.setValue("ID_RICHIEDENTE", 1);
        QCOMPARE(dm.ttRICHIESTE.text("lkCOMUNE"), longName.left(35)); // also while editing
        QVERIFY(dm.ttRICHIESTE.post());
        QCOMPARE(dm.ttRICHIESTE.text("lkCodFisRich"), QStringLiteral("RSSMRA80A01H501U"));
        QCOMPARE(dm.ttRICHIESTE.text("lkCOMUNE"), longName.left(35));

        dm.ttMDPROF.append();
        dm.ttMDPROF.setValue("ID_PROFESSIONISTA", "7");
        dm.ttMDPROF.post();
        QCOMPARE(dm.ttMDPROF.text("lkCOGN"), QStringLiteral("GIANNI"));
        QCOMPARE(dm.ttMDPROF.value("lkALBO").toInt(), 2);
        dm.ttMDPROF.append();
        dm.ttMDPROF.setValue("ID_PROFESSIONISTA", "8");
        dm.ttMDPROF.post();
        QCOMPARE(dm.ttMDPROF.value("lkCOGN"), QVariant());
        QCOMPARE(dm.ttMDPROF.value("lkCODFIS"), QVariant());
    }

    void refusedText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("o with double acute")
            << "PERS_COGNOME" << QStringLiteral("KŐVÁRI")
            << QStringLiteral("Il campo PERS_COGNOME contiene il carattere \"Ő\", che l'archivio "
                              "non può conservare: il dato non è stato salvato.");
        QTest::newRow("emoji") << "AZ_DENOMINAZIONE" << QStringLiteral("EDIL 😀 SRL")
                               << QStringLiteral(
                                      "Il campo AZ_DENOMINAZIONE contiene il carattere \"😀\", che l'archivio "
                                      "non può conservare: il dato non è stato salvato.");
        QTest::newRow("too long") << "PERS_CF" << QStringLiteral("RSSMRA80A01H501UX")
                                  << QStringLiteral("Il campo PERS_CF accetta al massimo 16 caratteri (ne sono stati "
                                                    "inseriti 17): il dato non è stato salvato.");
    }
    void refusedText()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QVERIFY(dm.ttRICHIEDENTI.append());
        dm.ttRICHIEDENTI.setValue("PERS_NOME", QStringLiteral("GIOSUÈ €")); // Windows-1252 holds these
        QVERIFY(dm.ttRICHIEDENTI.setValue(field, value));
        QVERIFY(!dm.ttRICHIEDENTI.post());
        QCOMPARE(dm.ttRICHIEDENTI.errorString(), message);
        QCOMPARE(countRows(folder.dataPath(), QStringLiteral("RICHIEDENTI")), 0);
        // Corrected, the same row is stored whole.
        dm.ttRICHIEDENTI.setValue(field, QStringLiteral("ROSSI"));
        QVERIFY(dm.ttRICHIEDENTI.post());
        QCOMPARE(countRows(folder.dataPath(), QStringLiteral("RICHIEDENTI")), 1);
        dm.ttRICHIEDENTI.refresh();
        QCOMPARE(dm.ttRICHIEDENTI.text("PERS_NOME"), QStringLiteral("GIOSUÈ €"));
    }

    void movingOffARefusedRowKeepsIt()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        for (const char* name : {"ALFA", "BETA"}) {
            dm.ttIMPRESE.append();
            dm.ttIMPRESE.setValue("DENOMINAZIONE", name);
            QVERIFY(dm.ttIMPRESE.post());
        }
        QCOMPARE(dm.ttIMPRESE.recNo(), 1);
        dm.ttIMPRESE.edit();
        dm.ttIMPRESE.setValue("PARTITA_IVA", QStringLiteral("012345678901")); // 12 of 11
        for (auto move : {&Dataset::first, &Dataset::last, &Dataset::next, &Dataset::prior}) {
            (dm.ttIMPRESE.*move)();
            QCOMPARE(dm.ttIMPRESE.recNo(), 1);
            QCOMPARE(dm.ttIMPRESE.state(), Dataset::State::Edit);
            QCOMPARE(dm.ttIMPRESE.text("DENOMINAZIONE"), QStringLiteral("BETA"));
        }
        QVERIFY(dm.ttIMPRESE.errorString().startsWith(QStringLiteral("Il campo PARTITA_IVA accetta al massimo 11")));
        dm.ttIMPRESE.cancel();
        dm.ttIMPRESE.first();
        QCOMPARE(dm.ttIMPRESE.text("DENOMINAZIONE"), QStringLiteral("ALFA"));
        QCOMPARE(dm.ttIMPRESE.value("PARTITA_IVA"), QVariant());
    }

    void editAndDeleteReachTheFile()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        dm.ttIMPRESE.append();
        dm.ttIMPRESE.setValue("DENOMINAZIONE", "EDILIZIA ROSSI");
        dm.ttIMPRESE.setValue("PARTITA_IVA", "01234567890");
        QVERIFY(dm.ttIMPRESE.post());
        QVERIFY(dm.ttIMPRESE.locate("DENOMINAZIONE", QStringLiteral("edilizia rossi"))); // without regard to case
        QVERIFY(dm.ttIMPRESE.edit());
        dm.ttIMPRESE.setValue("DENOMINAZIONE", "EDILIZIA BIANCHI");
        dm.ttIMPRESE.cancel();
        QCOMPARE(dm.ttIMPRESE.text("DENOMINAZIONE"), QStringLiteral("EDILIZIA ROSSI"));
        dm.ttIMPRESE.edit();
        dm.ttIMPRESE.setValue("PARTITA_IVA", QString());
        QVERIFY(dm.ttIMPRESE.post());
        Connection c;
        c.open(folder.dataPath() + QStringLiteral("IMPRESE.DAT"));
        QCOMPARE(
            c.scalar(QStringLiteral("SELECT coalesce(PARTITA_IVA, 'NULL') || DENOMINAZIONE FROM IMPRESE")).toString(),
            QStringLiteral("NULLEDILIZIA ROSSI"));
        QVERIFY(dm.ttIMPRESE.remove());
        QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM IMPRESE")).toInt(), 0);
        QVERIFY(dm.ttIMPRESE.isEmpty());
    }

    void rollbackLeavesFilesAsBefore()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        dm.ttDENUNCE.append();
        dm.ttDENUNCE.post();
        const QStringList tables{"RICHIESTE", "RICHIEDENTI", "CATASTO"};
        QList<QByteArray> before;
        for (const QString& t : tables)
            before << fileHash(folder.dataPath() + t + QStringLiteral(".DAT"));
        QVERIFY(dm.StartTransaction());
        QVERIFY(!dm.StartTransaction()); // one at a time
        QCOMPARE(dm.errorString(), QStringLiteral("È già in corso un'altra operazione sull'archivio."));
        for (int i = 0; i < 300; ++i) {
            dm.ttRICHIEDENTI.append();
            dm.ttRICHIEDENTI.setValue("PERS_COGNOME", QStringLiteral("COGNOME %1").arg(i));
            QVERIFY(dm.ttRICHIEDENTI.post());
        }
        dm.ttRICHIESTE.append();
        dm.ttRICHIESTE.post();
        dm.ttCATASTO.append();
        dm.ttCATASTO.setValue("FOGLIO", "12");
        dm.ttCATASTO.post();
        QVERIFY(dm.InTransaction());
        QVERIFY(dm.Rollback());
        QVERIFY(!dm.InTransaction());
        for (int i = 0; i < tables.size(); ++i)
            QCOMPARE(fileHash(folder.dataPath() + tables[i] + QStringLiteral(".DAT")), before[i]);
        QCOMPARE(dm.ttRICHIEDENTI.rowCount(), 0); // the views show the archive as it is
        QCOMPARE(dm.ttRICHIESTE.rowCount(), 0);
    }

    void queryWithNamedParameters()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        dm.Q1.setSql(QStringLiteral("select NOME, CAP from COMUNI where CODICE = :cod"));
        dm.Q1.setParam(QStringLiteral(":cod"), QStringLiteral("F205"));
        QVERIFY2(dm.Q1.open(), qPrintable(dm.Q1.errorString()));
        QCOMPARE(dm.Q1.rowCount(), 1);
        QCOMPARE(dm.Q1.text("nome"), QStringLiteral("MILANO"));
        dm.Q1.setSql(QStringLiteral("delete from MDPROF where ID_RICHIESTA = :idr"));
        dm.Q1.setParam(QStringLiteral("idr"), 5);
        QVERIFY(dm.Q1.execSql());
        dm.Q1.setSql(QStringLiteral("select nonexistent from COMUNI"));
        QVERIFY(!dm.Q1.open());
        QVERIFY(dm.Q1.errorString().contains(QStringLiteral("nonexistent")));
    }

    void gridModelFollowsTheView()
    {
        test::TestFolder folder;
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        DatasetModel model(&dm.ttDENUNCE);
        model.setColumns(
            {QStringLiteral("DESCRIZIONE"), QStringLiteral("DATA_CREAZIONE"), QStringLiteral("PROGRESSIVO")},
            {QStringLiteral("Denuncia"), QStringLiteral("Creata il"), QStringLiteral("N.")});
        QCOMPARE(model.rowCount(), 0);
        for (int n : {2, 10, 1}) {
            dm.ttDENUNCE.append();
            dm.ttDENUNCE.setValue("PROGRESSIVO", n);
            dm.ttDENUNCE.setValue("DATA_CREAZIONE", QDate(2012, 3, n));
            dm.ttDENUNCE.post();
        }
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Creata il"));
        QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("10/03/2012"));
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(Qt::EditRole);
        sorted.sort(2, Qt::AscendingOrder);
        QCOMPARE(sorted.index(2, 2).data().toInt(), 10); // as numbers, not as texts
        sorted.sort(1, Qt::DescendingOrder);
        QCOMPARE(sorted.index(0, 1).data().toString(), QStringLiteral("10/03/2012"));
        dm.ttDENUNCE.first();
        dm.ttDENUNCE.edit();
        dm.ttDENUNCE.setValue("DESCRIZIONE", QStringLiteral("Denuncia n. 2 / 2012"));
        dm.ttDENUNCE.post();
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("Denuncia n. 2 / 2012"));
    }

    void waitSecondsKeepsEventsFlowingWithoutBusyLoop()
    {
        int fired = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++fired; });
        ticker.start(100);
        QElapsedTimer wall;
        wall.start();
        const std::clock_t cpu = std::clock();
        WaitSeconds(1);
        const double cpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY(wall.elapsed() >= 1000);
        QVERIFY(fired >= 5);                                       // events were handled during the wait
        QVERIFY2(cpuMs < 300, qPrintable(QString::number(cpuMs))); // and the processor rested
    }

    void memTable()
    {
        Tdm dm;
        dm.mtProblemi.open();
        dm.mtProblemi.append();
        dm.mtProblemi.setValue("cognome", "ROSSI");
        dm.mtProblemi.setValue("dnascita", QDate(1980, 1, 1));
        QVERIFY(dm.mtProblemi.post());
        dm.mtProblemi.append();
        dm.mtProblemi.setValue("cf", QString(17, QLatin1Char('A')));
        QVERIFY(!dm.mtProblemi.post());
        dm.mtProblemi.cancel();
        QCOMPARE(dm.mtProblemi.rowCount(), 1);
        QCOMPARE(dm.mtProblemi.value("dnascita").toDate(), QDate(1980, 1, 1));
        dm.mtProblemi.emptyTable();
        QCOMPARE(dm.mtProblemi.rowCount(), 0);
    }

    void missingDataFolderIsReported()
    {
        QTemporaryDir empty;
        test::ScriptedInteraction ui;
        Tdm dm(empty.path());
        dm.DataModuleCreate();
        QCOMPARE(ui.texts(), QStringList{QStringLiteral("La cartella dei dati %1 non esiste.")
                                             .arg(QDir::toNativeSeparators(empty.path() + QStringLiteral("/dati/")))});
        QVERIFY(!dm.ttDENUNCE.isActive());
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
