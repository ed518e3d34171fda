#include "SampleArchive.h"
#include "ScriptedInteraction.h"
#include "TestFolder.h"

#include "archive/Tdm.h"
#include "reports/ReportEngine.h"
#include "reports/ReportFunctions.h"

#include <QtTest>

using namespace zol;

// The five report functions on the sample archive. Lines end with a carriage return alone.
class TestReportFunctions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void functions_data();
    void functions();
    void otherNameLeavesResult();
    void templateCallsOnEveryRecord();

private:
    test::TestFolder* m_folder = nullptr;
    Tdm* m_dm = nullptr;
};

void TestReportFunctions::initTestCase()
{
    m_folder = new test::TestFolder;
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->errorString()));
    m_dm = new Tdm(m_folder->path());
    m_dm->DataModuleCreate();
    QVERIFY2(m_dm->startError().isEmpty(), qPrintable(m_dm->startError()));
    QString error;
    QVERIFY2(test::fillSampleArchive(*m_dm, &error), qPrintable(error));
}

void TestReportFunctions::cleanupTestCase()
{
    if (m_dm)
        m_dm->DataModuleDestroy();
    delete m_dm;
    delete m_folder;
    m_dm = nullptr;
    m_folder = nullptr;
}

void TestReportFunctions::functions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const QString& name, const QString& arg, const QString& expected) {
        QTest::newRow(tag) << name << arg << expected;
    };
    const QString cr(QChar(13));
    row("applicant person", "RPRICH", "1", "ROSSI MARIO (RSSMRA80A01H501U)");
    row("applicant company shows its VAT number", "RPRICH", "2", "EDILIZIA ALFA SRL (01234567890)");
    row("applicant with apostrophe and accent", "RPRICH", "4", QStringLiteral("D'ANGELO NICOLÒ (DNGNCL75C10L219K)"));
    row("unknown applicant", "RPRICH", "999", "  ()");
    row("applicant id as text", "RPRICH", "'1'", "ROSSI MARIO (RSSMRA80A01H501U)");
    row("person and company beneficiaries", "RPBENEFICIARI", "1",
        "ROSSI MARIO (RSSMRA80A01H501U)" + cr + "EDILIZIA ALFA SRL (01234567890)" + cr);
    row("no beneficiary", "RPBENEFICIARI", "999", "");
    row("professional linked as text", "RPPROFESSIONISTI", "1", "VERDI LUCA (VRDLCU70B02F205X)" + cr);
    row("two professionals", "RPPROFESSIONISTI", "2",
        "NERI PAOLA (NRIPLA65C43L219Y)" + cr + "VERDI LUCA (VRDLCU70B02F205X)" + cr);
    row("company", "RPIMPRESE", "1", "COSTRUZIONI BETA SPA (09876543210)" + cr);
    row("no company", "RPIMPRESE", "3", "");
    row("no cadastral unit", "RPCATASTO", "1", "");
    // Type and blank; empty section; sheet, parcel right-aligned; empty extension; type; sub-unit.
    row("cadastral units", "RPCATASTO", "2",
        QStringLiteral("F ") + "    " + "   12 " + "  345 " + "     " + "F " + "   7 " + cr +
            // A sheet longer than its field is printed whole and shifts the rest.
            "T " + "  A " + "123456 " + "    1 " + "  10 " + "  " + "     " + cr);
    row("name in lower case", "rpcatasto", "3",
        QStringLiteral("F ") + "    " + "    5 " + "  100 " + "     " + "E " + "   3 " + cr);
}

void TestReportFunctions::functions()
{
    QFETCH(QString, name);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    ReportEngine engine;
    QVariant val = QStringLiteral("prima");
    fr1UserFunction(*m_dm, engine, name, argument, QStringLiteral("ignorato"), QString(), val);
    QCOMPARE(engine.errorString(), QString());
    QCOMPARE(val.toString(), expected);
    QVERIFY(!m_dm->Q2.isActive()); // left closed
}

void TestReportFunctions::otherNameLeavesResult()
{
    ReportEngine engine;
    QVariant val = QStringLiteral("come prima");
    fr1UserFunction(*m_dm, engine, QStringLiteral("RPALTRO"), QStringLiteral("1"), QString(), QString(), val);
    QCOMPARE(val.toString(), QStringLiteral("come prima"));
}

void TestReportFunctions::templateCallsOnEveryRecord()
{
    // The requests of the filing of 2008 as the filing print hands them; the master stays put.
    installReportFunctions(*m_dm);
    Table& requests = m_dm->ttRICHIESTE;
    QCOMPARE(requests.rowCount(), 2);
    requests.moveTo(1);
    ReportEngine engine;
    engine.setDataset(&requests);
    QVERIFY(engine.loadFromText(QStringLiteral("band masterdata height=20\n"
                                               "text x=0 y=0 w=180 h=5 \"[RPRICH(ID_RICHIEDENTE)]\"\n"
                                               "text x=0 y=5 w=180 h=5 stretch \"[RPBENEFICIARI(ID_RICHIESTA)]\"\n"
                                               "end\n"),
                                QStringLiteral("prova.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    QCOMPARE(engine.prepared().pageTexts(0),
             (QStringList{"ROSSI MARIO (RSSMRA80A01H501U)", "ROSSI MARIO (RSSMRA80A01H501U)",
                          "EDILIZIA ALFA SRL (01234567890)", "EDILIZIA ALFA SRL (01234567890)",
                          "BIANCHI ANNA (BNCNNA85M41F205Z)"}));
    QCOMPARE(requests.recNo(), 1);
    QCOMPARE(m_dm->ttBENEFICIARI.rowCount(), 1); // still the beneficiaries of request 2
}

QTEST_MAIN(TestReportFunctions)
#include "tst_reportfunctions.moc"
