// The main window as the user sees it: its pages, every button with its text and hint, the
// year buttons creating a filing that appears in the list, the list following the current
// filing, the documents, the about box, the version history and the buttons of other windows.

#include "ModalWatcher.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFolder.h"

#include "app/forms/Startup.h"
#include "app/forms/TfrmMain.h"
#include "archive/Settings.h"
#include "archive/Tdm.h"
#include "filings/FilingLifecycle.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

using namespace zol;
using zol::test::ScriptedInteraction;
using zol::test::TestFolder;

namespace {

const QString kYearTip = QStringLiteral(
    "Crea una nuova denuncia per l'anno %1.\n\nIn caso una denuncia per tale anno sia ancora aperta, l'operazione non "
    "viene consentita in quanto è possibile utilizzare tale denuncia invece di crearne una nuova.");

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    struct Program
    {
        TestFolder folder;
        ScriptedInteraction user;
        std::unique_ptr<Startup> startup;
        Program()
        {
            QFile f(folder.filePath(QStringLiteral("ZOL.INI")));
            if (f.open(QIODevice::WriteOnly))
                f.write("[ENTE]\r\nDENOMINAZIONE=COMUNE DI FORLI'\r\nBELFIORE=D704\r\n[ESEG]\r\nPRIMAESECUZIONE=0\r\n"
                        "PROVAUPDATE=" +
                        QByteArray::number(dayNumber(QDate::currentDate())) + "\r\n");
            f.close();
            Startup::Options o;
            o.programFolder = folder.path();
            o.splashSeconds = 0;
            startup = std::make_unique<Startup>(o);
            startup->start();
            QSignalSpy shown(&window(), &TfrmMain::formShown);
            if (!shown.wait(5000))
                qWarning("the main window did not finish its first showing");
        }
        ~Program()
        {
            updateStarted = true;
            window().close();
            updateStarted = false;
        }
        TfrmMain& window() { return startup->mainWindow(); }
        Tdm& dm() { return startup->dm(); }
        template <class T = QPushButton> T* find(const QString& name) { return window().findChild<T*>(name); }
        QTabWidget* pages() { return find<QTabWidget>(QStringLiteral("PageControl1")); }
        void showPage(const QString& name) { pages()->setCurrentWidget(find<QWidget>(name)); }
        void click(const QString& name)
        {
            QPushButton* b = find(name);
            QVERIFY2(b, qPrintable(name));
            QVERIFY2(b->isVisible(), qPrintable(name));
            QTest::mouseClick(b, Qt::LeftButton);
        }
        QTableView* list() { return find<QTableView>(QStringLiteral("listadenunce")); }
        QStringList listRows()
        {
            QStringList rows;
            const QAbstractItemModel* m = list()->model();
            for (int r = 0; r < m->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < m->columnCount(); ++c)
                    cells << m->index(r, c).data().toString();
                rows << cells.join(QLatin1Char('|'));
            }
            return rows;
        }
        void addFiling(int anno, int progressivo, const char* stato)
        {
            Table& d = dm().ttDENUNCE;
            QVERIFY(d.append());
            d.setValue(QStringLiteral("ANNO"), anno);
            d.setValue(QStringLiteral("PROGRESSIVO"), progressivo);
            d.setValue(QStringLiteral("DESCRIZIONE"), descrizioneDenuncia(progressivo, anno));
            d.setValue(QStringLiteral("STATO"), QLatin1String(stato));
            QVERIFY2(d.post(), qPrintable(d.errorString()));
        }
    };

    static QStringList labelTexts(QWidget* page)
    {
        QStringList out;
        for (QLabel* l : page->findChildren<QLabel*>())
            out << l->text();
        return out;
    }

