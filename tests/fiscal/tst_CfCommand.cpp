#include <QProcess>
#include <QTest>

// zolctl cf as the office's IT staff call it: one line of output and an exit code.
class TestCfCommand : public QObject
{
    Q_OBJECT
private slots:
    void run_data();
    void run();
};

void TestCfCommand::run_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("calc") << QStringList{"cf", "calc", "ROSSI", "MARIO", "M", "01/01/80", "H501"}
                          << "RSSMRA80A01H501U\n"
                          << 0;
    QTest::newRow("calc accented surname")
        << QStringList{"cf", "calc", "D'ANGELO", "ALESSANDRO", "M", "31/12/99", "A944"} << "DNGLSN99T31A944W\n"
        << 0;
    QTest::newRow("calc without data") << QStringList{"cf", "calc", "R", "MARIO", "M", "01/01/80", "H501"} << "\n" << 0;
    QTest::newRow("check valid") << QStringList{"cf", "check", "RSSMRA80A01H501U"} << "valido\n" << 0;
    QTest::newRow("check wrong letter") << QStringList{"cf", "check", "RSSMRA80A01H501A"} << "non valido\n" << 1;
    QTest::newRow("check 11 digits") << QStringList{"cf", "check", "01234567890"} << "non valido\n" << 1;
    QTest::newRow("missing argument") << QStringList{"cf", "calc", "ROSSI"} << "" << 2;
}

void TestCfCommand::run()
{
    QFETCH(QStringList, args);
    QFETCH(QString, output);
    QFETCH(int, exitCode);
    QProcess p;
    p.start(QStringLiteral(ZOLCTL_PATH), args);
    QVERIFY2(p.waitForFinished(30000), qPrintable(p.errorString()));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), output);
    QCOMPARE(p.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestCfCommand)
#include "tst_CfCommand.moc"
