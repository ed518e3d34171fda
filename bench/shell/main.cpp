// Start-up and settings figures: how long the settings dialog takes to open with the whole
// municipality list and to answer each typed letter; how long the program takes from its start
// to a usable main window on a large archive; how long a year button takes with many filings.
//   bench_shell [requests] [filings]

#include "SyntheticArchive.h"

#include "app/Interaction.h"
#include "app/forms/Startup.h"
#include "app/forms/TfrmMain.h"
#include "archive/Installer.h"
#include "archive/Settings.h"
#include "archive/Tdm.h"
#include "archive/forms/TdlgImpostazioni.h"
#include "filings/FilingLifecycle.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace zol;

namespace {

// Answers every question with its default and shows nothing.
class Quiet : public QuietInteraction
{
public:
    bool openUrl(const QUrl&) override { return true; }
    bool previewReport(const ReportRequest&) override { return true; }
};

double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int requests = argc > 1 ? atoi(argv[1]) : 10000;
    const int filings = argc > 2 ? atoi(argv[2]) : 1000;
    Quiet quiet;
    InteractionGuard guard(&quiet);

    QTemporaryDir dir;
    QString error;
    if (!Installer::createProgramFolder(dir.path(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    bench::SyntheticArchiveOptions o;
    o.requests = requests;
    bench::SyntheticArchive made;
    if (!bench::fillSyntheticArchive(dir.path(), o, &made, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString folder = dir.path() + QLatin1Char('/');
    TEnteSettings ente = bench::syntheticEnte();
    ente.PRIMAESECUZIONE = false;
    ente.PROVAUPDATE = dayNumber(QDate::currentDate());
    writeSettingsFile(folder + QStringLiteral("ZOL.INI"), ente, &error);

    // Many filings, most of them closed, spread over the years.
    {
        Tdm dm(folder);
        dm.DataModuleCreate();
        dm.StartTransaction();
        for (int i = 1; i < filings; ++i) {
            const int year = 2005 + i % 14;
            dm.ttDENUNCE.append();
            dm.ttDENUNCE.setValue(QStringLiteral("ANNO"), year);
            dm.ttDENUNCE.setValue(QStringLiteral("PROGRESSIVO"), 100 + i);
            dm.ttDENUNCE.setValue(QStringLiteral("DESCRIZIONE"), descrizioneDenuncia(100 + i, year));
            dm.ttDENUNCE.setValue(QStringLiteral("STATO"), QStringLiteral("C"));
            dm.ttDENUNCE.post();
        }
        dm.Commit();
        dm.DataModuleDestroy();
    }
    std::printf("archive: %d requests, %d filings\n", requests, filings);

    // Start: splash, data module, main window, first showing (without the two seconds).
    QElapsedTimer t;
    t.start();
    Startup::Options so;
    so.programFolder = folder;
    so.splashSeconds = 0;
    Startup s(so);
    s.start();
    QSignalSpy shown(&s.mainWindow(), &TfrmMain::formShown);
    shown.wait(60000);
    std::printf("start to usable main window: %.0f ms\n", ms(t));

    // A year button with many filings in the archive.
    t.restart();
    const bool created = CreateDenuncia(s.dm(), 2012);
    QApplication::processEvents();
    std::printf("year button (new filing, list updated): %.1f ms%s\n", ms(t), created ? "" : " (refused)");

    // The settings dialog with the municipality list.
    double open = 0;
    QList<double> keys;
    const int rounds = 5;
    for (int r = 0; r < rounds; ++r) {
        t.restart();
        TdlgImpostazioni dlg(s.dm());
        dlg.show();
        QApplication::processEvents();
        open += ms(t);
        QLineEdit* line = dlg.findChild<QComboBox*>(QStringLiteral("ecitta"))->lineEdit();
        line->setFocus();
        int k = 0;
        for (const QChar c : QStringLiteral("roma")) {
            t.restart();
            QTest::keyClick(line, c.toLatin1());
            QApplication::processEvents();
            if (keys.size() <= k)
                keys << 0;
            keys[k++] += ms(t);
        }
        dlg.close();
    }
    std::printf("settings dialog open: %.1f ms\n", open / rounds);
    const char* typed[] = {"r", "ro", "rom", "roma"};
    for (int k = 0; k < keys.size(); ++k)
        std::printf("  search after \"%s\": %.1f ms\n", typed[k], keys[k] / rounds);

    // The settings file at the end.
    t.restart();
    for (int i = 0; i < 100; ++i)
        writeSettingsFile(folder + QStringLiteral("ZOL.INI"), ente, &error);
    std::printf("settings file written: %.2f ms\n", ms(t) / 100);
    updateStarted = true;
    s.mainWindow().close();
    t.restart();
    s.finish();
    std::printf("end (archive closed, settings written): %.0f ms\n", ms(t));
    return 0;
}
