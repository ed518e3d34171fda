#include "ArchiveFixture.h"
#include "ScriptedInteraction.h"

#include "fiscal/VerificaCodiciFiscali.h"

#include <QTest>

using namespace zol;
using namespace zol::test;

class TestVerificaCodiciFiscali : public QObject
{
    Q_OBJECT
private slots:
    void persons_data();
    void persons();
    void listInQueryOrderAndEmptiedEachRun();
};

void TestVerificaCodiciFiscali::persons_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("cognome");
    QTest::addColumn<QString>("sesso");
    QTest::addColumn<QDate>("born");
    QTest::addColumn<QString>("comune"); // empty: no ID_COMUNE; "none": an ID without COMUNI row
    QTest::addColumn<QString>("cf");
    QTest::addColumn<bool>("listed");

    const QDate born(1980, 1, 1);
    QTest::newRow("matching code") << "P"
                                   << "ROSSI"
                                   << "M" << born << "H501"
                                   << "RSSMRA80A01H501U" << false;
    QTest::newRow("code in lower case") << "P"
                                        << "ROSSI"
                                        << "M" << born << "H501"
                                        << "rssmra80a01h501u" << true;
    QTest::newRow("sex m derives the female day") << "P"
                                                  << "ROSSI"
                                                  << "m" << born << "H501"
                                                  << "RSSMRA80A01H501U" << true;
    QTest::newRow("woman without the 40 added") << "P"
                                                << "ROSSI"
                                                << "F" << born << "H501"
                                                << "RSSMRA80A01H501U" << true;
    QTest::newRow("woman with her day plus 40") << "P"
                                                << "ROSSI"
                                                << "F" << born << "H501"
                                                << "RSSMRA80A41H501Y" << false;
    QTest::newRow("omocodia variant") << "P"
                                      << "ROSSI"
                                      << "M" << born << "H501"
                                      << "RSSMRA80A01H50MM" << true;
    QTest::newRow("missing birth date") << "P"
                                        << "ROSSI"
                                        << "M" << QDate() << "H501"
                                        << "RSSMRA80A01H501U" << true;
    QTest::newRow("missing birth date and code") << "P"
                                                 << "ROSSI"
                                                 << "M" << QDate() << "H501"
                                                 << "" << true;
    QTest::newRow("no municipality: not examined") << "P"
                                                   << "ROSSI"
                                                   << "M" << born << ""
                                                   << "WRONG" << false;
    QTest::newRow("municipality not in COMUNI: not examined") << "P"
                                                              << "ROSSI"
                                                              << "M" << born << "none"
                                                              << "WRONG" << false;
    QTest::newRow("company never examined") << "A"
                                            << "ROSSI"
                                            << "M" << born << "H501"
                                            << "WRONG" << false;
    QTest::newRow("underivable and empty code agree") << "P"
                                                      << "R"
                                                      << "M" << born << "H501"
                                                      << "" << false;
    QTest::newRow("underivable but a code stored") << "P"
                                                   << "R"
                                                   << "M" << born << "H501"
                                                   << "RSSMRA80A01H501U" << true;
}

void TestVerificaCodiciFiscali::persons()
{
    QFETCH(QString, tipo);
    QFETCH(QString, cognome);
    QFETCH(QString, sesso);
    QFETCH(QDate, born);
    QFETCH(QString, comune);
    QFETCH(QString, cf);
    QFETCH(bool, listed);

    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const QVariant idComune = comune.isEmpty() ? QVariant() : comune == "none" ? QVariant(999999) : a.comune(comune);
    QVERIFY(a.exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
                   "PERS_DNASCITA, ID_COMUNE) VALUES (?, ?, ?, 'MARIO', ?, ?, ?)",
                   {tipo, cf.isEmpty() ? QVariant() : QVariant(cf), cognome, sesso, born, idComune}) > 0);

    ScriptedInteraction ui;
    QString error;
    QCOMPARE(VerificaCodiciFiscali(a.dm(), &error), listed);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(ui.busyDepth(), 0);
    MemTable& list = a.dm().mtProblemi;
    if (!listed) {
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(ui.reports.isEmpty());
        QCOMPARE(list.rowCount(), 0);
        return;
    }
    QCOMPARE(ui.texts(), QStringList{kCodiciFiscaliProblemMessage});
    QCOMPARE(ui.reports.size(), 1);
    QCOMPARE(ui.reports.first().templatePath, a.folder().path() + "problemi.frf");
    QVERIFY(ui.reports.first().master == &list);
    QVERIFY(ui.reports.first().variables.isEmpty());
    QCOMPARE(ui.reportRowCounts, QList<int>{1});
    // The person as stored: the code found wrong, not the derived one.
    list.first();
    QCOMPARE(list.value("cognome").toString(), cognome);
    QCOMPARE(list.value("nome").toString(), QStringLiteral("MARIO"));
    QCOMPARE(list.value("cf"), cf.isEmpty() ? QVariant() : QVariant(cf));
    QCOMPARE(list.value("sesso").toString(), sesso);
    QCOMPARE(list.value("dnascita").toDate(), born);
}

void TestVerificaCodiciFiscali::listInQueryOrderAndEmptiedEachRun()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    a.addPerson("VERDI", "LUCA", "M", QDate(1970, 5, 5), "H501", "WRONG1");
    a.addPerson("ROSSI", "MARIO", "M", QDate(1980, 1, 1), "H501");
    a.addPerson("BIANCHI", "ANNA", "F", QDate(1975, 6, 5), "F205", "WRONG2");
    a.addPerson("BIANCHI", "ANNA", "F", QDate(1975, 6, 5), "F205", "WRONG2"); // a duplicate is listed twice

    ScriptedInteraction ui;
    for (int run = 0; run < 2; ++run) {
        QVERIFY(VerificaCodiciFiscali(a.dm()));
        MemTable& list = a.dm().mtProblemi;
        QStringList codes;
        for (list.first(); !list.eof(); list.next())
            codes << list.value("cf").toString();
        QCOMPARE(codes, (QStringList{"WRONG1", "WRONG2", "WRONG2"}));
    }
    QCOMPARE(ui.reportRowCounts, (QList<int>{3, 3}));
}

QTEST_GUILESS_MAIN(TestVerificaCodiciFiscali)
#include "tst_VerificaCodiciFiscali.moc"
