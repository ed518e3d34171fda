// Filings: numbering within the year, creation refused while one of the year is open, the
// change of year with its messages, the information on the produced file, states and guards.

#include "support/ScriptedInteraction.h"
#include "support/TestFolder.h"

#include "archive/Tdm.h"
#include "filings/FilingLifecycle.h"

#include <QDate>
#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(zol::FilingOperation)

using namespace zol;
using zol::test::ScriptedInteraction;
using zol::test::TestFolder;

// Filings written as "ANNO/PROGRESSIVO/STATO", in table order.
using Filings = QStringList;

class TestFilingLifecycle : public QObject
{
    Q_OBJECT

private:
    struct Archive
    {
        TestFolder folder;
        Tdm dm{folder.path()};
        Archive() { dm.DataModuleCreate(); }
    };

    static void addFilings(Tdm& dm, const Filings& filings)
    {
        for (const QString& f : filings) {
            const QStringList p = f.split(QLatin1Char('/'));
            Table& d = dm.ttDENUNCE;
            QVERIFY(d.append());
            d.setValue(QStringLiteral("ANNO"), p[0].toInt());
            d.setValue(QStringLiteral("PROGRESSIVO"), p[1].toInt());
            d.setValue(QStringLiteral("DESCRIZIONE"), descrizioneDenuncia(p[1].toInt(), p[0].toInt()));
            d.setValue(QStringLiteral("STATO"), p[2]);
            d.setValue(QStringLiteral("DATA_CREAZIONE"), QDate(2010, 5, 4));
            QVERIFY2(d.post(), qPrintable(d.errorString()));
        }
    }

    // What the archive holds, read back from the table file, with the descriptions checked.
    static Filings stored(Tdm& dm)
    {
        Query q(&dm, QStringLiteral("check"));
        q.setSql(QStringLiteral("select ANNO, PROGRESSIVO, STATO, DESCRIZIONE from DENUNCE order by ID_DENUNCIA"));
        Filings out;
        if (!q.open())
            return {q.errorString()};
        for (q.first(); !q.eof(); q.next()) {
            QString f = QStringLiteral("%1/%2/%3")
                            .arg(q.text(QStringLiteral("ANNO")), q.text(QStringLiteral("PROGRESSIVO")),
                                 q.text(QStringLiteral("STATO")));
            if (q.text(QStringLiteral("DESCRIZIONE")) !=
                descrizioneDenuncia(q.integer(QStringLiteral("PROGRESSIVO")), q.integer(QStringLiteral("ANNO"))))
                f += QStringLiteral(" wrong description ") + q.text(QStringLiteral("DESCRIZIONE"));
            out << f;
        }
        return out;
    }

private slots:
    void nextProgressivo_data()
    {
        QTest::addColumn<Filings>("filings");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty archive") << Filings{} << 2008 << 1;
        QTest::newRow("other years only") << Filings{"2007/1/C", "2009/4/A"} << 2008 << 1;
        QTest::newRow("gap is not filled") << Filings{"2008/1/C", "2008/3/A", "2009/7/C"} << 2008 << 4;
        QTest::newRow("states do not matter") << Filings{"2008/1/T", "2008/2/C"} << 2008 << 3;
    }
    void nextProgressivo()
    {
        QFETCH(Filings, filings);
        QFETCH(int, year);
        Archive a;
        addFilings(a.dm, filings);
        bool ok = false;
        QTEST(NextProgressivo(a.dm, year, &ok), "expected");
        QVERIFY(ok);
    }

