#include "ScriptedInteraction.h"
#include "TestFolder.h"

#include "archive/Connection.h"
#include "archive/Tdm.h"

#include <QProcess>
#include <QTest>

using namespace zol;

// A process killed in the middle of its work leaves the archive as it was before the
// transaction, or with the whole transaction: never part of it, and never damaged.
class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWriter_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::addColumn<int>("expectedRows");
        QTest::newRow("killed before commit") << false << 0;
        QTest::newRow("killed after commit") << true << 200;
    }
    void killedWriter()
    {
        QFETCH(bool, commit);
        QFETCH(int, expectedRows);
        test::TestFolder folder;
        QProcess child;
        child.start(QStringLiteral(CRASHWRITER),
                    {folder.path(), commit ? QStringLiteral("commit") : QStringLiteral("hold")});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("ready"));
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());

        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QVERIFY2(ui.progressCaptions.isEmpty(), "no table needed repair");
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(dm.ttDENUNCE.rowCount(), expectedRows ? 1 : 0);
        QCOMPARE(dm.ttRICHIEDENTI.rowCount(), expectedRows);
        dm.ttDENUNCE.first();
        QCOMPARE(dm.ttRICHIESTE.rowCount(), expectedRows);
        dm.Q1.setSql(QStringLiteral("select count(*) from CATASTO"));
        QVERIFY(dm.Q1.open());
        QCOMPARE(dm.Q1.valueAt(0, 0).toInt(), expectedRows);
        for (const QString t : {"DENUNCE", "RICHIESTE", "RICHIEDENTI", "CATASTO"}) {
            dm.Q1.setSql(QStringLiteral("PRAGMA \"%1\".integrity_check").arg(t));
            QVERIFY(dm.Q1.open());
            QCOMPARE(dm.Q1.valueAt(0, 0).toString(), QStringLiteral("ok"));
        }
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
