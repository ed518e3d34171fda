#include "SampleArchive.h"
#include "ScriptedInteraction.h"
#include "TestFolder.h"

#include "archive/Tdm.h"
#include "reports/PrintRoutines.h"
#include "reports/ReportEngine.h"
#include "reports/ReportFunctions.h"

#include <QDate>
#include <QDir>
#include <QtTest>

using namespace zol;

// The seven templates of a new installation, prepared on the sample archive with the data and
// variables their prints hand them. The PDFs are kept under the build folder (report-pages/)
// for people to look at.
class TestTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void rendersOnSampleArchive_data();
    void rendersOnSampleArchive();
    void documentedExample();

private:
    ReportRequest requestFor(const QString& name);

    test::TestFolder* m_folder = nullptr;
    Tdm* m_dm = nullptr;
};

void TestTemplates::initTestCase()
{
    m_folder = new test::TestFolder;
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->errorString()));
    m_dm = new Tdm(m_folder->path());
    m_dm->DataModuleCreate();
    QVERIFY2(m_dm->startError().isEmpty(), qPrintable(m_dm->startError()));
    QString error;
    QVERIFY2(test::fillSampleArchive(*m_dm, &error), qPrintable(error));
    m_dm->EnteSettings.DENOMINAZIONE = QStringLiteral("COMUNE DI SANT'ALBANO");
    installReportFunctions(*m_dm);
}

void TestTemplates::cleanupTestCase()
{
    delete m_dm;
    delete m_folder;
}

ReportRequest TestTemplates::requestFor(const QString& name)
{
    Tdm& dm = *m_dm;
    if (name == QLatin1String("denuncia.frf"))
        return denunciaReport(dm);
    if (name == QLatin1String("richiedenti.frf"))
        return richiedentiReport(dm);
    if (name == QLatin1String("professionisti.frf"))
        return professionistiReport(dm);
    if (name == QLatin1String("Imprese.frf"))
        return impreseReport(dm);
    ReportRequest r;
    r.templatePath = dm.ProgramFolder() + name;
    if (name == QLatin1String("problemi.frf")) {
        MemTable& list = dm.mtProblemi;
        list.open();
        list.emptyTable();
        const QList<QVariantList> rows = {
            {"ROSSI", "MARIO", "rssmra80a01h501u", "M", QDate(1980, 1, 1)},
            {"D'ANGELO", QStringLiteral("NICOLÒ"), QVariant(), "M", QVariant()},
        };
        for (const QVariantList& v : rows) {
            list.append();
            list.setValue("cognome", v[0]);
            list.setValue("nome", v[1]);
            list.setValue("cf", v[2]);
            list.setValue("sesso", v[3]);
            list.setValue("dnascita", v[4]);
            list.post();
        }
        r.master = &list;
        return r;
    }
    // The criteria prints: every request of every filing, no participant chosen.
    dm.Q1.close();
    dm.Q1.setSql(QStringLiteral("select R.* from RICHIESTE R\njoin DENUNCE D on (R.ID_DENUNCIA = D.ID_DENUNCIA)\n"
                                "where (ID_RICHIESTA > 0)"));
    dm.Q1.open();
    r.master = &dm.Q1;
    r.variables = {
        {"ENTE", dm.EnteSettings.DENOMINAZIONE}, {"ANNUALITA", "TUTTE"}, {"TIPODOC", "TUTTI"}, {"CRITERI", QString()}};
    return r;
}