    void createDenuncia_data()
    {
        QTest::addColumn<Filings>("filings");
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("created");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<Filings>("after");
        const QStringList none;
        QTest::newRow("first of the year") << Filings{} << 2008 << true << none << Filings{"2008/1/A"};
        QTest::newRow("another year is open")
            << Filings{"2006/1/A"} << 2007 << true << none << Filings{"2006/1/A", "2007/1/A"};
        QTest::newRow("all of the year closed")
            << Filings{"2008/1/C", "2008/2/T"} << 2008 << true << none << Filings{"2008/1/C", "2008/2/T", "2008/3/A"};
        QTest::newRow("after a gap") << Filings{"2008/1/C", "2008/3/C"} << 2008 << true << none
                                     << Filings{"2008/1/C", "2008/3/C", "2008/4/A"};
        QTest::newRow("one of the year open")
            << Filings{"2008/1/C", "2008/2/A"} << 2008 << false
            << QStringList{"Operazione annullata. E' probabile che esiste una denuncia ancora aperta per l'anno 2008"}
            << Filings{"2008/1/C", "2008/2/A"};
        QTest::newRow("state compared exactly")
            << Filings{"2008/1/a"} << 2008 << true << none << Filings{"2008/1/a", "2008/2/A"};
    }
    void createDenuncia()
    {
        QFETCH(Filings, filings);
        QFETCH(int, year);
        QFETCH(bool, created);
        Archive a;
        addFilings(a.dm, filings);
        a.dm.ttDENUNCE.first();
        ScriptedInteraction user;
        QCOMPARE(CreateDenuncia(a.dm, year), created);
        QTEST(user.texts(), "messages");
        QTEST(stored(a.dm), "after");
        if (created) {
            // The new filing is the current one, with no requests yet.
            Table& d = a.dm.ttDENUNCE;
            QCOMPARE(d.integer(QStringLiteral("ANNO")), qlonglong(year));
            QCOMPARE(d.text(QStringLiteral("STATO")), QStringLiteral("A"));
            QCOMPARE(d.value(QStringLiteral("DATA_CREAZIONE")).toDate(), QDate::currentDate());
            QVERIFY(d.value(QStringLiteral("NOME_FILE")).isNull());
            QCOMPARE(a.dm.ttRICHIESTE.rowCount(), 0);
        }
    }

    void changeYear_data()
    {
        QTest::addColumn<Filings>("filings");
        QTest::addColumn<int>("current");   // row of the filing being changed
        QTest::addColumn<QString>("typed"); // null: the input box is cancelled
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<Filings>("after");
        QTest::addColumn<int>("nextOfOldYear");

        const Filings base{"2006/1/C", "2006/2/C", "2007/1/C", "2007/2/A", "2007/3/C"};
        QTest::newRow("to a year with filings")
            << base << 3 << "2006" << QStringList{"L'anno è stato cambiato in: 2006"}
            << Filings{"2006/1/C", "2006/2/C", "2007/1/C", "2006/3/A", "2007/3/C"} << 4;
        QTest::newRow("highest number is given again")
            << base << 4 << "2006" << QStringList{"L'anno è stato cambiato in: 2006"}
            << Filings{"2006/1/C", "2006/2/C", "2007/1/C", "2007/2/A", "2006/3/C"} << 3;
        QTest::newRow("to the last year") << base << 0 << "2018" << QStringList{"L'anno è stato cambiato in: 2018"}
                                          << Filings{"2018/1/C", "2006/2/C", "2007/1/C", "2007/2/A", "2007/3/C"} << 4;
        QTest::newRow("no lower bound for real years")
            << base << 0 << "1999" << QStringList{"L'anno è stato cambiato in: 1999"}
            << Filings{"1999/1/C", "2006/2/C", "2007/1/C", "2007/2/A", "2007/3/C"} << 4;
        QTest::newRow("message repeats the typed text")
            << base << 2 << " 2009" << QStringList{"L'anno è stato cambiato in:  2009"}
            << Filings{"2006/1/C", "2006/2/C", "2009/1/C", "2007/2/A", "2007/3/C"} << 4;
        QTest::newRow("above the last year") << base << 0 << "2019" << QStringList{"Anno non consentito"} << base << 4;
        QTest::newRow("not a year") << base << 0 << "12" << QStringList{"Anno non consentito"} << base << 4;
        QTest::newRow("negative") << base << 0 << "-2008" << QStringList{"Anno non consentito"} << base << 4;
        QTest::newRow("same year") << base << 3 << "2007" << QStringList{"2007 è già l'anno di questa denuncia"} << base
                                   << 4;
        QTest::newRow("not a number") << base << 0 << "duemila" << QStringList{"L'anno inserito non è valido"} << base
                                      << 4;
        QTest::newRow("empty") << base << 0 << "" << QStringList{"L'anno inserito non è valido"} << base << 4;
        QTest::newRow("too large") << base << 0 << "99999999999" << QStringList{"L'anno inserito non è valido"} << base
                                   << 4;
        QTest::newRow("cancelled") << base << 0 << QString() << QStringList{} << base << 4;
    }
    void changeYear()
    {
        QFETCH(Filings, filings);
        QFETCH(int, current);
        QFETCH(QString, typed);
        Archive a;
        addFilings(a.dm, filings);
        QVERIFY(a.dm.ttDENUNCE.moveTo(current));
        ScriptedInteraction user;
        if (typed.isNull())
            user.cancelInput();
        else
            user.answerInput(typed);
        ChangeYear(a.dm);
        QCOMPARE(user.prompts, QStringList{"Cambia anno in:: Cambio anno"});
        QTEST(user.texts(), "messages");
        QTEST(stored(a.dm), "after");
        QTEST(NextProgressivo(a.dm, 2007), "nextOfOldYear");
    }

