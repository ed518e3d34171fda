// Pictures of the windows of the start-up, the main window and the settings, with sample data,
// written as PNG files into <build>/pictures/ so that anyone can look at the program without
// clicking through it. Each picture is checked to hold something drawn.

#include "support/ScriptedInteraction.h"
#include "support/TestFolder.h"

#include "app/forms/HintSettings.h"
#include "app/forms/Startup.h"
#include "app/forms/TdlgAboutBox.h"
#include "app/forms/TdlgMemo.h"
#include "app/forms/TfrmMain.h"
#include "archive/Settings.h"
#include "archive/Tdm.h"
#include "archive/forms/TdlgImpostazioni.h"
#include "filings/FilingLifecycle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace zol;
using zol::test::ScriptedInteraction;
using zol::test::TestFolder;

class TestPictures : public QObject
{
    Q_OBJECT

private:
    QString m_dir;

    // Saves the picture and checks that it is not one flat colour.
    void save(const QPixmap& pixmap, const QString& name)
    {
        QVERIFY(!pixmap.isNull());
        const QImage img = pixmap.toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < img.height(); y += 7)
            for (int x = 0; x < img.width(); x += 7)
                colours.insert(img.pixel(x, y));
        QVERIFY2(colours.size() > 3, qPrintable(name));
        const QString path = m_dir + name + QStringLiteral(".png");
        QVERIFY2(pixmap.save(path), qPrintable(path));
        qInfo("%s", qPrintable(path));
    }

    static void settleLayout(QWidget* w)
    {
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("window not exposed");
        QTest::qWait(50);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!qEnvironmentVariableIsEmpty("ZOL_BINARY_DIR"));
        m_dir = qEnvironmentVariable("ZOL_BINARY_DIR") + QStringLiteral("/pictures/");
        QVERIFY(QDir().mkpath(m_dir));
        applyHintSettings(*qApp);
        // Without fonts the pictures would show empty boxes.
        const QFontMetrics fm(QApplication::font());
        QVERIFY(fm.inFont(QChar(0x00E0)));
        QVERIFY(fm.inFont(QChar(0x20AC)));
    }

    void startUpWindows()
    {
        TdlgAboutBox splash(nullptr, TdlgAboutBox::Mode::Splash);
        splash.setVersion(versionText());
        settleLayout(&splash);
        save(splash.grab(), QStringLiteral("splash"));

        TdlgAboutBox about;
        about.setVersion(versionText());
        settleLayout(&about);
        save(about.grab(), QStringLiteral("about"));

        TdlgMemo memo;
        settleLayout(&memo);
        save(memo.grab(), QStringLiteral("storico-versioni"));
    }

    void mainWindow()
    {
        TestFolder folder;
        ScriptedInteraction user;
        QFile ini(folder.filePath(QStringLiteral("ZOL.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[ENTE]\r\nDENOMINAZIONE=COMUNE DI FORL\xCC\r\nBELFIORE=D704\r\n[ESEG]\r\nPRIMAESECUZIONE=0\r\n"
                  "PROVAUPDATE=" +
                  QByteArray::number(dayNumber(QDate::currentDate())) + "\r\n");
        ini.close();
        Startup::Options o;
        o.programFolder = folder.path();
        o.splashSeconds = 0;
        Startup s(o);
        s.start();
        QSignalSpy shown(&s.mainWindow(), &TfrmMain::formShown);
        QVERIFY(shown.wait(5000));
        TfrmMain& w = s.mainWindow();
        w.showNormal();
        w.resize(1280, 800);

        // Sample filings in the three states.
        Tdm& dm = s.dm();
        for (int year : {2009, 2010, 2011})
            QVERIFY(CreateDenuncia(dm, year));
        for (int row : {0, 1}) {
            dm.ttDENUNCE.moveTo(row);
            QVERIFY(dm.ttDENUNCE.edit());
            dm.ttDENUNCE.setValue(QStringLiteral("STATO"), row == 0 ? QStringLiteral("T") : QStringLiteral("C"));
            QVERIFY(dm.ttDENUNCE.post());
        }
        QVERIFY(CreateDenuncia(dm, 2012));

        auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        const QStringList names{QStringLiteral("principale"), QStringLiteral("gestione-dei-dati"),
                                QStringLiteral("utilita")};
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QTest::qWait(50);
            save(w.grab(), QStringLiteral("main-") + names[i]);
        }
        updateStarted = true;
        w.close();
        updateStarted = false;
    }

    void settingsDialog()
    {
        TestFolder folder;
        Tdm dm(folder.path());
        ScriptedInteraction user;
        dm.DataModuleCreate();
        dm.EnteSettings.DENOMINAZIONE.clear();
        TdlgImpostazioni dlg(dm);
        settleLayout(&dlg);
        save(dlg.grab(), QStringLiteral("impostazioni-vuota"));

        // Typing part of a name: the list of matching municipalities.
        QComboBox* citta = dlg.findChild<QComboBox*>(QStringLiteral("ecitta"));
        citta->lineEdit()->setFocus();
        QTest::keyClicks(citta->lineEdit(), QStringLiteral("forl"));
        QWidget* popup = citta->completer()->popup();
        QTRY_VERIFY(popup->isVisible());
        QTest::qWait(50);
        save(popup->grab(), QStringLiteral("impostazioni-ricerca-comune"));
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        const auto edit = [&dlg](const char* n) { return dlg.findChild<QLineEdit*>(QLatin1String(n)); };
        edit("eindirizzo")->setText(QStringLiteral("PIAZZA SAFFI, 8"));
        edit("ecodfisc")->setText(QStringLiteral("00606620409"));
        edit("etel")->setText(QStringLiteral("0543 712111"));
        edit("eemail")->setText(QStringLiteral("PROTOCOLLO@COMUNE.FORLI.FC.IT"));
        edit("eresp")->setText(QStringLiteral("ARCH. ROSSI MARIA"));
        QTest::qWait(50);
        save(dlg.grab(), QStringLiteral("impostazioni-compilata"));
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
