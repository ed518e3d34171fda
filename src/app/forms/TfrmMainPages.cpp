// The three pages of the main window and the look they share.

#include "app/forms/DenunceListModel.h"
#include "app/forms/Pictures.h"
#include "app/forms/TfrmMain.h"
#include "archive/Tdm.h"
#include "filings/FilingYears.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zol {
namespace {

const QString kExitTip = QStringLiteral("Uscita dal programma.");

// A blue office-like look.
const char* const kStyle = R"(
QMainWindow, QTabWidget > QWidget { background: #e9f0fa; }
QTabWidget::pane { border: 1px solid #8fb4e3; background: #f4f8fd; top: -1px; }
QTabBar::tab { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f8fd, stop:1 #c6d9f1);
               border: 1px solid #8fb4e3; border-bottom: none; padding: 7px 22px; margin-right: 2px;
               border-top-left-radius: 5px; border-top-right-radius: 5px; color: #1f3f6e; }
QTabBar::tab:selected { background: #f4f8fd; font-weight: bold; }
QTabBar::tab:hover:!selected { background: #ffe7b3; }
QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d3e2f5);
              border: 1px solid #7fa3d4; border-radius: 4px; padding: 6px 14px; color: #10305a; }
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff4d6, stop:1 #ffd98a);
                    border-color: #e0a030; }
QPushButton:pressed { background: #ffc45a; }
QPushButton::menu-indicator { subcontrol-position: right center; right: 6px; }
QGroupBox { border: 1px solid #8fb4e3; border-radius: 6px; margin-top: 16px; padding-top: 8px;
            background: #eef4fc; font-weight: bold; color: #1f4e8c; }
QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 4px; }
QTableView#listadenunce { background: #ffffff; border: 1px solid #8fb4e3;
                          selection-background-color: #3d6fb4; selection-color: #ffffff; }
QLabel#lZol { color: #1f4e8c; }
QLabel#lAssistenza { color: #1f3f6e; }
QStatusBar { background: #d3e2f5; color: #10305a; }
)";

QLabel* boldLabel(const QString& text)
{
    auto* l = new QLabel(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

QPushButton* TfrmMain::button(const QString& text, const QString& objectName, const QString& toolTip)
{
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    b->setToolTip(toolTip);
    b->setMinimumWidth(170);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QPushButton* TfrmMain::exitButton(const QString& objectName)
{
    QPushButton* b = button(QStringLiteral("Uscita "), objectName, kExitTip);
    connect(b, &QPushButton::clicked, this, &TfrmMain::btnUscitaClick);
    return b;
}

QWidget* TfrmMain::buildPrincipale()
{
    setStyleSheet(QLatin1String(kStyle));
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pgIDLE"));

    auto* heading = new QLabel(QStringLiteral(
        "<p align=\"center\" style=\"font-family: Verdana; font-size: 12pt; font-weight: bold;\">"
        "Comunicazioni dei comuni in materia di edilizia</p>"
        "<p align=\"left\" style=\"font-family: Tahoma; font-size: 10pt; color: #FF8040; white-space: pre-wrap;\">"
        "Programma per la  trasmissione  dei dati da parte degli uffici comunali per  l'edilizia,  dei  permessi  "
        "di costruire  e  ogni  altro  atto  di assenso   comunque   denominato  in materia   di    attività   "
        "edilizia relativam.  ai soggetti dichiaranti agli  esecutori  e  ai  progettisti dell'opera.</p>"));
    heading->setObjectName(QStringLiteral("RichEdit1"));
    heading->setTextFormat(Qt::RichText);
    heading->setWordWrap(true);
    // A wrapped label placed by alignment gets no height for its width: give it both.
    heading->setFixedWidth(560);
    heading->setFixedHeight(heading->heightForWidth(560));

    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(pictures::emblem(160));
    auto* zol = new QLabel(QStringLiteral("ZOL"));
    zol->setObjectName(QStringLiteral("lZol"));
    QFont big = zol->font();
    big.setPointSize(48);
    big.setBold(true);
    zol->setFont(big);
    zol->setAlignment(Qt::AlignCenter);
    auto* support =
        new QLabel(QStringLiteral("Assistenza tecnica: usare il pulsante \"Scrivici\" nella pagina Utilità\n"
                                  "per inviare un messaggio al servizio di assistenza."));
    support->setObjectName(QStringLiteral("lAssistenza"));
    support->setAlignment(Qt::AlignCenter);

    QPushButton* configurazione = button(QStringLiteral("Configurazione"), QStringLiteral("btnConfigurazione"),
                                         QStringLiteral("Mostra la scheda per impostare:\n\n- i dati dell'Ente;"));
    connect(configurazione, &QPushButton::clicked, this, &TfrmMain::btnConfigurazioneClick);
    QPushButton* guida = button(QStringLiteral("Guida"), QStringLiteral("btnGuida"),
                                QStringLiteral("Mostra il manuale d'uso del programma."));
    connect(guida, &QPushButton::clicked, this, &TfrmMain::btnGuidaClick);
    QPushButton* normativa = button(QStringLiteral("Normativa"), QStringLiteral("btnNormativa"),
                                    QStringLiteral("Permette l'accesso ai documenti della Normativa"));
    auto* menu = new QMenu(normativa);
    menu->setObjectName(QStringLiteral("pmNormativa"));
    menu->addAction(QStringLiteral("Provvedimento Agenzia delle Entrate"), this,
                    [this] { openDocument(provvedimentoPath()); })
        ->setObjectName(QStringLiteral("miProvvedimento"));
    menu->addAction(QStringLiteral("Nota Correttiva del 19/01/2007"), this, [this] { openDocument(correttivaPath()); })
        ->setObjectName(QStringLiteral("miCorrettiva"));
    normativa->setMenu(menu);
    QPushButton* info =
        button(QStringLiteral("Info"), QStringLiteral("btnInfo"), QStringLiteral("Informazioni sul programma."));
    connect(info, &QPushButton::clicked, this, &TfrmMain::btnInfoClick);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {configurazione, guida, normativa, info})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(exitButton(QStringLiteral("btnUscita")));

    auto* left = new QVBoxLayout;
    left->addStretch();
    left->addWidget(picture, 0, Qt::AlignHCenter);
    left->addWidget(zol);
    left->addSpacing(20);
    left->addWidget(heading, 0, Qt::AlignHCenter);
    left->addStretch();
    left->addWidget(support);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(left, 1);
    layout->addSpacing(24);
    layout->addLayout(buttons);
    return page;
}

QWidget* TfrmMain::buildGestione()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pgOPE"));

    auto* years = new QGroupBox;
    years->setObjectName(QStringLiteral("gbNuovaDenuncia"));
    auto* yearsLayout = new QGridLayout(years);
    auto* yearsHeading = boldLabel(QStringLiteral("Crea un nuova denuncia \nda trasmettere"));
    yearsHeading->setObjectName(QStringLiteral("lNuovaDenuncia"));
    yearsHeading->setAlignment(Qt::AlignCenter);
    yearsLayout->addWidget(yearsHeading, 0, 0, 1, 2);
    const int count = FilingYears::last - FilingYears::first + 1;
    const int perColumn = (count + 1) / 2;
    for (int year = FilingYears::first; year <= FilingYears::last; ++year) {
        QPushButton* b =
            button(QStringLiteral("Anno %1").arg(year), QStringLiteral("btnAnno%1").arg(year),
                   QStringLiteral("Crea una nuova denuncia per l'anno %1.\n\nIn caso una denuncia per tale anno sia "
                                  "ancora aperta, l'operazione non viene consentita in quanto è possibile utilizzare "
                                  "tale denuncia invece di crearne una nuova.")
                       .arg(year));
        b->setMinimumWidth(110);
        connect(b, &QPushButton::clicked, this, [this, year] { yearButtonClick(year); });
        const int i = year - FilingYears::first;
        yearsLayout->addWidget(b, 1 + i % perColumn, i / perColumn);
    }

    m_list = new QTableView;
    m_list->setObjectName(QStringLiteral("listadenunce"));
    m_model = new DenunceListModel(m_dm.ttDENUNCE, m_list);
    m_list->setModel(m_model);
    m_list->horizontalHeader()->hide();
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->horizontalHeader()->setSectionResizeMode(DenunceListModel::ColDescrizione, QHeaderView::Stretch);
    m_list->setColumnWidth(DenunceListModel::ColAnno, 70);
    m_list->setColumnWidth(DenunceListModel::ColStato, 120);
    m_list->setIconSize(QSize(16, 16));
    const QString listTip =
        QStringLiteral("Elenco delle denunce presenti in archivio.\n\nFare doppio clic per aprire una denuncia.");
    m_list->setToolTip(listTip);
    m_list->viewport()->setToolTip(listTip);
    connect(m_list, &QTableView::doubleClicked, this, &TfrmMain::listadenunceDblClick);

    auto* legend = new QGroupBox;
    legend->setObjectName(QStringLiteral("gbLegenda"));
    auto* legendLayout = new QGridLayout(legend);
    legendLayout->addWidget(boldLabel(QStringLiteral("Legenda dei simboli")), 0, 0, 1, 4);
    const auto symbol = [&](const QString& stato, const QString& text, int column) {
        auto* icon = new QLabel;
        icon->setPixmap(pictures::stateIcon(stato).pixmap(16, 16));
        legendLayout->addWidget(icon, 1, column);
        legendLayout->addWidget(new QLabel(text), 1, column + 1);
    };
    symbol(QStringLiteral("A"), QStringLiteral("Denuncia Aperta"), 0);
    symbol(QStringLiteral("C"), QStringLiteral("File già Creato"), 2);
    legendLayout->setColumnStretch(4, 1);
    legendLayout->addWidget(new QLabel(QStringLiteral("Doppio clic per aprire la denuncia")), 2, 0, 1, 5);

    auto* center = new QVBoxLayout;
    center->addWidget(m_list, 1);
    center->addWidget(legend);

    const struct
    {
        const char* text;
        const char* name;
        std::function<void()> Launchers::*launcher;
    } functions[] = {
        {"Richiedenti", "btnRichiedenti", &Launchers::richiedenti},
        {"Professionisti", "btnProfessionisti", &Launchers::professionisti},
        {"Imprese", "btnImprese", &Launchers::imprese},
        {"Cerca in anagrafica", "btnCerca", &Launchers::ricerca},
        {"Reports", "btnReports", &Launchers::reports},
    };
    auto* buttons = new QVBoxLayout;
    for (const auto& f : functions) {
        QPushButton* b = button(QString::fromUtf8(f.text), QLatin1String(f.name));
        const auto launcher = f.launcher;
        connect(b, &QPushButton::clicked, this, [this, launcher] { run(launchers.*launcher); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(exitButton(QStringLiteral("btnUscitaOpe")));

    auto* choose = boldLabel(QStringLiteral("Scegliere cosa si desidera fare:"));
    choose->setObjectName(QStringLiteral("lScegliere"));
    auto* body = new QHBoxLayout;
    body->addWidget(years, 0, Qt::AlignTop);
    body->addSpacing(12);
    body->addLayout(center, 1);
    body->addSpacing(12);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->addWidget(choose);
    layout->addLayout(body, 1);
    return page;
}

QWidget* TfrmMain::buildUtilita()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("pgUTIL"));

    const auto group =
        [this](const QString& title, const QString& name,
               std::initializer_list<std::tuple<const char*, const char*, std::function<void()>>> items) {
            auto* box = new QGroupBox(title);
            box->setObjectName(name);
            auto* l = new QVBoxLayout(box);
            for (const auto& [text, objectName, action] : items) {
                QPushButton* b = button(QString::fromUtf8(text), QLatin1String(objectName));
                b->setMinimumWidth(260);
                connect(b, &QPushButton::clicked, this, action);
                l->addWidget(b);
            }
            return box;
        };
    QGroupBox* sicurezza = group(QStringLiteral("Sicurezza dei dati"), QStringLiteral("gbSicurezza"),
                                 {{"Salvataggio dei dati", "bSalvataggio", [this] { run(launchers.salvataggio); }},
                                  {"Ripristino dei dati", "bRipristino", [this] { run(launchers.ripristino); }},
                                  {"Ripara archivi", "bRipara", [this] { run(launchers.ripara); }}});
    QGroupBox* assistenza =
        group(QStringLiteral("Assistenza"), QStringLiteral("gbAssistenza"),
              {{"Verifica aggiornamenti automatici", "bUtilAgg", [this] { run(launchers.aggiornamenti); }},
               {"Scrivici ", "bUtilEmail", [this] { run(launchers.scrivici); }},
               {"Storico Versioni", "bUtilHist", [this] { bUtilHistClick(); }}});

    auto* groups = new QHBoxLayout;
    groups->addStretch();
    groups->addWidget(sicurezza, 0, Qt::AlignTop);
    groups->addSpacing(30);
    groups->addWidget(assistenza, 0, Qt::AlignTop);
    groups->addStretch();
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch();
    exitRow->addWidget(exitButton(QStringLiteral("btnUscitaUtil")));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 24, 24, 16);
    layout->addLayout(groups);
    layout->addStretch();
    layout->addLayout(exitRow);
    return page;
}

} // namespace zol
