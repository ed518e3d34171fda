#include "archive/Query.h"
#include "reports/ReportEngine.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

using namespace zol;
using namespace zol::report;

namespace {

QString bandText(const QString& type, double height, const QStringList& objects)
{
    return QStringLiteral("band %1 height=%2\n%3\nend\n").arg(type).arg(height).arg(objects.join(QLatin1Char('\n')));
}

QString textObject(const QString& content, const QString& extra = QString(), double y = 0, double h = 5)
{
    return QStringLiteral("text x=0 y=%1 w=100 h=%2 %3 \"%4\"").arg(y).arg(h).arg(extra, content);
}

// An in-memory data set: NOME text, NUM integer, D date, VUOTO text (always missing), MEMO text.
MemTable* makeTable(QObject* parent, int rows)
{
    QList<Dataset::Field> fields;
    fields << Dataset::Field{QStringLiteral("NOME"), ColumnType::Text, 40, false}
           << Dataset::Field{QStringLiteral("NUM"), ColumnType::Integer, 0, false}
           << Dataset::Field{QStringLiteral("D"), ColumnType::Date, 0, false}
           << Dataset::Field{QStringLiteral("VUOTO"), ColumnType::Text, 10, false}
           << Dataset::Field{QStringLiteral("MEMO"), ColumnType::Text, 4000, false};
    auto* t = new MemTable(QStringLiteral("mtProva"), fields, parent);
    t->open();
    for (int i = 0; i < rows; ++i) {
        t->append();
        t->setValue(QStringLiteral("NOME"), i == 0 ? QStringLiteral("ROSSI") : QStringLiteral("RIGA %1").arg(i + 1));
        t->setValue(QStringLiteral("NUM"), qlonglong(41 + i));
        t->setValue(QStringLiteral("D"), QDate(2008, 3, 5));
        t->post();
    }
    t->first();
    return t;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void expressions_data();
    void expressions();
    void brokenTemplate_data();
    void brokenTemplate();
    void missingTemplateFile();
    void headerAndFooterOnEveryPage();
    void bandMovesWholeToNextPage();
    void memoStretchesAcrossPageBreak();
    void objectsBelowStretchedTextMoveDown();
    void variablesRemovedBetweenPrints();
    void unknownFunctionLeftUntouched();
    void handlerEvaluatesArgumentOnCurrentRecord();
    void handlerErrorStopsPreparation();
    void masterCurrentRowNotMoved();
    void pdfHoldsEveryPageAndAccents();
};

void TestReportEngine::expressions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& expression, const QString& expected) {
        QTest::newRow(name) << expression << expected;
    };
    row("text and field", "'Sig. ' + NOME", "Sig. ROSSI");
    row("number plus number", "NUM + 1", "42");
    row("number plus text", "NUM + 'x'", "41x");
    row("iif", "IIF(NUM > 40, 'alto', 'basso')", "alto");
    row("iif text compared to number", "IIF('41' = NUM, 'uguale', 'diverso')", "uguale");
    row("date default format", "FORMATDATE(D)", "05/03/2008");
    row("date with month name", "FORMATDATE(D, 'd MMMM yyyy')", "5 marzo 2008");
    row("date field as is", "D", "05/03/2008");
    row("number format", "FORMATNUMBER(1234.5, 2)", "1.234,50");
    row("division", "7 / 2", "3,5");
    row("variable", "ENTE", "COMUNE DI PROVA");
    row("variable beats field", "NOME", "ROSSI");
    row("qualified field", "frDB1.NOME", "ROSSI");
    row("missing equals empty text", "IIF(VUOTO = '', 'vuoto', 'pieno')", "vuoto");
    row("missing equals zero", "IIF(VUOTO = 0, 'zero', 'altro')", "zero");
    row("missing prints nothing", "'<' + VUOTO + '>'", "<>");
    row("today", "TODAY", "01/02/2024");
    row("record number", "ROW", "1");
    row("quote in literal", "'l''ufficio'", "l'ufficio");
    row("text functions", "UPPER('abc') + LOWER('DEF') + TRIM('  g ')", "ABCdefg");
    row("substr and len", "SUBSTR('ABCDEF', 2, 3) + STR(LEN('ABCDEF'))", "BCD6");
    row("logic", "IIF(NOT (1 = 2) AND (2 >= 2) OR 1 = 0, 'si', 'no')", "si");
    row("integer variable", "ANNO + 1", "2009");
    row("alternative for empty", "IFEMPTY(VUOTO, 'nessuno') + IFEMPTY(NOME, 'nessuno')", "nessunoROSSI");
}

