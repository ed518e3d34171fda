// The start of the program and its end: the splash, the first showing of the main window with
// the weekly update question, PROVAUPDATE, the settings dialog or the incomplete-data message,
// the exit question, and the settings file written at the end.

#include "ModalWatcher.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFolder.h"

#include "app/forms/Startup.h"
#include "app/forms/TfrmMain.h"
#include "archive/Settings.h"
#include "archive/Tdm.h"
#include "archive/forms/TdlgImpostazioni.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace zol;
using zol::test::ScriptedInteraction;
using zol::test::TestFolder;

namespace {

const QDate kToday(2024, 3, 15);
const QString kUpdateQuestion =
    QStringLiteral("Si vuole verificare se è disponibile qualche aggiornamento del Programma ?");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Starts the program on folder and waits for the main window's first showing.
bool startAndShow(Startup& s)
{
    s.start();
    QSignalSpy shown(&s.mainWindow(), &TfrmMain::formShown);
    return shown.count() > 0 || shown.wait(5000);
}

Startup::Options options(const TestFolder& folder)
{
    Startup::Options o;
    o.programFolder = folder.path();
    o.splashSeconds = 0;
    o.today = [] { return kToday; };
    return o;
}

// Fills the settings dialog as a user does, choosing the town in the list, and saves.
void fillAndSave(QWidget* dialog)
{
    const auto edit = [dialog](const char* name) { return dialog->findChild<QLineEdit*>(QLatin1String(name)); };
    edit("edenom")->clear();
    QComboBox* citta = dialog->findChild<QComboBox*>(QStringLiteral("ecitta"));
    citta->showPopup();
    QAbstractItemView* v = citta->view();
    const QModelIndexList hit =
        v->model()->match(v->model()->index(0, 3), Qt::DisplayRole, QStringLiteral("H501"), 1, Qt::MatchExactly);
    v->setCurrentIndex(hit.value(0).siblingAtColumn(0));
    QTest::keyClick(v, Qt::Key_Return);
    edit("eindirizzo")->setText(QStringLiteral("VIA DEL CAMPIDOGLIO, 1"));
    edit("ecodfisc")->setText(QStringLiteral("02438750586"));
    edit("eresp")->setText(QStringLiteral("  ARCH. BIANCHI"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("bSalvaConf")), Qt::LeftButton);
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // No settings file: the update question, then the settings dialog; after "Salva" and the
    // exit the file holds every key; a second start on the same day asks nothing.
    void firstStartThenSecond()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QString ini = folder.filePath(QStringLiteral("ZOL.INI"));
        QVERIFY(!QFile::exists(ini));
        {
            ScriptedInteraction user;
            user.answer(Interaction::No);
            ModalWatcher settings(fillAndSave);
            Startup s(options(folder));
            QVERIFY(startAndShow(s));
            QCOMPARE(user.texts(), QStringList{kUpdateQuestion});
            QCOMPARE(user.messages.first().title, QStringLiteral("Verifica aggiornamenti"));
            QCOMPARE(settings.className(), QStringLiteral("zol::TdlgImpostazioni"));
            QVERIFY(s.mainWindow().isVisible());
            QVERIFY(s.mainWindow().isMaximized());

            user.answer(Interaction::Yes);
            QTest::mouseClick(s.mainWindow().findChild<QPushButton*>(QStringLiteral("btnUscita")), Qt::LeftButton);
            QVERIFY(!s.mainWindow().isVisible());
            s.finish();
            QCOMPARE(user.texts().last(), QStringLiteral("Si vuole terminare il programma ?"));
        }
        const QByteArray expected = "[ENTE]\r\n"
                                    "DENOMINAZIONE=COMUNE DI ROMA\r\n"
                                    "INDIRIZZO=VIA DEL CAMPIDOGLIO, 1\r\n"
                                    "CAP=00118\r\n"
                                    "CITTA=ROMA\r\n"
                                    "PROVINCIA=RM\r\n"
                                    "CODICEFISCALE=02438750586\r\n"
                                    "TEL=\r\n"
                                    "FAX=\r\n"
                                    "EMAIL=\r\n"
                                    "RESPONSABILE=\"  ARCH. BIANCHI\"\r\n"
                                    "BELFIORE=H501\r\n"
                                    "\r\n"
                                    "[ESEG]\r\n"
                                    "PRIMAESECUZIONE=0\r\n"
                                    "PROVAUPDATE=" +
                                    QByteArray::number(dayNumber(kToday)) + "\r\n";
        QCOMPARE(readAll(ini), expected);

        ScriptedInteraction user;
        ModalWatcher anyDialog([](QWidget* w) { w->close(); });
        Startup s(options(folder));
        QVERIFY(startAndShow(s));
        QTest::qWait(50);
        QCOMPARE(user.texts(), QStringList());
        QCOMPARE(anyDialog.seen(), 0);
        QCOMPARE(s.dm().EnteSettings.RESPONSABILE, QStringLiteral("  ARCH. BIANCHI"));
        updateStarted = true; // ends without the question
        s.mainWindow().close();
        updateStarted = false;
        s.finish();
        QCOMPARE(readAll(ini), expected);
    }

