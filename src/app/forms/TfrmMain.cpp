#include "app/forms/TfrmMain.h"

#include "app/Interaction.h"
#include "app/forms/DenunceListModel.h"
#include "app/forms/TdlgAboutBox.h"
#include "app/forms/TdlgMemo.h"
#include "archive/Settings.h"
#include "archive/Tdm.h"
#include "archive/forms/TdlgImpostazioni.h"
#include "filings/FilingLifecycle.h"

#include <QCloseEvent>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>

namespace zol {

bool updateStarted = false;

TfrmMain::TfrmMain(Tdm& dm, QWidget* parent) : QMainWindow(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZOL - Comunicazione dei comuni in materia di edilizia"));

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildPrincipale(), QStringLiteral("Principale"));
    m_pages->addTab(buildGestione(), QStringLiteral("Gestione dei dati"));
    m_pages->addTab(buildUtilita(), QStringLiteral("Utilità"));
    setCentralWidget(m_pages);

    m_statusEnte = new QLabel;
    m_statusEnte->setObjectName(QStringLiteral("statusEnte"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(m_statusEnte, 1);
    auto* version = new QLabel(versionText());
    version->setObjectName(QStringLiteral("statusVersione"));
    statusBar()->addPermanentWidget(version);
    updateStatusBar();

    m_memo = new TdlgMemo(this);

    connect(&m_dm.ttDENUNCE, &Dataset::currentChanged, this, &TfrmMain::followCurrentFiling);
    connect(&m_dm.ttDENUNCE, &Dataset::rowsReset, this, &TfrmMain::followCurrentFiling);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_syncing || !current.isValid() || current.row() == m_dm.ttDENUNCE.recNo())
                    return;
                m_syncing = true;
                m_dm.ttDENUNCE.moveTo(current.row());
                m_syncing = false;
            });
    followCurrentFiling();
}

TfrmMain::~TfrmMain()
{
    delete m_splash;
}

void TfrmMain::followCurrentFiling()
{
    if (m_syncing)
        return;
    const int row = m_dm.ttDENUNCE.recNo();
    m_syncing = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, 0);
        m_list->selectionModel()->setCurrentIndex(index,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_list->scrollTo(index);
    } else {
        m_list->selectionModel()->clearSelection();
    }
    m_syncing = false;
}

void TfrmMain::updateStatusBar()
{
    const QString ente = m_dm.EnteSettings.DENOMINAZIONE.trimmed();
    m_statusEnte->setText(
        QStringLiteral("Ente: %1    Archivio: %2")
            .arg(ente.isEmpty() ? QStringLiteral("non impostato") : ente, QDir::toNativeSeparators(m_dm.dataFolder())));
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window has been painted once.
    QTimer::singleShot(0, this, &TfrmMain::FormShow);
}

void TfrmMain::FormShow()
{
    WaitSeconds(splashSeconds);
    delete m_splash;
    m_pages->setCurrentIndex(0);

    TEnteSettings& s = m_dm.EnteSettings;
    const int day = dayNumber(today());
    if (day - s.PROVAUPDATE >= 7) {
        const int answer =
            ui().message(QStringLiteral("Verifica aggiornamenti"),
                         QStringLiteral("Si vuole verificare se è disponibile qualche aggiornamento del Programma ?"),
                         Interaction::Icon::Question, Interaction::Yes | Interaction::No, Interaction::Yes);
        if (answer == Interaction::Yes)
            run(launchers.aggiornamenti);
    }
    s.PROVAUPDATE = day;

    if (s.PRIMAESECUZIONE || s.BELFIORE.isEmpty())
        btnConfigurazioneClick();
    else if (s.DENOMINAZIONE.trimmed().isEmpty())
        ui().information(QStringLiteral("I dati dell'Ente non sono completi."), QStringLiteral("ZOL"));
    emit formShown();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (updateStarted) {
        event->accept();
        return;
    }
    const int answer =
        ui().message(QStringLiteral("Fine programma"), QStringLiteral("Si vuole terminare il programma ?"),
                     Interaction::Icon::Information, Interaction::Yes | Interaction::No, Interaction::No);
    if (answer == Interaction::No)
        event->ignore();
    else
        event->accept();
}

void TfrmMain::btnConfigurazioneClick()
{
    auto* dlg = new TdlgImpostazioni(m_dm, this);
    dlg->exec();
    delete dlg;
    updateStatusBar();
}

void TfrmMain::openDocument(const QString& relativePath)
{
    // A missing document is the desktop's business: the program says nothing of its own.
    ui().openUrl(QUrl::fromLocalFile(m_dm.ProgramFolder() + relativePath));
}

void TfrmMain::btnGuidaClick()
{
    openDocument(manualPath());
}

void TfrmMain::btnInfoClick()
{
    auto* box = new TdlgAboutBox(this);
    box->setVersion(versionText());
    box->exec();
    delete box;
}

void TfrmMain::btnUscitaClick()
{
    close();
}

void TfrmMain::bUtilHistClick()
{
    m_memo->exec();
}

void TfrmMain::run(const std::function<void()>& launcher)
{
    if (launcher)
        launcher();
}

void TfrmMain::yearButtonClick(int year)
{
    if (CreateDenuncia(m_dm, year))
        run(launchers.denunce);
}

void TfrmMain::listadenunceDblClick()
{
    if (m_dm.ttDENUNCE.rowCount() > 0)
        run(launchers.denunce);
}

} // namespace zol