void TestTemplates::rendersOnSampleArchive_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("lines"); // lines that must be printed, in this order
    const auto row = [](const char* name, int pages, const QStringList& lines) {
        QTest::newRow(name) << QString::fromLatin1(name) << pages << lines;
    };
    const QString printedOn =
        QStringLiteral(" - stampato il ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    row("denuncia.frf", 1,
        {"COMUNE DI SANT'ALBANO",
         "Denuncia n. 1 / 2008",
         "Anno 2008 - progressivo 1 - stato: File Creato",
         "Richiesta 1 - Protocollo n. 2008/0001",
         QStringLiteral("Permesso di Costruire / Certificato di Agibilità"),
         "ROSSI MARIO (RSSMRA80A01H501U) - proprietario",
         "VIA ROMA 1",
         "Ristrutturazione edilizia (art. 3, comma 1, DPR 380/2001)",
         "presentata il 10/01/2008; inizio lavori 01/02/2008; fine lavori 20/12/2008",
         "ROSSI MARIO (RSSMRA80A01H501U)",
         "EDILIZIA ALFA SRL (01234567890)",
         "nessuna",
         "VERDI LUCA (VRDLCU70B02F205X)",
         "COSTRUZIONI BETA SPA (09876543210)",
         "Richiesta 2 - Protocollo n. 2008/0002",
         QStringLiteral("Denuncia di Inizio Attività"),
         "EDILIZIA ALFA SRL (01234567890) - rappresentante legale o volontario",
         "presentata il 12/01/2008; inizio lavori 01/03/2008; fine lavori -",
         "BIANCHI ANNA (BNCNNA85M41F205Z)",
         "U Sez Fogl. Part. Est. P  Sub",
         "F        12   345      F    7",
         "T   A 123456     1   10",
         "NERI PAOLA (NRIPLA65C43L219Y)",
         "VERDI LUCA (VRDLCU70B02F205X)",
         "COSTRUZIONI BETA SPA (09876543210)",
         QStringLiteral("IMPIANTI GAMMA SNC - QUALITÀ (11223344556)"),
         "Richieste nella denuncia: 2",
         "COMUNE DI SANT'ALBANO - Denuncia n. 1 / 2008" + printedOn,
         "Pagina 1 di 1"});
    row("richiedenti.frf", 1,
        {"Elenco dei richiedenti e dei beneficiari",
         "Comune nascita/sede",
         "Persona",
         "ROSSI MARIO",
         "RSSMRA80A01H501U",
         "M",
         "01/01/1980",
         "ROMA",
         "Soggetto",
         "EDILIZIA ALFA SRL",
         "01234567890",
         "MILANO",
         "BIANCHI ANNA",
         "F",
         "01/08/1985",
         "MILANO",
         QStringLiteral("D'ANGELO NICOLÒ"),
         "10/03/1975",
         "TORINO",
         "Totale: 4 soggetti in elenco",
         "COMUNE DI SANT'ALBANO - Elenco dei richiedenti" + printedOn,
         "Pagina 1 di 1"});
    row("professionisti.frf", 1,
        {"Elenco dei professionisti", "VERDI LUCA", "VRDLCU70B02F205X", "Architetto", "MI", "1234", "NERI PAOLA",
         "NRIPLA65C43L219Y", "Geometra", "TO", "5678", "Totale: 2 professionisti in elenco", "Pagina 1 di 1"});
    row("Imprese.frf", 1,
        {"Elenco delle imprese esecutrici", "COSTRUZIONI BETA SPA", "09876543210", "MILANO", "MI",
         QStringLiteral("IMPIANTI GAMMA SNC - QUALITÀ"), "11223344556", "TORINO", "TO", "Totale: 2 imprese in elenco",
         "Pagina 1 di 1"});
    row("richieste_elenco.frf", 1,
        {"Elenco delle richieste",
         "Anno di riferimento: TUTTE - Tipo di richieste: TUTTI",
         "Nessun criterio sui soggetti",
         "1",
         "2008/0001",
         "P.d.C.",
         "ROSSI MARIO (RSSMRA80A01H501U)",
         "Ristrutturazione edilizia",
         "10/01/2008",
         "01/02/2008",
         "20/12/2008",
         "VIA ROMA 1",
         "3",
         "2009/0001",
         "P.d.C.",
         "(cess.)",
         QStringLiteral("D'ANGELO NICOLÒ (DNGNCL75C10L219K)"),
         "Nuova costruzione",
         "01/02/2009",
         "VIA SANT'ANNA 3",
         "Richieste in elenco: 4",
         "Pagina 1 di 1"});
    row("richieste_dettaglio.frf", 2,
        {"Dettaglio delle richieste", "Richiesta 1 - Protocollo n. 2008/0001", "Richiesta 3 - Protocollo n. 2009/0001",
         "Cessazione", QStringLiteral("D'ANGELO NICOLÒ (DNGNCL75C10L219K) - usufruttuario"),
         "presentata il 01/02/2009; inizio lavori -; fine lavori -", "F         5   100      E    3", "nessuno",
         "nessuna", "Pagina 1 di 2", "COMUNE DI SANT'ALBANO - Dettaglio delle richieste - anno TUTTE",
         "Richiesta 4 - Protocollo n. 2009/0002", "Altro", "F   B    44  2001    2     15", "Richieste stampate: 4",
         "Pagina 2 di 2"});
    row("problemi.frf", 1,
        {"Codici fiscali da verificare", "Codice registrato", "ROSSI", "MARIO", "rssmra80a01h501u", "M", "01/01/1980",
         "D'ANGELO", QStringLiteral("NICOLÒ"), "(mancante)", "M", "(mancante)", "Soggetti da verificare: 2",
         "Controllo dei codici fiscali" + printedOn, "Pagina 1 di 1"});
}