    void formShow_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no settings file
        QTest::addColumn<int>("answer");      // to the update question, when it comes
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("settingsDialog");
        QTest::addColumn<int>("updateChecks");

        const auto ini = [](int daysAgo, const char* belfiore, const char* prima, const char* denominazione) {
            return QByteArray("[ENTE]\nDENOMINAZIONE=") + denominazione + "\nBELFIORE=" + belfiore +
                   "\n[ESEG]\nPRIMAESECUZIONE=" + prima +
                   "\nPROVAUPDATE=" + QByteArray::number(dayNumber(kToday) - daysAgo) + "\n";
        };
        const QString incomplete = QStringLiteral("I dati dell'Ente non sono completi.");
        QTest::newRow("no file") << QByteArray() << int(Interaction::No) << QStringList{kUpdateQuestion} << true << 0;
        QTest::newRow("same day") << ini(0, "H501", "0", "COMUNE DI ROMA") << 0 << QStringList{} << false << 0;
        QTest::newRow("next day") << ini(1, "H501", "0", "COMUNE DI ROMA") << 0 << QStringList{} << false << 0;
        QTest::newRow("six days") << ini(6, "H501", "0", "COMUNE DI ROMA") << 0 << QStringList{} << false << 0;
        QTest::newRow("seven days, no") << ini(7, "H501", "0", "COMUNE DI ROMA") << int(Interaction::No)
                                        << QStringList{kUpdateQuestion} << false << 0;
        QTest::newRow("eight days, yes") << ini(8, "H501", "0", "COMUNE DI ROMA") << int(Interaction::Yes)
                                         << QStringList{kUpdateQuestion} << false << 1;
        QTest::newRow("code empty") << ini(1, "", "0", "COMUNE DI ROMA") << 0 << QStringList{} << true << 0;
        QTest::newRow("never ended") << ini(1, "H501", "1", "COMUNE DI ROMA") << 0 << QStringList{} << true << 0;
        QTest::newRow("denomination empty") << ini(1, "H501", "0", "") << 0 << QStringList{incomplete} << false << 0;
        QTest::newRow("denomination blank")
            << ini(1, "H501", "0", "\"  \"") << 0 << QStringList{incomplete} << false << 0;
        QTest::newRow("denomination empty, code empty") << ini(1, "", "0", "") << 0 << QStringList{} << true << 0;
        QTest::newRow("a date in the future") << ini(-30, "H501", "0", "X") << 0 << QStringList{} << false << 0;
    }
    void formShow()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, answer);
        TestFolder folder;
        if (!file.isEmpty())
            writeAll(folder.filePath(QStringLiteral("ZOL.INI")), file);
        ScriptedInteraction user;
        if (answer)
            user.answer(answer);
        ModalWatcher settings([](QWidget* w) {
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("bAnnullaConf")), Qt::LeftButton);
        });
        Startup s(options(folder));
        int checks = 0;
        s.start();
        s.mainWindow().launchers.aggiornamenti = [&checks] { ++checks; };
        QSignalSpy shown(&s.mainWindow(), &TfrmMain::formShown);
        QVERIFY(shown.wait(5000));
        QTest::qWait(30);
        QTEST(user.texts(), "texts");
        QTEST(settings.seen() == 1, "settingsDialog");
        QTEST(checks, "updateChecks");
        QCOMPARE(s.dm().EnteSettings.PROVAUPDATE, dayNumber(kToday));
        QCOMPARE(s.mainWindow().findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex(), 0);
        QCOMPARE(user.pendingAnswers(), 0);
    }

    // The splash shows the version while the archive opens and is freed at the first showing.
    void splash()
    {
        TestFolder folder;
        writeAll(folder.filePath(QStringLiteral("ZOL.INI")),
                 "[ENTE]\nBELFIORE=H501\n[ESEG]\nPRIMAESECUZIONE=0\nPROVAUPDATE=" +
                     QByteArray::number(dayNumber(kToday)) + "\n");
        ScriptedInteraction user;
        Startup::Options o = options(folder);
        o.splashSeconds = 1;
        Startup s(o);
        s.start();
        QWidget* splash = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("splash") && w->isVisible())
                splash = w;
        QVERIFY(splash);
        QCOMPARE(splash->findChild<QLabel*>(QStringLiteral("ver"))->text(), QStringLiteral("Versione: 8.14"));
        QPointer<QWidget> watch(splash);
        // Half-way through the wait the splash is still on the screen.
        bool shownDuringWait = false;
        QTimer::singleShot(500, [&] { shownDuringWait = watch && watch->isVisible(); });
        QTRY_VERIFY_WITH_TIMEOUT(!watch, 3000);
        QVERIFY(shownDuringWait);
    }

    void exitQuestion_data()
    {
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<bool>("updating");
        QTest::addColumn<bool>("closed");
        QTest::newRow("no keeps the program") << int(Interaction::No) << false << false;
        QTest::newRow("yes ends it") << int(Interaction::Yes) << false << true;
        QTest::newRow("during an update download") << 0 << true << true;
    }
    void exitQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, updating);
        TestFolder folder;
        writeAll(folder.filePath(QStringLiteral("ZOL.INI")),
                 "[ENTE]\nBELFIORE=H501\n[ESEG]\nPRIMAESECUZIONE=0\nPROVAUPDATE=" +
                     QByteArray::number(dayNumber(kToday)) + "\n");
        ScriptedInteraction user;
        Startup s(options(folder));
        QVERIFY(startAndShow(s));
        if (answer)
            user.answer(answer);
        updateStarted = updating;
        s.mainWindow().close(); // the window's close box
        updateStarted = false;
        QTEST(!s.mainWindow().isVisible(), "closed");
        if (answer) {
            QCOMPARE(user.messages.size(), 1);
            const ScriptedInteraction::Message& m = user.messages.first();
            QCOMPARE(m.title, QStringLiteral("Fine programma"));
            QCOMPARE(m.text, QStringLiteral("Si vuole terminare il programma ?"));
            QCOMPARE(m.icon, Interaction::Icon::Information);
            QCOMPARE(m.buttons, int(Interaction::Yes | Interaction::No));
            QCOMPARE(m.defaultButton, int(Interaction::No));
        } else {
            QCOMPARE(user.messages.size(), 0);
        }
    }

    // A settings file that cannot be written at the end is reported, with a retry.
    void settingsNotWritten()
    {
        TestFolder folder;
        const QString ini = folder.filePath(QStringLiteral("ZOL.INI"));
        writeAll(ini, "[ENTE]\nBELFIORE=H501\n[ESEG]\nPRIMAESECUZIONE=0\nPROVAUPDATE=" +
                          QByteArray::number(dayNumber(kToday)) + "\n");
        ScriptedInteraction user;
        Startup s(options(folder));
        QVERIFY(startAndShow(s));
        // The file's place is taken by a folder: it cannot be replaced.
        QVERIFY(QFile::remove(ini));
        QVERIFY(QDir().mkpath(ini + QStringLiteral("/x")));
        user.answer(Interaction::Retry);
        user.answer(Interaction::Cancel);
        s.finish();
        QCOMPARE(user.messages.size(), 2);
        QVERIFY2(user.texts().first().startsWith(
                     QStringLiteral("Impossibile salvare le impostazioni dell'Ente nel file %1: ")
                         .arg(QDir::toNativeSeparators(ini))),
                 qPrintable(user.texts().first()));
        QCOMPARE(user.messages.first().buttons, int(Interaction::Retry | Interaction::Cancel));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
