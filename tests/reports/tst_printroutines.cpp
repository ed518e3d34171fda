#include "SampleArchive.h"
#include "ScriptedInteraction.h"
#include "TestFolder.h"

#include "archive/Tdm.h"
#include "reports/PrintRoutines.h"
#include "reports/ReportEngine.h"

#include <QtTest>

using namespace zol;

// The four print routines: each hands the preview exactly its variables, its master data and its
// template from the program folder.
class TestPrintRoutines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void filingPrint_data();
    void filingPrint();
    void registryPrintsSetOnlyEnte();
    void printedThroughEngine();

private:
    test::TestFolder* m_folder = nullptr;
    Tdm* m_dm = nullptr;
};

void TestPrintRoutines::initTestCase()
{
    m_folder = new test::TestFolder;
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->errorString()));
    m_dm = new Tdm(m_folder->path());
    m_dm->DataModuleCreate();
    QString error;
    QVERIFY2(test::fillSampleArchive(*m_dm, &error), qPrintable(error));
    m_dm->EnteSettings.DENOMINAZIONE = QStringLiteral("COMUNE DI PROVA");
}

void TestPrintRoutines::cleanupTestCase()
{
    delete m_dm;
    delete m_folder;
}

void TestPrintRoutines::filingPrint_data()
{
    QTest::addColumn<QString>("stato");
    QTest::addColumn<QString>("label");
    QTest::newRow("open") << "A"
                          << "Aperta";
    QTest::newRow("file created") << "C"
                                  << "File Creato";
    QTest::newRow("transmitted") << "T"
                                 << "Trasmessa";
    QTest::newRow("other") << "X"
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPrintRoutines::filingPrint()
{
    QFETCH(QString, stato);
    QFETCH(QString, label);
    Table& d = m_dm->ttDENUNCE;
    QVERIFY(d.locate(QStringLiteral("ID_DENUNCIA"), 1));
    QVERIFY(d.edit());
    d.setValue(QStringLiteral("STATO"), stato);
    QVERIFY2(d.post(), qPrintable(d.errorString()));

    test::ScriptedInteraction ui;
    QVERIFY(PrintDenuncia(*m_dm));
    QCOMPARE(ui.reports.size(), 1);
    const ReportRequest& r = ui.reports.first();
    QCOMPARE(r.templatePath, m_folder->path() + QStringLiteral("denuncia.frf"));
    QCOMPARE(r.master, &m_dm->ttRICHIESTE);
    QCOMPARE(ui.reportRowCounts.first(), 2); // the requests of this filing only
    const QVariantMap expected{{"ENTE", "COMUNE DI PROVA"},
                               {"NOME_DENUNCIA", "Denuncia n. 1 / 2008"},
                               {"ANNUALITA", qlonglong(2008)},
                               {"PROGRESSIVO", qlonglong(1)},
                               {"STATO", label}};
    QCOMPARE(r.variables, expected);
    QCOMPARE(r.variables.value("ANNUALITA").typeId(), int(QMetaType::LongLong));
}

void TestPrintRoutines::registryPrintsSetOnlyEnte()
{
    test::ScriptedInteraction ui;
    QVERIFY(PrintDenuncia(*m_dm));
    QVERIFY(PrintRichiedenti(*m_dm));
    QVERIFY(PrintProfessionisti(*m_dm));
    QVERIFY(PrintImprese(*m_dm));
    QCOMPARE(ui.reports.size(), 4);
    const QVariantMap onlyEnte{{"ENTE", "COMUNE DI PROVA"}};
    const struct
    {
        const char* file;
        Dataset* master;
        int rows;
    } expected[] = {{"richiedenti.frf", &m_dm->ttRICHIEDENTI, 4},
                    {"professionisti.frf", &m_dm->ttPROFESSIONISTI, 2},
                    {"Imprese.frf", &m_dm->ttIMPRESE, 2}};
    for (int i = 0; i < 3; ++i) {
        const ReportRequest& r = ui.reports.at(i + 1);
        QCOMPARE(r.templatePath, m_folder->path() + QLatin1String(expected[i].file));
        QCOMPARE(r.variables, onlyEnte);
        QCOMPARE(r.master, expected[i].master);
        QCOMPARE(ui.reportRowCounts.at(i + 1), expected[i].rows);
    }
    QVERIFY(ui.messages.isEmpty());
}

void TestPrintRoutines::printedThroughEngine()
{
    // The scripted preview prepares the report as the real one does: the filing print, then the
    // applicants list, whose template sees ENTE and nothing of the filing.
    test::ScriptedInteraction ui;
    QTemporaryDir out;
    QStringList errors;
    ui.reportRenderer = [&](const ReportRequest& r) {
        QString error;
        const bool ok = renderReportToPdf(r, out.filePath(QFileInfo(r.templatePath).baseName() + ".pdf"), &error);
        errors << error;
        return ok;
    };
    QVERIFY(PrintDenuncia(*m_dm));
    QVERIFY(PrintRichiedenti(*m_dm));
    QCOMPARE(errors, (QStringList{QString(), QString()}));
    QVERIFY(QFileInfo(out.filePath("denuncia.pdf")).size() > 1000);
    QVERIFY(QFileInfo(out.filePath("richiedenti.pdf")).size() > 1000);
    // A template of the applicants list that asks for the filing's state is refused.
    QFile broken(m_folder->path() + QStringLiteral("richiedenti.frf"));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("band title height=6\ntext x=0 y=0 w=50 h=5 \"[ENTE] [STATO]\"\nend\n");
    broken.close();
    QVERIFY(!PrintRichiedenti(*m_dm));
    QCOMPARE(errors.last(), QStringLiteral("Modello di stampa \"richiedenti.frf\", riga 2, colonna 32: campo o "
                                           "variabile sconosciuta: STATO."));
}

QTEST_MAIN(TestPrintRoutines)
#include "tst_printroutines.moc"
