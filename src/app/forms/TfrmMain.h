#pragma once

#include <QDate>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace zol {

class Tdm;
class TdlgMemo;
class DenunceListModel;

// Set when the upgrader begins to download a new version: the program then ends without asking.
extern bool updateStarted;

// The main window: the launcher of the program's functions on three pages ("Principale",
// "Gestione dei dati", "Utilità") and the list of filings. At its first showing it frees the
// splash, may ask about updates and sends the user to the Ente settings while they are missing;
// closing it ends the program after a confirmation.
class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmMain(Tdm& dm, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The splash window, freed at the first showing.
    void setSplash(QWidget* splash) { m_splash = splash; }

    // Functions of other windows, set by the start-up; a button whose function is not set yet
    // does nothing.
    struct Launchers
    {
        std::function<void()> denunce; // the filing window on the current filing
        std::function<void()> richiedenti;
        std::function<void()> professionisti;
        std::function<void()> imprese;
        std::function<void()> ricerca;
        std::function<void()> reports;
        std::function<void()> salvataggio;
        std::function<void()> ripristino;
        std::function<void()> ripara;
        std::function<void()> aggiornamenti; // the update check
        std::function<void()> scrivici;
    };
    Launchers launchers;

    // Seconds the splash stays after the main window appears.
    int splashSeconds = 2;
    // Today's date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // Relative paths of the documents under the program folder.
    static QString manualPath() { return QStringLiteral("Manuale/Manuale.pdf"); }
    static QString provvedimentoPath() { return QStringLiteral("Normativa/Provvedimento_ZOL.pdf"); }
    static QString correttivaPath() { return QStringLiteral("Normativa/CORRETTIVA_ZOL_ver_19012007.pdf"); }

public slots:
    void btnConfigurazioneClick();
    void btnGuidaClick();
    void btnInfoClick();
    void btnUscitaClick();
    void bUtilHistClick();
    void yearButtonClick(int year);
    void listadenunceDblClick();

signals:
    // The first showing has done its work (splash freed, questions asked).
    void formShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void openDocument(const QString& relativePath);
    void run(const std::function<void()>& launcher);
    void updateStatusBar();
    void followCurrentFiling();

    QWidget* buildPrincipale();
    QWidget* buildGestione();
    QWidget* buildUtilita();
    QPushButton* button(const QString& text, const QString& objectName, const QString& toolTip = QString());
    QPushButton* exitButton(const QString& objectName);

    Tdm& m_dm;
    QPointer<QWidget> m_splash;
    QTabWidget* m_pages = nullptr;
    QTableView* m_list = nullptr;
    DenunceListModel* m_model = nullptr;
    TdlgMemo* m_memo = nullptr;
    QLabel* m_statusEnte = nullptr;
    bool m_shown = false;
    bool m_syncing = false;
};

} // namespace zol
