#include "ScriptedInteraction.h"

#include "archive/Query.h"
#include "reports/ReportEngine.h"
#include "reports/forms/ReportPreviewDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace zol;

namespace {

const char* const kTemplate = "page size=A4 margins=15,15,15,15\n"
                              "band title height=12\n"
                              "text x=0 y=0 w=180 h=8 size=14 bold \"Elenco di prova - [ENTE]\"\n"
                              "end\n"
                              "band masterdata height=10\n"
                              "text x=0 y=0 w=100 h=5 \"[NOME]\"\n"
                              "end\n"
                              "band pagefooter height=10\n"
                              "text x=0 y=5 w=180 h=5 align=right \"Pagina [PAGE] di [PAGES]\"\n"
                              "end\n";

MemTable* names(QObject* parent, int rows)
{
    auto* t = new MemTable(QStringLiteral("mtNomi"),
                           {Dataset::Field{QStringLiteral("NOME"), ColumnType::Text, 40, false}}, parent);
    t->open();
    for (int i = 1; i <= rows; ++i) {
        t->append();
        t->setValue(QStringLiteral("NOME"), QStringLiteral("NOMINATIVO %1").arg(i));
        t->post();
    }
    return t;
}

} // namespace

// The preview window driven as a user would: pages, zoom, find, save, and the messages of a
// report that cannot be prepared.
class TestReportPreview : public QObject
{
    Q_OBJECT

private slots:
    void navigationZoomAndFind();
    void savesPdf();
    void printsToPdfPrinter();
    void templateProblemShown_data();
    void templateProblemShown();
    void previewShownAndClosed();

private:
    QTemporaryDir m_dir;
};

void TestReportPreview::navigationZoomAndFind()
{
    QObject owner;
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setDataset(names(&owner, 60));
    QVERIFY(engine.loadFromText(QString::fromLatin1(kTemplate), QStringLiteral("prova.frf")));
    QVERIFY(engine.prepareReport());
    test::ScriptedInteraction ui;
    ReportPreviewDialog dialog(engine.prepared());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.pageCount(), 3);
    QCOMPARE(dialog.findChild<QLabel*>("numeroPagine")->text(), QStringLiteral("di 3"));
    auto* next = dialog.findChild<QToolButton*>("btnSuccessiva");
    auto* last = dialog.findChild<QToolButton*>("btnUltima");
    auto* spin = dialog.findChild<QSpinBox*>("pagina");
    QVERIFY(!dialog.findChild<QToolButton*>("btnPrecedente")->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(dialog.currentPage(), 1);
    QCOMPARE(spin->value(), 2);
    QTest::mouseClick(last, Qt::LeftButton);
    QCOMPARE(dialog.currentPage(), 2);
    QVERIFY(!next->isEnabled());
    spin->setValue(1);
    QCOMPARE(dialog.currentPage(), 0);
    QTest::keyClick(&dialog, Qt::Key_PageDown);
    QCOMPARE(dialog.currentPage(), 1);

    auto* zoom = dialog.findChild<QComboBox*>("zoom");
    zoom->setCurrentIndex(zoom->findText(QStringLiteral("200%")));
    QCOMPARE(dialog.zoomFactor(), 2.0);
    auto* view = dialog.findChild<QWidget*>("pageView");
    const int wide = view->width();
    zoom->setCurrentIndex(zoom->findText(QStringLiteral("50%")));
    QVERIFY(view->width() < wide / 3);

    // Find goes from page to page; a text that is nowhere is told.
    auto* find = dialog.findChild<QLineEdit*>("trova");
    find->setText(QStringLiteral("nominativo 50"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnTrova"), Qt::LeftButton);
    QCOMPARE(dialog.currentPage(), 2);
    QVERIFY(dialog.foundRect().isValid());
    find->setText(QStringLiteral("nominativo 1"));
    QVERIFY(dialog.findNext(find->text())); // NOMINATIVO 1 on page 1, after the current page 3
    QCOMPARE(dialog.currentPage(), 0);
    QVERIFY(dialog.findNext(find->text())); // NOMINATIVO 10
    QCOMPARE(dialog.currentPage(), 0);
    QVERIFY(ui.messages.isEmpty());
    find->setText(QStringLiteral("ROSSI"));
    QVERIFY(!dialog.findNext(find->text()));
    QCOMPARE(ui.texts(), QStringList{QStringLiteral("Il testo \"ROSSI\" non è stato trovato.")});

    zoom->setCurrentIndex(zoom->findText(QStringLiteral("Larghezza pagina")));
    const QString png = qEnvironmentVariable("ZOL_BINARY_DIR", QDir::tempPath()) + "/report-pages/anteprima.png";
    QDir().mkpath(QFileInfo(png).path());
    QVERIFY(dialog.grab().save(png));
}

void TestReportPreview::savesPdf()
{
    QObject owner;
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setDataset(names(&owner, 5));
    QVERIFY(engine.loadFromText(QString::fromLatin1(kTemplate), QStringLiteral("prova.frf")));
    QVERIFY(engine.prepareReport());
    test::ScriptedInteraction ui;
    ReportPreviewDialog dialog(engine.prepared());
    const QString pdf = m_dir.filePath(QStringLiteral("anteprima.pdf"));
    QVERIFY(dialog.savePdf(pdf));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(!dialog.savePdf(m_dir.filePath(QStringLiteral("manca/anteprima.pdf"))));
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(ui.messages.first().text.startsWith(QStringLiteral("Impossibile scrivere il file ")));
    QCOMPARE(ui.messages.first().icon, Interaction::Icon::Error);
}

void TestReportPreview::printsToPdfPrinter()
{
    QObject owner;
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), QStringLiteral("COMUNE DI PROVA"));
    engine.setDataset(names(&owner, 60));
    QVERIFY(engine.loadFromText(QString::fromLatin1(kTemplate), QStringLiteral("prova.frf")));
    QVERIFY(engine.prepareReport());
    ReportPreviewDialog dialog(engine.prepared());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_dir.filePath(QStringLiteral("stampante.pdf"));
    printer.setOutputFileName(pdf);
    printer.setFromTo(2, 3);
    dialog.printTo(printer);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished());
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(text.count(QLatin1Char('\f')), 2);
    QVERIFY(text.contains(QStringLiteral("Pagina 2 di 3")));
    QVERIFY(!text.contains(QStringLiteral("Pagina 1 di 3")));
}