void TestReportEngine::expressions()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QObject owner;
    MemTable* table = makeTable(&owner, 1);
    ReportEngine engine;
    engine.setToday(QDate(2024, 2, 1));
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setVariable(QStringLiteral("ANNO"), 2008);
    engine.setDataset(table);
    QVERIFY2(engine.loadFromText(bandText(QStringLiteral("masterdata"), 6,
                                          {textObject(QLatin1Char('[') + expression + QLatin1Char(']'))}),
                                 QStringLiteral("prova.frf")),
             qPrintable(engine.errorString()));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    QCOMPARE(engine.prepared().pageTexts(0), QStringList{expected});
}

void TestReportEngine::brokenTemplate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const QString& text, const QString& message) {
        QTest::newRow(name) << text << message;
    };
    const QString prefix = QStringLiteral("Modello di stampa \"prova.frf\", ");
    row("unknown field", bandText("masterdata", 6, {textObject("[PIPPO]")}),
        prefix + "riga 2, colonna 27: campo o variabile sconosciuta: PIPPO.");
    row("unknown field inside expression", bandText("masterdata", 6, {textObject("Totale: [NUM + PLUTO]")}),
        prefix + "riga 2, colonna 41: campo o variabile sconosciuta: PLUTO.");
    row("unknown qualified field", bandText("masterdata", 6, {textObject("[frDB1.ENTE]")}),
        prefix + "riga 2, colonna 27: campo sconosciuto nella sorgente dati: "
                 "frDB1.ENTE.");
    row("incomplete expression", bandText("masterdata", 6, {textObject("[NUM +]")}),
        prefix + "riga 2, colonna 32: espressione incompleta.");
    row("unclosed bracket", bandText("masterdata", 6, {textObject("[NUM")}),
        prefix + "riga 2, colonna 26: manca \"]\" alla fine dell'espressione.");
    row("wrong arguments of builtin", bandText("masterdata", 6, {textObject("[IIF(NUM > 1, 'a')]")}),
        prefix + "riga 2, colonna 27: IIF vuole 3 argomenti, ne ha 2.");
    row("division by zero at preparation", bandText("masterdata", 6, {textObject("[1 / (NUM - 41)]")}),
        prefix + "riga 2, colonna 29: divisione per zero.");
    row("band not closed", "band masterdata height=6\n" + textObject("x"),
        prefix + "riga 1: la banda \"masterdata\" non è chiusa da \"end\".");
    row("unknown attribute", bandText("masterdata", 6, {"text x=0 y=0 w=10 h=5 grassetto \"x\""}),
        prefix + "riga 2, colonna 23: attributo sconosciuto \"grassetto\".");
    row("object outside band", bandText("masterdata", 6, {textObject("x", QString(), 3, 5)}),
        prefix + "riga 2: l'oggetto esce dalla banda (y + h = 8 mm, altezza della banda 6 mm).");
    row("object past right margin", bandText("masterdata", 6, {"text x=150 y=0 w=50 h=5 \"x\""}),
        prefix + "riga 2: l'oggetto esce dal margine destro (x + w = 200 mm, larghezza utile 180 mm).");
    row("unknown band", "band intestazione height=6\nend\n",
        prefix + "riga 1, colonna 6: tipo di banda sconosciuto \"intestazione\" (title, "
                 "pageheader, masterdata, pagefooter, summary).");
    row("empty file", "# nulla\n", "Modello di stampa \"prova.frf\": il modello non contiene bande.");
    row("another format", "<?xml version=\"1.0\"?>\n<report/>\n",
        prefix + "riga 1, colonna 1: parola chiave sconosciuta \"<?xml\".");
}

void TestReportEngine::brokenTemplate()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QObject owner;
    ReportEngine engine;
    engine.setDataset(makeTable(&owner, 1));
    const bool ok = engine.loadFromText(text, QStringLiteral("prova.frf")) && engine.prepareReport();
    QVERIFY(!ok);
    QCOMPARE(engine.errorString(), message);
    QVERIFY(engine.prepared().pages.isEmpty());
}

