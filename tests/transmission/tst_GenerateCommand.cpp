#include "ArchiveFixture.h"

#include "archive/Settings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace zol;
using namespace zol::test;

// zolctl generate on a program folder, as the IT staff run it from a script.
class TestGenerateCommand : public QObject
{
    Q_OBJECT
private slots:
    void generate_data();
    void generate();
};

void TestGenerateCommand::generate_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("wrongCode");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("stderrLines"); // lines expected among those on standard error
    const QString person = QStringLiteral("ROSSI MARIO rssmra80a01h501u M 01/01/1980");
    const QString question = QStringLiteral("Problemi rilevati: Si vuole continuare lo stesso ?");
    QTest::newRow("complete filing") << QStringList{"--anno", "2007", "--progressivo", "12"} << false << 0
                                     << QStringList{"Il file è stato creato correttamente nella posizione: "};
    QTest::newRow("wrong code, stop") << QStringList{"--anno", "2007", "--progressivo", "12"} << true << 1
                                      << QStringList{person, question, "  -> No"};
    QTest::newRow("wrong code, go on") << QStringList{"--progressivo", "12", "--continua", "--anno", "2007"} << true
                                       << 0 << QStringList{person, question, "  -> Sì"};
    QTest::newRow("no such filing") << QStringList{"--anno", "2007", "--progressivo", "9"} << false << 1
                                    << QStringList{"Denuncia n. 9 / 2007 non trovata."};
    QTest::newRow("missing year") << QStringList{"--progressivo", "12"} << false << 2
                                  << QStringList{
                                         "uso: zolctl generate CARTELLA --anno ANNO --progressivo N [--continua]"};
}

void TestGenerateCommand::generate()
{
    QFETCH(QStringList, options);
    QFETCH(bool, wrongCode);
    QFETCH(int, exitCode);
    QFETCH(QStringList, stderrLines);

    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    a.completeFiling(2007, 12, "45/2007");
    if (wrongCode)
        a.addPerson("ROSSI", "MARIO", "M", QDate(1980, 1, 1), "H501", "rssmra80a01h501u");
    QString error;
    QVERIFY2(writeSettingsFile(a.dm().settingsFile(), a.dm().EnteSettings, &error), qPrintable(error));

    QProcess p;
    p.start(QStringLiteral(ZOLCTL_PATH), QStringList{"generate", a.folder().path()} + options);
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QStringList err = QString::fromUtf8(p.readAllStandardError()).split('\n');
    QCOMPARE(p.exitCode(), exitCode);
    for (const QString& line : stderrLines)
        QVERIFY2(err.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(line, err.join('\n'))));

    const QString path = a.folder().path() + "Trasmissioni/ZOL_2007_12.txt";
    if (exitCode != 0) {
        QCOMPARE(out, QString());
        QVERIFY(!QFile::exists(path));
        return;
    }
    QCOMPARE(out, QDir::toNativeSeparators(path) + "\n");
    QCOMPARE(QFileInfo(path).size(), 7 * 370);
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE").toString(), QStringLiteral("C"));

    // Every generated file passes the validator.
    QProcess v;
    v.start(QStringLiteral(ZOLCTL_PATH), {"validate", path});
    QVERIFY(v.waitForFinished(30000));
    QCOMPARE(v.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestGenerateCommand)
#include "tst_GenerateCommand.moc"