void TestTemplates::rendersOnSampleArchive()
{
    QFETCH(QString, name);
    QFETCH(int, pages);
    QFETCH(QStringList, lines);
    const ReportRequest request = requestFor(name);
    ReportEngine engine;
    for (auto it = request.variables.cbegin(); it != request.variables.cend(); ++it)
        engine.setVariable(it.key(), it.value());
    engine.setDataset(request.master);
    QVERIFY2(engine.loadFromFile(request.templatePath), qPrintable(engine.errorString()));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    const report::PreparedReport& r = engine.prepared();
    QStringList printed;
    for (int p = 0; p < r.pages.size(); ++p)
        printed << r.pageTexts(p);
    QCOMPARE(r.pages.size(), pages);
    int at = 0;
    for (const QString& line : lines) {
        const int found = printed.indexOf(line, at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("not printed (in this order): \"%1\"").arg(line)));
        at = found + 1;
    }
    const QString out = qEnvironmentVariable("ZOL_BINARY_DIR", QDir::tempPath()) + QStringLiteral("/report-pages");
    QDir().mkpath(out);
    QVERIFY2(engine.exportToPdf(out + QLatin1Char('/') + QFileInfo(name).completeBaseName() + QStringLiteral(".pdf")),
             qPrintable(engine.errorString()));
}

void TestTemplates::documentedExample()
{
    // The example of docs/report-templates.md works as written.
    QFile doc(qEnvironmentVariable("ZOL_SOURCE_DIR") + QStringLiteral("/docs/report-templates.md"));
    QVERIFY(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    QStringList example;
    for (const QString& line : text.mid(text.indexOf(QStringLiteral("## Example"))).split('\n').mid(1))
        if (line.startsWith(QLatin1String("    ")) || (line.isEmpty() && !example.isEmpty()))
            example << line.mid(4);
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setDataset(&m_dm->ttPROFESSIONISTI);
    QVERIFY2(engine.loadFromText(example.join('\n'), QStringLiteral("esempio.frf")), qPrintable(engine.errorString()));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    const QStringList printed = engine.prepared().pageTexts(0);
    QCOMPARE(printed.mid(0, 4), (QStringList{"COMUNE DI PROVA", "Cognome e nome", "Codice fiscale", "Albo"}));
    QCOMPARE(printed.mid(4, 3), (QStringList{"VERDI LUCA", "VRDLCU70B02F205X", "Architetto"}));
    QCOMPARE(printed.mid(10),
             (QStringList{"Totale: 2 professionisti", "Stampato il " + QDate::currentDate().toString("dd/MM/yyyy"),
                          "Pagina 1 di 1"}));
}

QTEST_MAIN(TestTemplates)
#include "tst_templates.moc"