void TestReportEngine::missingTemplateFile()
{
    QTemporaryDir dir;
    ReportEngine engine;
    QVERIFY(!engine.loadFromFile(dir.filePath(QStringLiteral("denuncia.frf"))));
    QCOMPARE(engine.errorString(),
             QStringLiteral("Il modello di stampa \"denuncia.frf\" non si trova nella cartella del programma (%1).")
                 .arg(dir.path()));
    QVERIFY(!engine.prepareReport());
}

// Page body of A4 with 15 mm margins, a 10 mm header and a 10 mm footer: 247 mm, 24 bands of 10 mm.
static QString listTemplate()
{
    return QStringLiteral("page size=A4 margins=15,15,15,15\n") +
           bandText("title", 20, {textObject("ELENCO [ENTE]", "size=14 bold", 0, 10)}) +
           bandText("pageheader", 10, {textObject("Nome", "bold")}) +
           bandText("masterdata", 10, {textObject("[NOME]"), textObject("seconda riga di [NOME]", QString(), 5)}) +
           bandText("pagefooter", 10, {textObject("Pagina [PAGE] di [PAGES]", "align=right", 5)}) +
           bandText("summary", 10, {textObject("Totale: [ROW] righe")});
}

void TestReportEngine::headerAndFooterOnEveryPage()
{
    QObject owner;
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setDataset(makeTable(&owner, 60));
    QVERIFY(engine.loadFromText(listTemplate(), QStringLiteral("elenco.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    const PreparedReport& r = engine.prepared();
    // Page 1: title 20 mm + header 10 mm leave 227 mm = 22 records; then 24 per page (247 mm).
    QCOMPARE(r.pages.size(), 3);
    const double footerTop = mmToDots(297 - 15 - 10);
    for (int p = 0; p < r.pages.size(); ++p) {
        const QStringList texts = r.pageTexts(p);
        QCOMPARE(texts.count(QStringLiteral("Nome")), 1);
        QCOMPARE(texts.last(), QStringLiteral("Pagina %1 di 3").arg(p + 1));
        for (const PageItem& item : r.pages.at(p).items) {
            if (item.text().startsWith(QLatin1String("Pagina")))
                QVERIFY(item.rect.top() >= footerTop - 0.01);
            else
                QVERIFY2(item.rect.bottom() <= footerTop + 0.01, qPrintable(item.text()));
        }
    }
    QCOMPARE(r.pageTexts(0).first(), QStringLiteral("ELENCO COMUNE DI PROVA"));
    QCOMPARE(r.pageTexts(0).at(1), QStringLiteral("Nome"));
    QCOMPARE(r.pageTexts(0).at(2), QStringLiteral("ROSSI"));
    QCOMPARE(r.pageTexts(0).count(QStringLiteral("seconda riga di RIGA 22")), 1);
    QCOMPARE(r.pageTexts(1).at(1), QStringLiteral("RIGA 23"));
    QCOMPARE(r.pageTexts(2).at(r.pageTexts(2).size() - 2), QStringLiteral("Totale: 60 righe"));
}

void TestReportEngine::bandMovesWholeToNextPage()
{
    // Records of 15 mm on a 247 mm body: 16 fit (240 mm); the 17th, with 7 mm left, moves whole.
    const QString tpl = QStringLiteral("page size=A4 margins=15,15,15,15\n") +
                        bandText("pageheader", 10, {textObject("Testata")}) +
                        bandText("masterdata", 15, {textObject("[NOME]"), textObject("fine [NOME]", QString(), 10)}) +
                        bandText("pagefooter", 10, {textObject("[PAGE]")});
    QObject owner;
    ReportEngine engine;
    engine.setDataset(makeTable(&owner, 20));
    QVERIFY(engine.loadFromText(tpl, QStringLiteral("blocchi.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    const PreparedReport& r = engine.prepared();
    QCOMPARE(r.pages.size(), 2);
    QCOMPARE(r.pageTexts(0).count(), 1 + 16 * 2 + 1);
    QCOMPARE(r.pageTexts(0).at(r.pageTexts(0).size() - 2), QStringLiteral("fine RIGA 16"));
    QCOMPARE(r.pageTexts(1).mid(0, 3), (QStringList{"Testata", "RIGA 17", "fine RIGA 17"}));
}

void TestReportEngine::memoStretchesAcrossPageBreak()
{
    QObject owner;
    MemTable* table = makeTable(&owner, 2);
    QStringList memo;
    for (int i = 1; i <= 150; ++i)
        memo << QStringLiteral("riga %1 della nota").arg(i);
    table->first();
    table->edit();
    // Lines end with a carriage return, as the report functions give them.
    table->setValue(QStringLiteral("MEMO"), memo.join(QLatin1Char('\r')) + QLatin1Char('\r'));
    QVERIFY(table->post());
    const QString tpl =
        QStringLiteral("page size=A4 margins=15,15,15,15\n") + bandText("pageheader", 10, {textObject("Testata")}) +
        bandText("masterdata", 12, {textObject("[NOME]"), textObject("[MEMO]", "stretch frame=all", 5, 6)}) +
        bandText("pagefooter", 10, {textObject("Pagina [PAGE] di [PAGES]")});
    ReportEngine engine;
    engine.setDataset(table);
    QVERIFY(engine.loadFromText(tpl, QStringLiteral("nota.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    const PreparedReport& r = engine.prepared();
    QVERIFY(r.pages.size() >= 3);
    QStringList memoLines;
    const double footerTop = mmToDots(297 - 15 - 10);
    for (int p = 0; p < r.pages.size(); ++p) {
        const QStringList texts = r.pageTexts(p);
        QCOMPARE(texts.first(), QStringLiteral("Testata"));
        QCOMPARE(texts.last(), QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(r.pages.size()));
        for (const PageItem& item : r.pages.at(p).items) {
            if (!item.text().startsWith(QLatin1String("Pagina")))
                QVERIFY2(item.rect.bottom() <= footerTop + 0.01, qPrintable(item.text()));
            for (const TextLine& l : item.lines)
                if (l.text.startsWith(QLatin1String("riga")))
                    memoLines << l.text;
        }
    }
    QCOMPARE(memoLines, memo);
    // The second record follows the end of the memo on the last page.
    QVERIFY(r.pageTexts(r.pages.size() - 1).contains(QStringLiteral("RIGA 2")));
}

void TestReportEngine::objectsBelowStretchedTextMoveDown()
{
    QObject owner;
    MemTable* table = makeTable(&owner, 1);
    table->edit();
    table->setValue(QStringLiteral("MEMO"), QStringLiteral("uno\rdue\rtre\r"));
    QVERIFY(table->post());
    // Beneficiaries (stretched) above the cadastral units, a label beside them.
    const QString tpl = bandText("masterdata", 12,
                                 {textObject("[MEMO]", "stretch", 0, 5), textObject("Catasto", QString(), 6, 5),
                                  "text x=110 y=0 w=20 h=5 \"accanto\""});
    ReportEngine engine;
    engine.setDataset(table);
    QVERIFY(engine.loadFromText(tpl, QStringLiteral("blocco.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    const QList<PageItem>& items = engine.prepared().pages.at(0).items;
    QCOMPARE(items.at(0).text(), QStringLiteral("uno\ndue\ntre"));
    const double grown = items.at(0).rect.height() - mmToDots(5);
    QVERIFY(grown > mmToDots(5));
    QCOMPARE(items.at(1).rect.top(), items.at(0).rect.top() + mmToDots(6) + grown);
    QCOMPARE(items.at(2).rect.top(), items.at(0).rect.top()); // beside, not below: stays
}

void TestReportEngine::variablesRemovedBetweenPrints()
{
    QObject owner;
    ReportEngine engine;
    engine.setDataset(makeTable(&owner, 1));
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setVariable(QStringLiteral("STATO"), QStringLiteral("Aperta"));
    const QString tpl = bandText("title", 6, {textObject("[ENTE] [STATO]")});
    QVERIFY(engine.loadFromText(tpl, QStringLiteral("denuncia.frf")));
    QVERIFY(engine.prepareReport());
    QCOMPARE(engine.prepared().pageTexts(0), QStringList{"COMUNE DI PROVA Aperta"});

    engine.clearVariables();
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    QCOMPARE(engine.variables().keys(), QStringList{"ENTE"});
    QVERIFY(engine.loadFromText(tpl, QStringLiteral("richiedenti.frf")));
    QVERIFY(!engine.prepareReport());
    QCOMPARE(engine.errorString(), QStringLiteral("Modello di stampa \"richiedenti.frf\", riga 2, colonna 34: campo o "
                                                  "variabile sconosciuta: STATO."));
}

void TestReportEngine::unknownFunctionLeftUntouched()
{
    QObject owner;
    ReportEngine engine;
    engine.setUserFunction(nullptr);
    engine.setDataset(makeTable(&owner, 1));
    QVERIFY(engine.loadFromText(bandText("masterdata", 6, {textObject("Elenco: [RPSCONOSCIUTA(NUM, 'a')]")}),
                                QStringLiteral("prova.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    QCOMPARE(engine.prepared().pageTexts(0), QStringList{"Elenco: RPSCONOSCIUTA(NUM, 'a')"});
}

void TestReportEngine::handlerEvaluatesArgumentOnCurrentRecord()
{
    QObject owner;
    ReportEngine engine;
    QStringList calls;
    engine.setUserFunction([&](ReportEngine& e, const QString& name, const QString& p1, const QString& p2,
                               const QString& p3, QVariant& val) {
        calls << QStringLiteral("%1|%2|%3|%4|%5").arg(name, p1, p2, p3, val.toString());
        if (name == QLatin1String("DOPPIO"))
            val = e.evaluate(p1).toLongLong() * 2;
    });
    engine.setDataset(makeTable(&owner, 3));
    QVERIFY(engine.loadFromText(bandText("masterdata", 6, {textObject("[DOPPIO( NUM + 1 , 'x')] [ALTRA()]")}),
                                QStringLiteral("prova.frf")));
    QVERIFY2(engine.prepareReport(), qPrintable(engine.errorString()));
    QCOMPARE(engine.prepared().pageTexts(0), (QStringList{"84 ALTRA()", "86 ALTRA()", "88 ALTRA()"}));
    QCOMPARE(calls.first(), QStringLiteral("DOPPIO|NUM + 1|'x'||DOPPIO( NUM + 1 , 'x')"));
    QCOMPARE(calls.at(1), QStringLiteral("ALTRA||||ALTRA()"));
}

void TestReportEngine::handlerErrorStopsPreparation()
{
    QObject owner;
    ReportEngine engine;
    engine.setUserFunction([](ReportEngine& e, const QString&, const QString& p1, const QString&, const QString&,
                              QVariant& val) { val = e.evaluate(p1); });
    engine.setDataset(makeTable(&owner, 1));
    QVERIFY(engine.loadFromText(bandText("masterdata", 6, {textObject("[RPRICH(ID_RICHIEDENTE)]")}),
                                QStringLiteral("prova.frf")));
    QVERIFY(!engine.prepareReport());
    QCOMPARE(engine.errorString(), QStringLiteral("Modello di stampa \"prova.frf\", riga 2, colonna 27: RPRICH: campo "
                                                  "o variabile sconosciuta: ID_RICHIEDENTE."));
}

void TestReportEngine::masterCurrentRowNotMoved()
{
    QObject owner;
    MemTable* table = makeTable(&owner, 5);
    table->moveTo(2);
    ReportEngine engine;
    engine.setDataset(table);
    QVERIFY(engine.loadFromText(listTemplate().replace("[ENTE]", "X"), QStringLiteral("elenco.frf")));
    QVERIFY(engine.prepareReport());
    QCOMPARE(table->recNo(), 2);
}

void TestReportEngine::pdfHoldsEveryPageAndAccents()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QObject owner;
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("CANTÙ Attività €"));
    engine.setDataset(makeTable(&owner, 60));
    QVERIFY(engine.loadFromText(listTemplate(), QStringLiteral("elenco.frf")));
    QVERIFY(engine.prepareReport());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("elenco.pdf"));
    QVERIFY2(engine.exportToPdf(pdf), qPrintable(engine.errorString()));
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished());
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("ELENCO CANTÙ Attività €")), qPrintable(text.left(300)));
    QCOMPARE(text.count(QLatin1Char('\f')), 3); // one form feed per page
    QVERIFY(text.contains(QStringLiteral("Pagina 3 di 3")));
    // A folder that cannot be written to leaves an error, not a file.
    QVERIFY(!engine.exportToPdf(dir.filePath(QStringLiteral("manca/elenco.pdf"))));
    QVERIFY(engine.errorString().startsWith(QStringLiteral("Impossibile scrivere il file")));
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