    // The change of year keeps state, file, creation date and requests.
    void changeYearKeepsTheRest()
    {
        Archive a;
        addFilings(a.dm, {"2007/1/C"});
        Table& d = a.dm.ttDENUNCE;
        QVERIFY(d.edit() && d.setValue(QStringLiteral("NOME_FILE"), QStringLiteral("/tmp/ZOL_2007_1.txt")) && d.post());
        QVERIFY(a.dm.ttRICHIESTE.append() && a.dm.ttRICHIESTE.post());
        ScriptedInteraction user;
        user.answerInput(QStringLiteral("2008"));
        ChangeYear(a.dm);
        QCOMPARE(stored(a.dm), Filings{"2008/1/C"});
        QCOMPARE(d.text(QStringLiteral("NOME_FILE")), QStringLiteral("/tmp/ZOL_2007_1.txt"));
        QCOMPARE(d.value(QStringLiteral("DATA_CREAZIONE")).toDate(), QDate(2010, 5, 4));
        QCOMPARE(a.dm.ttRICHIESTE.rowCount(), 1);
    }

    // Moving a filing into a year that has an open one is allowed; the year then refuses a new one.
    void changeIntoOpenYear()
    {
        Archive a;
        addFilings(a.dm, {"2008/1/A", "2009/1/A"});
        a.dm.ttDENUNCE.moveTo(1);
        ScriptedInteraction user;
        user.answerInput(QStringLiteral("2008"));
        ChangeYear(a.dm);
        QCOMPARE(stored(a.dm), (Filings{"2008/1/A", "2008/2/A"}));
        QVERIFY(!CreateDenuncia(a.dm, 2008));
        QCOMPARE(
            user.texts().last(),
            QStringLiteral("Operazione annullata. E' probabile che esiste una denuncia ancora aperta per l'anno 2008"));
        QVERIFY(CreateDenuncia(a.dm, 2009));
        QCOMPARE(stored(a.dm), (Filings{"2008/1/A", "2008/2/A", "2009/1/A"}));
    }