private slots:
    void window()
    {
        Program p;
        QCOMPARE(p.window().windowTitle(), QStringLiteral("ZOL - Comunicazione dei comuni in materia di edilizia"));
        QVERIFY(p.window().isMaximized());
        QTabWidget* pages = p.pages();
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->tabText(0), QStringLiteral("Principale"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Gestione dei dati"));
        QCOMPARE(pages->tabText(2), QStringLiteral("Utilità"));
        QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("pgIDLE"));
        QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("pgOPE"));
        QCOMPARE(pages->widget(2)->objectName(), QStringLiteral("pgUTIL"));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(p.window().statusBar()->isVisible());
        QVERIFY(p.find<QLabel>(QStringLiteral("statusEnte"))->text().contains(QStringLiteral("COMUNE DI FORLI'")));
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        const QString exitTip = QStringLiteral("Uscita dal programma.");
        QTest::newRow("Configurazione") << "pgIDLE"
                                        << "btnConfigurazione"
                                        << "Configurazione"
                                        << "Mostra la scheda per impostare:\n\n- i dati dell'Ente;";
        QTest::newRow("Guida") << "pgIDLE"
                               << "btnGuida"
                               << "Guida"
                               << "Mostra il manuale d'uso del programma.";
        QTest::newRow("Normativa") << "pgIDLE"
                                   << "btnNormativa"
                                   << "Normativa"
                                   << "Permette l'accesso ai documenti della Normativa";
        QTest::newRow("Info") << "pgIDLE"
                              << "btnInfo"
                              << "Info"
                              << "Informazioni sul programma.";
        QTest::newRow("Uscita Principale") << "pgIDLE"
                                           << "btnUscita"
                                           << "Uscita " << exitTip;
        for (int year = 2005; year <= 2018; ++year)
            QTest::addRow("Anno %d", year) << "pgOPE" << QStringLiteral("btnAnno%1").arg(year)
                                           << QStringLiteral("Anno %1").arg(year) << kYearTip.arg(year);
        QTest::newRow("Richiedenti") << "pgOPE"
                                     << "btnRichiedenti"
                                     << "Richiedenti"
                                     << "";
        QTest::newRow("Professionisti") << "pgOPE"
                                        << "btnProfessionisti"
                                        << "Professionisti"
                                        << "";
        QTest::newRow("Imprese") << "pgOPE"
                                 << "btnImprese"
                                 << "Imprese"
                                 << "";
        QTest::newRow("Cerca") << "pgOPE"
                               << "btnCerca"
                               << "Cerca in anagrafica"
                               << "";
        QTest::newRow("Reports") << "pgOPE"
                                 << "btnReports"
                                 << "Reports"
                                 << "";
        QTest::newRow("Uscita Gestione") << "pgOPE"
                                         << "btnUscitaOpe"
                                         << "Uscita " << exitTip;
        QTest::newRow("Salvataggio") << "pgUTIL"
                                     << "bSalvataggio"
                                     << "Salvataggio dei dati"
                                     << "";
        QTest::newRow("Ripristino") << "pgUTIL"
                                    << "bRipristino"
                                    << "Ripristino dei dati"
                                    << "";
        QTest::newRow("Ripara") << "pgUTIL"
                                << "bRipara"
                                << "Ripara archivi"
                                << "";
        QTest::newRow("Aggiornamenti") << "pgUTIL"
                                       << "bUtilAgg"
                                       << "Verifica aggiornamenti automatici"
                                       << "";
        QTest::newRow("Scrivici") << "pgUTIL"
                                  << "bUtilEmail"
                                  << "Scrivici "
                                  << "";
        QTest::newRow("Storico") << "pgUTIL"
                                 << "bUtilHist"
                                 << "Storico Versioni"
                                 << "";
        QTest::newRow("Uscita Utilità") << "pgUTIL"
                                        << "btnUscitaUtil"
                                        << "Uscita " << exitTip;
    }
    void buttons()
    {
        QFETCH(QString, page);
        QFETCH(QString, name);
        Program p;
        p.showPage(page);
        QPushButton* b = p.find(name);
        QVERIFY(b);
        QVERIFY(b->isVisible());
        QVERIFY(b->isEnabled());
        QVERIFY(p.find<QWidget>(page)->isAncestorOf(b));
        QTEST(b->text(), "text");
        QTEST(b->toolTip(), "tip");
    }

    void texts_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::newRow("ZOL") << "pgIDLE"
                             << "ZOL";
        QTest::newRow("choose") << "pgOPE"
                                << "Scegliere cosa si desidera fare:";
        QTest::newRow("years") << "pgOPE"
                               << "Crea un nuova denuncia \nda trasmettere";
        QTest::newRow("legend") << "pgOPE"
                                << "Legenda dei simboli";
        QTest::newRow("open") << "pgOPE"
                              << "Denuncia Aperta";
        QTest::newRow("created") << "pgOPE"
                                 << "File già Creato";
        QTest::newRow("double click") << "pgOPE"
                                      << "Doppio clic per aprire la denuncia";
    }
    void texts()
    {
        QFETCH(QString, page);
        QFETCH(QString, text);
        Program p;
        QVERIFY2(labelTexts(p.find<QWidget>(page)).contains(text), qPrintable(text));
    }

    void heading()
    {
        Program p;
        QLabel* h = p.find<QLabel>(QStringLiteral("RichEdit1"));
        QTextDocument doc;
        doc.setHtml(h->text());
        QCOMPARE(doc.toPlainText(),
                 QStringLiteral("Comunicazioni dei comuni in materia di edilizia\n"
                                "Programma per la  trasmissione  dei dati da parte degli uffici comunali per  "
                                "l'edilizia,  dei  permessi  di costruire  e  ogni  altro  atto  di assenso   "
                                "comunque   denominato  in materia   di    attività   edilizia relativam.  ai "
                                "soggetti dichiaranti agli  esecutori  e  ai  progettisti dell'opera."));
        QCOMPARE(doc.begin().next().charFormat().foreground().color(), QColor(0xFF, 0x80, 0x40));
    }

    // "Anno 2012" creates the filing, which appears in the list as the current row; a second
    // press is refused while it is open.
    void yearButtonCreatesFiling()
    {
        Program p;
        int opened = 0;
        p.window().launchers.denunce = [&] {
            ++opened;
            QCOMPARE(p.dm().ttDENUNCE.text(QStringLiteral("DESCRIZIONE")), QStringLiteral("Denuncia n. 1 / 2012"));
        };
        p.addFiling(2011, 1, "C");
        p.showPage(QStringLiteral("pgOPE"));
        p.click(QStringLiteral("btnAnno2012"));
        QCOMPARE(p.user.texts(), QStringList());
        QCOMPARE(opened, 1);
        QCOMPARE(p.listRows(), (QStringList{"2011|Denuncia n. 1 / 2011|Creata", "2012|Denuncia n. 1 / 2012|Aperta"}));
        QCOMPARE(p.list()->currentIndex().row(), 1);
        QVERIFY(p.list()->selectionModel()->isRowSelected(1, {}));
        QVERIFY(!p.list()->model()->index(1, 2).data(Qt::DecorationRole).value<QIcon>().isNull());

        p.click(QStringLiteral("btnAnno2012"));
        QCOMPARE(
            p.user.texts(),
            QStringList{"Operazione annullata. E' probabile che esiste una denuncia ancora aperta per l'anno 2012"});
        QCOMPARE(opened, 1);
        QCOMPARE(p.listRows().size(), 2);
    }

    void stateColumn_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("icon");
        QTest::newRow("A") << "A"
                           << "Aperta" << true;
        QTest::newRow("C") << "C"
                           << "Creata" << true;
        QTest::newRow("T") << "T"
                           << "Trasmessa" << true;
        QTest::newRow("other") << "X"
                               << "" << false;
    }
    void stateColumn()
    {
        QFETCH(QString, stato);
        Program p;
        p.addFiling(2009, 4, stato.toLatin1().constData());
        const QModelIndex cell = p.list()->model()->index(0, 2);
        QTEST(cell.data().toString(), "label");
        QTEST(!cell.data(Qt::DecorationRole).value<QIcon>().isNull(), "icon");
    }

    // Choosing a row makes it the current filing; moving the current filing moves the row.
    void listFollowsCurrentFiling()
    {
        Program p;
        p.addFiling(2008, 1, "C");
        p.addFiling(2008, 2, "A");
        p.addFiling(2009, 1, "T");
        p.showPage(QStringLiteral("pgOPE"));
        QTableView* list = p.list();
        QCOMPARE(list->currentIndex().row(), 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 1)).center());
        QCOMPARE(p.dm().ttDENUNCE.recNo(), 0);
        QCOMPARE(p.dm().ttDENUNCE.text(QStringLiteral("DESCRIZIONE")), QStringLiteral("Denuncia n. 1 / 2008"));
        p.dm().ttDENUNCE.moveTo(1);
        QCOMPARE(list->currentIndex().row(), 1);

        QString openedOn;
        p.window().launchers.denunce = [&] { openedOn = p.dm().ttDENUNCE.text(QStringLiteral("DESCRIZIONE")); };
        const QPoint row2 = list->visualRect(list->model()->index(2, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row2);
        QCOMPARE(openedOn, QStringLiteral("Denuncia n. 1 / 2009"));
        QCOMPARE(
            list->toolTip(),
            QStringLiteral("Elenco delle denunce presenti in archivio.\n\nFare doppio clic per aprire una denuncia."));
    }

    void doubleClickOnEmptyList()
    {
        Program p;
        int opened = 0;
        p.window().launchers.denunce = [&] { ++opened; };
        p.showPage(QStringLiteral("pgOPE"));
        QTest::mouseDClick(p.list()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        p.window().listadenunceDblClick();
        QCOMPARE(opened, 0);
    }

    void documents_data()
    {
        QTest::addColumn<QString>("trigger"); // a button or a menu item
        QTest::addColumn<QString>("document");
        QTest::newRow("Guida") << "btnGuida"
                               << "Manuale/Manuale.pdf";
        QTest::newRow("Provvedimento") << "miProvvedimento"
                                       << "Normativa/Provvedimento_ZOL.pdf";
        QTest::newRow("Correttiva") << "miCorrettiva"
                                    << "Normativa/CORRETTIVA_ZOL_ver_19012007.pdf";
    }
    void documents()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, document);
        Program p;
        if (trigger.startsWith(QLatin1String("btn")))
            p.click(trigger);
        else
            p.window().findChild<QAction*>(trigger)->trigger();
        QCOMPARE(p.user.openedUrls, QList<QUrl>{QUrl::fromLocalFile(p.folder.filePath(document))});
        // The document is in the program folder, and is a PDF.
        QFile f(p.folder.filePath(document));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(document));
        QCOMPARE(f.read(5), QByteArray("%PDF-"));
        QCOMPARE(p.user.texts(), QStringList());
    }

    // A missing document is left to the desktop: no message of the program's own.
    void missingDocument()
    {
        Program p;
        QFile::remove(p.folder.filePath(QStringLiteral("Manuale/Manuale.pdf")));
        p.user.openUrlResult = false;
        p.click(QStringLiteral("btnGuida"));
        QCOMPARE(p.user.openedUrls.size(), 1);
        QCOMPARE(p.user.texts(), QStringList());
    }

    void aboutBox()
    {
        Program p;
        QStringList seen;
        ModalWatcher about([&](QWidget* w) {
            seen << w->windowTitle() << w->findChild<QLabel*>(QStringLiteral("prod_name"))->text()
                 << w->findChild<QLabel*>(QStringLiteral("ver"))->text()
                 << w->findChild<QLabel*>(QStringLiteral("comments"))->text();
            QLabel* chiudi = w->findChild<QLabel*>(QStringLiteral("lChiudi"));
            seen << chiudi->text();
            QCOMPARE(chiudi->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
            QTest::mouseClick(chiudi, Qt::LeftButton);
        });
        p.click(QStringLiteral("btnInfo"));
        QCOMPARE(about.seen(), 1);
        QCOMPARE(seen, (QStringList{
                           "Informazioni sul prodotto", "ZOL", "Versione: 8.14",
                           "Programma per la trasmissione dei dati da parte degli uffici comunali per l'edilizia, dei "
                           "permessi di costruire e ogni altro atto di assenso comunque denominato in materia di "
                           "attività edilizia  relativamente ai soggetti dichiaranti, agli esecutori e ai progettisti "
                           "dell'opera.",
                           "Chiudi finestra"}));
    }

    void versionHistory()
    {
        Program p;
        p.showPage(QStringLiteral("pgUTIL"));
        QList<QWidget*> dialogs;
        for (int i = 0; i < 2; ++i) {
            ModalWatcher memo([&](QWidget* w) {
                dialogs << w;
                QCOMPARE(w->windowTitle(), QStringLiteral("Storico delle versioni"));
                QCOMPARE(w->findChild<QTextBrowser*>()->toPlainText(),
                         QStringLiteral("Versione 6.00\nPrima versione rilasciata per l'annualità 2012\n\n"));
                QPushButton* ok = w->findChild<QPushButton*>(QStringLiteral("bOK"));
                QCOMPARE(ok->text(), QStringLiteral("OK"));
                QTest::mouseClick(ok, Qt::LeftButton);
            });
            p.click(QStringLiteral("bUtilHist"));
            QCOMPARE(memo.seen(), 1);
        }
        // The same window each time, kept for the whole run.
        QCOMPARE(dialogs.size(), 2);
        QCOMPARE(dialogs[0], dialogs[1]);
    }

    void configurazione()
    {
        Program p;
        ModalWatcher settings([](QWidget* w) {
            const auto edit = [w](const char* n) { return w->findChild<QLineEdit*>(QLatin1String(n)); };
            edit("edenom")->setText(QStringLiteral("COMUNE DI FORLÌ"));
            edit("eindirizzo")->setText(QStringLiteral("PIAZZA SAFFI 8"));
            edit("ecap")->setText(QStringLiteral("47121"));
            edit("eprov")->setText(QStringLiteral("FC"));
            edit("ecodfisc")->setText(QStringLiteral("00606620409"));
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("bSalvaConf")), Qt::LeftButton);
        });
        p.click(QStringLiteral("btnConfigurazione"));
        QCOMPARE(settings.className(), QStringLiteral("zol::TdlgImpostazioni"));
        QCOMPARE(p.dm().EnteSettings.DENOMINAZIONE, QStringLiteral("COMUNE DI FORLÌ"));
        QVERIFY(p.find<QLabel>(QStringLiteral("statusEnte"))->text().contains(QStringLiteral("COMUNE DI FORLÌ")));
    }

    // The buttons of windows made elsewhere: they call their function when it is there, and do
    // nothing (no message, no window) before.
    void otherFunctions_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("launcher");
        using L = TfrmMain::Launchers;
        const struct
        {
            const char* page;
            const char* name;
            std::function<void()> L::*launcher;
        } rows[] = {
            {"pgOPE", "btnRichiedenti", &L::richiedenti}, {"pgOPE", "btnProfessionisti", &L::professionisti},
            {"pgOPE", "btnImprese", &L::imprese},         {"pgOPE", "btnCerca", &L::ricerca},
            {"pgOPE", "btnReports", &L::reports},         {"pgUTIL", "bSalvataggio", &L::salvataggio},
            {"pgUTIL", "bRipristino", &L::ripristino},    {"pgUTIL", "bRipara", &L::ripara},
            {"pgUTIL", "bUtilAgg", &L::aggiornamenti},    {"pgUTIL", "bUtilEmail", &L::scrivici},
        };
        for (int i = 0; i < int(std::size(rows)); ++i)
            QTest::newRow(rows[i].name) << rows[i].page << rows[i].name << i;
        m_launchers.clear();
        for (const auto& r : rows)
            m_launchers << r.launcher;
    }
    void otherFunctions()
    {
        QFETCH(QString, page);
        QFETCH(QString, name);
        QFETCH(int, launcher);
        Program p;
        p.showPage(page);
        ModalWatcher anyDialog([](QWidget* w) { w->close(); });
        p.click(name);
        QTest::qWait(30);
        QCOMPARE(anyDialog.seen(), 0);
        QCOMPARE(p.user.texts(), QStringList());
        int called = 0;
        p.window().launchers.*m_launchers.at(launcher) = [&] { ++called; };
        p.click(name);
        QCOMPARE(called, 1);
    }

private:
    QList<std::function<void()> TfrmMain::Launchers::*> m_launchers;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