void TestReportPreview::templateProblemShown_data()
{
    QTest::addColumn<QString>("content"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QString()
                                  << QStringLiteral("Impossibile preparare la stampa.\nIl modello di stampa "
                                                    "\"elenco.frf\" non si trova nella cartella del programma (%1).");
    QTest::newRow("unknown field") << QStringLiteral(
                                          "band masterdata height=6\ntext x=0 y=0 w=9 h=5 \"[COGNOME]\"\nend\n")
                                   << QStringLiteral(
                                          "Impossibile preparare la stampa.\nModello di stampa \"elenco.frf\", "
                                          "riga 2, colonna 24: campo o variabile sconosciuta: COGNOME.");
}

void TestReportPreview::templateProblemShown()
{
    QFETCH(QString, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("elenco.frf"));
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content.toUtf8());
    }
    QObject owner;
    test::ScriptedInteraction ui;
    QVERIFY(!showReportPreview({path, {}, names(&owner, 3)}));
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text, message.contains("%1") ? message.arg(dir.path()) : message);
    QCOMPARE(ui.messages.first().title, QStringLiteral("Stampa"));
    QCOMPARE(ui.messages.first().icon, Interaction::Icon::Error);
}

void TestReportPreview::previewShownAndClosed()
{
    const QString path = m_dir.filePath(QStringLiteral("prova.frf"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kTemplate);
    f.close();
    QObject owner;
    test::ScriptedInteraction ui;
    int pages = -1;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ReportPreviewDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            pages = dialog->pageCount();
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnChiudi"), Qt::LeftButton);
        }
    });
    QVERIFY(showReportPreview({path, {{"ENTE", "COMUNE DI PROVA"}}, names(&owner, 30)}));
    QCOMPARE(pages, 2);
    QVERIFY(ui.messages.isEmpty());
}

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