    void fileInfo_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<QString>("file");     // "", "present" or "removed"
        QTest::addColumn<QString>("expected"); // %1 stands for the path
        QTest::newRow("open") << "A"
                              << "present"
                              << "La denuncia è ancora Aperta";
        QTest::newRow("created, file present") << "C"
                                               << "present"
                                               << "File: %1";
        QTest::newRow("created, file removed") << "C"
                                               << "removed"
                                               << "File: %1 (Il file è stato Rimosso!!!)";
        QTest::newRow("transmitted, no file") << "T"
                                              << ""
                                              << "Nessun file associato alla denuncia";
        QTest::newRow("transmitted, file present") << "T"
                                                   << "present"
                                                   << "File: %1";
    }
    void fileInfo()
    {
        QFETCH(QString, stato);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        Archive a;
        addFilings(a.dm, {QStringLiteral("2008/1/") + stato});
        const QString path = a.folder.filePath(QStringLiteral("Trasmissioni/ZOL_2008_1.txt"));
        if (file == QLatin1String("present")) {
            QDir().mkpath(a.folder.filePath(QStringLiteral("Trasmissioni")));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        Table& d = a.dm.ttDENUNCE;
        if (!file.isEmpty())
            QVERIFY(d.edit() && d.setValue(QStringLiteral("NOME_FILE"), path) && d.post());
        ScriptedInteraction user;
        FileInfo(a.dm);
        QCOMPARE(user.texts(), QStringList{QString(expected).replace(QLatin1String("%1"), path)});
        QCOMPARE(stored(a.dm), Filings{QStringLiteral("2008/1/") + stato});
    }

    void guards_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<FilingOperation>("operation");
        QTest::addColumn<QString>("refusal");
        const QString trasmesso = QStringLiteral("Denuncia nello stato <Trasmesso>: operazione non consentita");
        const QString trasmessa = QStringLiteral("Denuncia nello stato <Trasmessa>: operazione non consentita");
        const QString aperta =
            QStringLiteral("Impossibile copiare le richieste da una denuncia ancora Aperta in una'altra denuncia");
        using Op = FilingOperation;
        const struct
        {
            const char* name;
            Op op;
            QString a, c, t;
        } table[] = {
            {"new", Op::NewRequest, "", "", trasmesso},
            {"edit", Op::EditRequest, "", "", trasmessa},
            {"delete", Op::DeleteRequest, "", "", trasmessa},
            {"copy", Op::CopyRequests, aperta, "", ""},
            {"create file", Op::CreateFile, "", "", ""},
            {"print", Op::Print, "", "", ""},
            {"file info", Op::FileInfo, "La denuncia è ancora Aperta", "", ""},
            {"change year", Op::ChangeYear, "", "", ""},
        };
        for (const auto& r : table) {
            QTest::addRow("%s in A", r.name) << "A" << r.op << r.a;
            QTest::addRow("%s in C", r.name) << "C" << r.op << r.c;
            QTest::addRow("%s in T", r.name) << "T" << r.op << r.t;
        }
    }
    void guards()
    {
        QFETCH(QString, stato);
        QFETCH(FilingOperation, operation);
        QFETCH(QString, refusal);
        Archive a;
        addFilings(a.dm, {QStringLiteral("2008/1/") + stato});
        ScriptedInteraction user;
        QCOMPARE(checkFilingGuard(a.dm, operation), refusal.isEmpty());
        QCOMPARE(user.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    }

    // Every request added to the current filing starts with its defaults and the filing's key.
    void newRequestDefaults()
    {
        Archive a;
        addFilings(a.dm, {"2007/1/C"});
        QVERIFY(CreateDenuncia(a.dm, 2008));
        const qlonglong filing = a.dm.ttDENUNCE.integer(QStringLiteral("ID_DENUNCIA"));
        Table& r = a.dm.ttRICHIESTE;
        QVERIFY(r.append());
        QCOMPARE(r.value(QStringLiteral("NUM_TRASM")).toLongLong(), 1);
        QCOMPARE(r.value(QStringLiteral("PADRE")).toLongLong(), 0);
        QCOMPARE(r.value(QStringLiteral("DATA_CREAZIONE")).toDate(), QDate::currentDate());
        QCOMPARE(r.integer(QStringLiteral("ID_DENUNCIA")), filing);
        QVERIFY2(r.post(), qPrintable(r.errorString()));
        Query q(&a.dm, QStringLiteral("check"));
        q.setSql(QStringLiteral("select ID_DENUNCIA, NUM_TRASM, PADRE, DATA_CREAZIONE from RICHIESTE"));
        QVERIFY(q.open());
        QCOMPARE(q.rowCount(), 1);
        QCOMPARE(q.integer(QStringLiteral("ID_DENUNCIA")), filing);
        QCOMPARE(q.integer(QStringLiteral("NUM_TRASM")), 1);
        QCOMPARE(q.integer(QStringLiteral("PADRE")), 0);
        QCOMPARE(q.value(QStringLiteral("DATA_CREAZIONE")).toDate(), QDate::currentDate());
    }

    void labels_data()
    {
        QTest::addColumn<QVariant>("stato");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("report");
        QTest::newRow("A") << QVariant("A") << "Aperta"
                           << "Aperta";
        QTest::newRow("C") << QVariant("C") << "Creata"
                           << "File Creato";
        QTest::newRow("T") << QVariant("T") << "Trasmessa"
                           << "Trasmessa";
        QTest::newRow("lower case") << QVariant("c") << ""
                                    << "";
        QTest::newRow("missing") << QVariant() << ""
                                 << "";
    }
    void labels()
    {
        QFETCH(QVariant, stato);
        QTEST(statoLabel(stato), "list");
        QTEST(statoReportLabel(stato), "report");
    }
};

QTEST_GUILESS_MAIN(TestFilingLifecycle)
#include "tst_filinglifecycle.moc"
