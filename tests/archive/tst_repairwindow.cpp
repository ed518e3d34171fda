#include "TestFolder.h"

#include "app/forms/QtInteraction.h"
#include "archive/Connection.h"
#include "archive/Tdm.h"
#include "archive/forms/TDlgDPDbOnProgress.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace zol;

namespace {

// The real Qt interaction, watched: the repair window is pictured the first time its gauge moves.
class WatchedInteraction : public QtInteraction
{
public:
    QString picturePath;
    QString seenCaption;
    QString seenLabel;
    int seenPercent = -1;
    bool seenVisible = false;
    bool seenBold = false;

    void setProgress(const QString& label, int percent) override
    {
        QtInteraction::setProgress(label, percent);
        if (seenPercent > 0 || percent <= 0 || !progressWindow())
            return;
        TDlgDPDbOnProgress* w = progressWindow();
        seenCaption = w->windowTitle();
        seenLabel = w->findChild<QLabel*>(QStringLiteral("LabInfo"))->text();
        seenBold = w->findChild<QLabel*>(QStringLiteral("LabInfo"))->font().bold();
        seenPercent = w->findChild<QProgressBar*>(QStringLiteral("ProgressGauge"))->value();
        seenVisible = w->isVisible();
        w->grab().save(picturePath);
    }
};

} // namespace

class TestRepairWindow : public QObject
{
    Q_OBJECT

private slots:
    void repairShowsItsWindow()
    {
        test::TestFolder folder;
        const QString path = folder.dataPath() + QStringLiteral("RICHIEDENTI.DAT");
        {
            Connection c;
            QVERIFY(c.open(path));
            c.exec(QStringLiteral("BEGIN"));
            for (int i = 0; i < 4000; ++i)
                c.exec(
                    QStringLiteral(
                        "INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_COGNOME, PERS_NOME) VALUES ('P', ?, 'ANNA')"),
                    QVariantList{QStringLiteral("COGNOME %1").arg(i)});
            c.exec(QStringLiteral("COMMIT"));
        }
        // Damage one page in the middle of the file.
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 pages = f.size() / 4096;
        f.seek((pages / 2) * 4096);
        f.write(QByteArray(32, '\xEE'));
        f.close();

        WatchedInteraction ui;
        ui.picturePath = QDir(QString::fromLocal8Bit(qgetenv("ZOL_BINARY_DIR"))).filePath(QStringLiteral("pictures"));
        QDir().mkpath(ui.picturePath);
        ui.picturePath += QStringLiteral("/TDlgDPDbOnProgress.png");
        InteractionGuard guard(&ui);
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QCOMPARE(ui.seenCaption, QStringLiteral("Attendere prego ..."));
        QCOMPARE(ui.seenLabel, QStringLiteral(" Riparazione Tabella RICHIEDENTI.DAT..."));
        QVERIFY(ui.seenBold);
        QVERIFY(ui.seenVisible);
        QVERIFY(ui.seenPercent > 0 && ui.seenPercent <= 100);
        QVERIFY(QFile::exists(ui.picturePath));
        QVERIFY(!ui.progressWindow()); // freed at the end
        QVERIFY(dm.ttRICHIEDENTI.isActive());
        QVERIFY(dm.ttRICHIEDENTI.rowCount() > 3800);
    }
};

QTEST_MAIN(TestRepairWindow)
#include "tst_repairwindow.moc"
