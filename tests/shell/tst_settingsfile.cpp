// The settings file ZOL.INI: defaults, the order of the keys, values that read back exactly,
// case-insensitive names, the day numbers and a file that cannot be written.

#include "support/ScriptedInteraction.h"

#include "archive/Cp1252.h"
#include "archive/Settings.h"
#include "archive/Tdm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zol;

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeAll(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void missingFileReadsDefaults()
    {
        QTemporaryDir dir;
        TEnteSettings s;
        s.DENOMINAZIONE = QStringLiteral("X");
        s.PRIMAESECUZIONE = false;
        QString why;
        QVERIFY(readSettingsFile(dir.filePath(QStringLiteral("ZOL.INI")), &s, &why));
        QCOMPARE(s.DENOMINAZIONE, QStringLiteral("COMUNE DI ..."));
        QCOMPARE(s.BELFIORE, QString());
        QCOMPARE(s.CITTA, QString());
        QCOMPARE(s.PRIMAESECUZIONE, true);
        QCOMPARE(s.PROVAUPDATE, 0);
    }

    // A new file holds every key in its order, empty values as empty entries, and
    // PRIMAESECUZIONE=0 whatever it was in memory.
    void newFileBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZOL.INI"));
        TEnteSettings s;
        s.CITTA = QStringLiteral("FORLÌ");
        s.PROVAUPDATE = 39448;
        QVERIFY(s.PRIMAESECUZIONE);
        QString why;
        QVERIFY2(writeSettingsFile(path, s, &why), qPrintable(why));
        const QByteArray expected = "[ENTE]\r\n"
                                    "DENOMINAZIONE=COMUNE DI ...\r\n"
                                    "INDIRIZZO=\r\n"
                                    "CAP=\r\n"
                                    "CITTA=FORL\xCC\r\n"
                                    "PROVINCIA=\r\n"
                                    "CODICEFISCALE=\r\n"
                                    "TEL=\r\n"
                                    "FAX=\r\n"
                                    "EMAIL=\r\n"
                                    "RESPONSABILE=\r\n"
                                    "BELFIORE=\r\n"
                                    "\r\n"
                                    "[ESEG]\r\n"
                                    "PRIMAESECUZIONE=0\r\n"
                                    "PROVAUPDATE=39448\r\n";
        QCOMPARE(readAll(path), expected);
    }

    void valuesReadBackExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("commas") << QStringLiteral("VIA ROMA, 1, SCALA B");
        QTest::newRow("semicolons") << QStringLiteral("A;B; ;C");
        QTest::newRow("leading semicolon") << QStringLiteral(";NON UN COMMENTO");
        QTest::newRow("equals") << QStringLiteral("A=B==C=");
        QTest::newRow("leading equals") << QStringLiteral("=X");
        QTest::newRow("leading blanks") << QStringLiteral("   RIENTRO");
        QTest::newRow("trailing blanks") << QStringLiteral("CODA   ");
        QTest::newRow("only blanks") << QStringLiteral("   ");
        QTest::newRow("double quotes around") << QStringLiteral("\"CITATO\"");
        QTest::newRow("single quotes around") << QStringLiteral("'CITATO'");
        QTest::newRow("two double quotes") << QStringLiteral("\"\"");
        QTest::newRow("one quote") << QStringLiteral("\"");
        QTest::newRow("quote at start") << QStringLiteral("\"INIZIO");
        QTest::newRow("apostrophe") << QStringLiteral("DELL'ENTE");
        QTest::newRow("brackets") << QStringLiteral("[ESEG]");
        QTest::newRow("accents and euro") << QStringLiteral("CITTÀ È € ß");
        QTest::newRow("no-break space at end") << QStringLiteral("X\u00A0");
        QTest::newRow("tab inside") << QStringLiteral("A\tB");
    }
    void valuesReadBackExactly()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZOL.INI"));
        TEnteSettings out;
        out.DENOMINAZIONE = value;
        out.INDIRIZZO = value;
        out.RESPONSABILE = value;
        out.BELFIORE = value;
        QString why;
        QVERIFY2(writeSettingsFile(path, out, &why), qPrintable(why));
        // Written twice: a rewrite of an existing file must not change a value either.
        QVERIFY2(writeSettingsFile(path, out, &why), qPrintable(why));
        TEnteSettings in;
        QVERIFY(readSettingsFile(path, &in, &why));
        QCOMPARE(in.DENOMINAZIONE, value);
        QCOMPARE(in.INDIRIZZO, value);
        QCOMPARE(in.RESPONSABILE, value);
        QCOMPARE(in.BELFIORE, value);
        QCOMPARE(in.CAP, QString());
    }

    // Files written by hand or by an older program.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("denominazione");
        QTest::addColumn<QString>("belfiore");
        QTest::addColumn<bool>("prima");
        QTest::addColumn<int>("provaUpdate");

        QTest::newRow("lower-case names") << QByteArray("[ente]\ndenominazione=COMUNE DI ROMA\nBelFiore=H501\n"
                                                        "[Eseg]\nprimaesecuzione=0\nprovaupdate=39448\n")
                                          << "COMUNE DI ROMA"
                                          << "H501" << false << 39448;
        QTest::newRow("blanks around names")
            << QByteArray(" [ ENTE ] \r\n  DENOMINAZIONE  =  COMUNE DI BARI \r\n") << "COMUNE DI BARI"
            << "" << true << 0;
        QTest::newRow("present but empty") << QByteArray("[ENTE]\r\nDENOMINAZIONE=\r\n") << ""
                                           << "" << true << 0;
        QTest::newRow("first of two keys") << QByteArray("[ENTE]\nBELFIORE=A001\nBELFIORE=B002\n") << "COMUNE DI ..."
                                           << "A001" << true << 0;
        QTest::newRow("key of another section") << QByteArray("[ALTRO]\nBELFIORE=A001\n[ENTE]\n") << "COMUNE DI ..."
                                                << "" << true << 0;
        QTest::newRow("comment line") << QByteArray("[ENTE]\n;BELFIORE=A001\n") << "COMUNE DI ..."
                                      << "" << true << 0;
        QTest::newRow("windows-1252 bytes")
            << QByteArray("[ENTE]\nDENOMINAZIONE=COMUNE DI FORL\xCC\n") << "COMUNE DI FORLÌ"
            << "" << true << 0;
        QTest::newRow("utf-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF[ENTE]\nDENOMINAZIONE=COMUNE DI FORL\xC3\x8C\n") << "COMUNE DI FORLÌ"
            << "" << true << 0;
        QTest::newRow("prima 1") << QByteArray("[ESEG]\nPRIMAESECUZIONE=1\n") << "COMUNE DI ..."
                                 << "" << true << 0;
        QTest::newRow("prima 2") << QByteArray("[ESEG]\nPRIMAESECUZIONE=2\n") << "COMUNE DI ..."
                                 << "" << true << 0;
        QTest::newRow("prima text") << QByteArray("[ESEG]\nPRIMAESECUZIONE=no\n") << "COMUNE DI ..."
                                    << "" << true << 0;
        QTest::newRow("prima 00") << QByteArray("[ESEG]\nPRIMAESECUZIONE=00\n") << "COMUNE DI ..."
                                  << "" << false << 0;
        QTest::newRow("update not whole") << QByteArray("[ESEG]\nPROVAUPDATE=39448.5\n") << "COMUNE DI ..."
                                          << "" << true << 0;
        QTest::newRow("update text") << QByteArray("[ESEG]\nPROVAUPDATE=ieri\n") << "COMUNE DI ..."
                                     << "" << true << 0;
        QTest::newRow("update empty") << QByteArray("[ESEG]\nPROVAUPDATE=\n") << "COMUNE DI ..."
                                      << "" << true << 0;
    }
    void reading()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZOL.INI"));
        writeAll(path, file);
        TEnteSettings s;
        QString why;
        QVERIFY(readSettingsFile(path, &s, &why));
        QTEST(s.DENOMINAZIONE, "denominazione");
        QTEST(s.BELFIORE, "belfiore");
        QTEST(s.PRIMAESECUZIONE, "prima");
        QTEST(s.PROVAUPDATE, "provaUpdate");
    }

    // What others keep in the file stays where it was; the program's keys are updated in place.
    void rewriteKeepsOtherEntries()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZOL.INI"));
        writeAll(path, "; impostazioni dell'ufficio\r\n"
                       "[ente]\r\n"
                       "belfiore=H501\r\n"
                       "NOTE=da non perdere\r\n"
                       "\r\n"
                       "[STAMPA]\r\n"
                       "MARGINE=10\r\n");
        TEnteSettings s;
        s.BELFIORE = QStringLiteral("A001");
        s.PROVAUPDATE = 5;
        QString why;
        QVERIFY2(writeSettingsFile(path, s, &why), qPrintable(why));
        const QByteArray expected = "; impostazioni dell'ufficio\r\n"
                                    "[ente]\r\n"
                                    "BELFIORE=A001\r\n"
                                    "NOTE=da non perdere\r\n"
                                    "DENOMINAZIONE=COMUNE DI ...\r\n"
                                    "INDIRIZZO=\r\n"
                                    "CAP=\r\n"
                                    "CITTA=\r\n"
                                    "PROVINCIA=\r\n"
                                    "CODICEFISCALE=\r\n"
                                    "TEL=\r\n"
                                    "FAX=\r\n"
                                    "EMAIL=\r\n"
                                    "RESPONSABILE=\r\n"
                                    "\r\n"
                                    "[STAMPA]\r\n"
                                    "MARGINE=10\r\n"
                                    "\r\n"
                                    "[ESEG]\r\n"
                                    "PRIMAESECUZIONE=0\r\n"
                                    "PROVAUPDATE=5\r\n";
        QCOMPARE(readAll(path), expected);
    }

    // A folder that cannot take the file: the writer says so and the old file is untouched.
    void unwritableFile()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("file"));
        writeAll(blocker, "not a folder");
        TEnteSettings s;
        QString why;
        QVERIFY(!writeSettingsFile(blocker + QStringLiteral("/ZOL.INI"), s, &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(readAll(blocker), QByteArray("not a folder"));
    }

    // A settings file that exists but cannot be read: the user is told, the defaults are used.
    void unreadableFile()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("ZOL.INI")));
        Tdm dm(dir.path());
        dm.EnteSettings.BELFIORE = QStringLiteral("H501");
        zol::test::ScriptedInteraction user;
        ReadSettings(dm);
        QCOMPARE(user.messages.size(), 1);
        QVERIFY2(user.texts().first().startsWith(QStringLiteral("Impossibile leggere le impostazioni dal file %1: ")
                                                     .arg(QDir::toNativeSeparators(dm.settingsFile()))),
                 qPrintable(user.texts().first()));
        QVERIFY(user.texts().first().endsWith(QStringLiteral("\nVengono usati i valori predefiniti.")));
        QCOMPARE(dm.EnteSettings.BELFIORE, QString());
        QCOMPARE(dm.EnteSettings.DENOMINAZIONE, QStringLiteral("COMUNE DI ..."));
    }

    void dayNumbers_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("day");
        QTest::newRow("origin") << QDate(1899, 12, 30) << 0;
        QTest::newRow("1 January 1900") << QDate(1900, 1, 1) << 2;
        QTest::newRow("1 January 2008") << QDate(2008, 1, 1) << 39448;
        QTest::newRow("leap day 2024") << QDate(2024, 2, 29) << 45351;
    }
    void dayNumbers()
    {
        QFETCH(QDate, date);
        QTEST(dayNumber(date), "day");
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
