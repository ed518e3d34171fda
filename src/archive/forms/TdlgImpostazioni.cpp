#include "archive/forms/TdlgImpostazioni.h"

#include "app/Interaction.h"
#include "archive/Cp1252.h"
#include "archive/Query.h"
#include "archive/Tdm.h"

#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <QValidator>

namespace zol {
namespace {

enum ComuniColumn { colNome, colProv, colCap, colCodice, colCount };

// Typed letters a-z become capitals (accented letters stay as typed, as the archive keeps
// them); characters that the Ente's files cannot hold in Windows-1252 are not accepted.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (!Cp1252::canEncode(input))
            return Invalid;
        for (QChar& c : input)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - ('a' - 'A'));
        return Acceptable;
    }
};

// The municipalities whose name contains what was typed, the closest first: the name itself,
// then names that begin with it, then names with a word that begins with it, then the rest.
class MunicipalityMatches : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setTyped(const QString& typed)
    {
        m_typed = typed.trimmed();
        invalidate();
        sort(colNome);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        return !m_typed.isEmpty() &&
               name(sourceModel()->index(row, colNome, parent)).contains(m_typed, Qt::CaseInsensitive);
    }
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override
    {
        const int ra = rank(name(a));
        const int rb = rank(name(b));
        if (ra != rb)
            return ra < rb;
        return name(a) < name(b);
    }

private:
    static QString name(const QModelIndex& i) { return i.data().toString(); }
    int rank(const QString& n) const
    {
        if (n.compare(m_typed, Qt::CaseInsensitive) == 0)
            return 0;
        if (n.startsWith(m_typed, Qt::CaseInsensitive))
            return 1;
        const int at = int(n.indexOf(m_typed, 0, Qt::CaseInsensitive));
        return at > 0 && !n.at(at - 1).isLetterOrNumber() ? 2 : 3;
    }
    QString m_typed;
};

QLabel* caption(const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

// The drop-down lists of municipalities show name, province, postal code and code side by side,
// so that two municipalities of the same name can be told apart.
class MunicipalityView : public QTableView
{
public:
    // The completer sizes its popup from this: rows are all of one height.
    int sizeHintForRow(int) const override { return verticalHeader()->defaultSectionSize(); }
};

QTableView* municipalityView()
{
    auto* v = new MunicipalityView;
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->setShowGrid(false);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setWordWrap(false);
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 4);
    v->horizontalHeader()->setStretchLastSection(true);
    v->setMinimumWidth(420);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return v;
}

// Once the view has its model.
void sizeColumns(QAbstractItemView* view)
{
    auto* v = static_cast<QTableView*>(view);
    v->setColumnWidth(colNome, 230);
    v->setColumnWidth(colProv, 40);
    v->setColumnWidth(colCap, 70);
}

} // namespace

TdlgImpostazioni::TdlgImpostazioni(Tdm& dm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_dm(dm)
{
    setObjectName(QStringLiteral("dlgImpostazioni"));
    setWindowTitle(QStringLiteral("Impostazioni"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Impostazione dei dati del Comune"));
    heading->setObjectName(QStringLiteral("lTitolo"));
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    heading->setFont(bold);

    m_comuni = new QStandardItemModel(this);
    ecitta = new QComboBox;
    ecitta->setObjectName(QStringLiteral("ecitta"));
    ecitta->setEditable(true);
    ecitta->setInsertPolicy(QComboBox::NoInsert);
    ecitta->setMaxVisibleItems(20);
    ecitta->setMinimumWidth(240);
    ecitta->lineEdit()->setValidator(new UpperCaseValidator(ecitta));
    ecitta->lineEdit()->installEventFilter(this);
    loadComuni();
    ecitta->setModel(m_comuni);
    ecitta->setModelColumn(colNome);
    ecitta->setView(municipalityView());
    // Typing part of a name offers every municipality that contains it.
    auto* matches = new MunicipalityMatches(ecitta);
    matches->setSourceModel(m_comuni);
    auto* completer = new QCompleter(matches, ecitta);
    completer->setObjectName(QStringLiteral("ecittaCompleter"));
    completer->setCompletionColumn(colNome);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setMaxVisibleItems(15);
    completer->setPopup(municipalityView());
    ecitta->setCompleter(completer);
    sizeColumns(ecitta->view());
    sizeColumns(completer->popup());
    connect(ecitta->lineEdit(), &QLineEdit::textEdited, this, [matches, completer](const QString& text) {
        matches->setTyped(text);
        if (matches->rowCount() > 0)
            completer->complete();
        else
            completer->popup()->hide();
    });
    ecitta->setCurrentIndex(-1);
    connect(ecitta, &QComboBox::activated, this, [this](int) { dxLookupEdit1CloseUp(); });

    ecap = addEdit("ecap", 5);
    eBelf = addEdit("eBelf", 4);
    eprov = addEdit("eprov", 2);
    edenom = addEdit("edenom", 50);
    eindirizzo = addEdit("eindirizzo", 40);
    ecodfisc = addEdit("ecodfisc", 11);
    etel = addEdit("etel", 16);
    efax = addEdit("efax", 16);
    eemail = addEdit("eemail", 80);
    eresp = addEdit("eresp", 50);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    int r = 0;
    grid->addWidget(caption(QStringLiteral("Città"), ecitta), r, 0);
    grid->addWidget(caption(QStringLiteral("C.A.P."), ecap), r, 1);
    grid->addWidget(caption(QStringLiteral("Cod. Cat."), eBelf), r, 2);
    grid->addWidget(caption(QStringLiteral("Prov."), eprov), r, 3);
    ++r;
    grid->addWidget(ecitta, r, 0);
    grid->addWidget(ecap, r, 1);
    grid->addWidget(eBelf, r, 2);
    grid->addWidget(eprov, r, 3);
    const QFontMetrics fm(font());
    ecap->setFixedWidth(fm.horizontalAdvance(QStringLiteral("000000")) + 16);
    eBelf->setFixedWidth(fm.horizontalAdvance(QStringLiteral("MMMM")) + 16);
    eprov->setFixedWidth(fm.horizontalAdvance(QStringLiteral("MMM")) + 16);
    const auto row = [&](const QString& label, QWidget* field) {
        grid->setRowMinimumHeight(++r, 6);
        grid->addWidget(caption(label, field), ++r, 0, 1, 4);
        grid->addWidget(field, ++r, 0, 1, 4);
    };
    row(QStringLiteral("Denominazione dell'Ente (es. COMUNE DI ROMA)"), edenom);
    row(QStringLiteral("Indirizzo"), eindirizzo);
    row(QStringLiteral("Codice fiscale dell'Ente (max 11 caratteri)"), ecodfisc);
    ecodfisc->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("00000000000")) + 24);
    {
        grid->setRowMinimumHeight(++r, 6);
        ++r;
        auto* telRow = new QGridLayout;
        telRow->setVerticalSpacing(2);
        telRow->addWidget(caption(QStringLiteral("Telefono"), etel), 0, 0);
        telRow->addWidget(caption(QStringLiteral("FAX"), efax), 0, 1);
        telRow->addWidget(etel, 1, 0);
        telRow->addWidget(efax, 1, 1);
        grid->addLayout(telRow, r, 0, 2, 4);
        ++r;
    }
    row(QStringLiteral("Indirizzo e-mail"), eemail);
    row(QStringLiteral("Responsabile"), eresp);

    bSalvaConf = new QPushButton(QStringLiteral("Salva"));
    bSalvaConf->setObjectName(QStringLiteral("bSalvaConf"));
    bAnnullaConf = new QPushButton(QStringLiteral("Annulla"));
    bAnnullaConf->setObjectName(QStringLiteral("bAnnullaConf"));
    for (QPushButton* b : {bSalvaConf, bAnnullaConf}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
    }
    connect(bSalvaConf, &QPushButton::clicked, this, &TdlgImpostazioni::bSalvaConfClick);
    connect(bAnnullaConf, &QPushButton::clicked, this, &TdlgImpostazioni::bAnnullaConfClick);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(bSalvaConf);
    buttons->addWidget(bAnnullaConf);
    buttons->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(grid, 1);
    body->addSpacing(12);
    body->addLayout(buttons);
    auto* top = new QVBoxLayout(this);
    top->addWidget(heading);
    top->addSpacing(8);
    top->addLayout(body);
    setMinimumWidth(620);
}

QLineEdit* TdlgImpostazioni::addEdit(const char* name, int maxLength)
{
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(maxLength);
    e->setValidator(new UpperCaseValidator(e));
    e->installEventFilter(this);
    return e;
}

void TdlgImpostazioni::loadComuni()
{
    m_comuni->setColumnCount(colCount);
    // Foreign states share the table (province EE, for places of birth) but are no Ente.
    Query q(&m_dm, QStringLiteral("qComuniEnte"));
    q.setSql(QStringLiteral("select NOME, PROV, CAP, CODICE from COMUNI where PROV <> :estero order by NOME, PROV"));
    q.setParam(QStringLiteral("estero"), QStringLiteral("EE"));
    if (!q.open())
        return;
    m_comuni->setRowCount(q.rowCount());
    for (int i = 0; i < q.rowCount(); ++i)
        for (int c = 0; c < colCount; ++c) {
            auto* item = new QStandardItem(q.valueAt(i, c).toString());
            item->setEditable(false);
            m_comuni->setItem(i, c, item);
        }
}

int TdlgImpostazioni::comuneRow(const QString& name) const
{
    const QList<QStandardItem*> found = m_comuni->findItems(name, Qt::MatchFixedString, colNome);
    return found.isEmpty() ? -1 : found.first()->row();
}

void TdlgImpostazioni::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TdlgImpostazioni::FormShow()
{
    const TEnteSettings& s = m_dm.EnteSettings;
    const int row = comuneRow(s.CITTA);
    ecitta->setCurrentIndex(row);
    ecitta->setEditText(s.CITTA);
    ecap->setText(s.CAP);
    eBelf->setText(s.BELFIORE);
    eprov->setText(s.PROVINCIA);
    edenom->setText(s.DENOMINAZIONE);
    eindirizzo->setText(s.INDIRIZZO);
    ecodfisc->setText(s.CODICEFISCALE);
    etel->setText(s.TEL);
    efax->setText(s.FAX);
    eemail->setText(s.EMAIL);
    eresp->setText(s.RESPONSABILE);
}

void TdlgImpostazioni::dxLookupEdit1CloseUp()
{
    const int row = ecitta->currentIndex();
    if (row < 0 || row >= m_comuni->rowCount())
        return;
    const auto cell = [this, row](int column) { return m_comuni->item(row, column)->text(); };
    ecap->setText(cell(colCap));
    eBelf->setText(cell(colCodice));
    eprov->setText(cell(colProv));
    // The placeholder of a new installation ("COMUNE DI ...") is no denomination either.
    const QString denominazione = edenom->text().trimmed();
    if (denominazione.isEmpty() || denominazione == TEnteSettings().DENOMINAZIONE)
        edenom->setText(QStringLiteral("COMUNE DI ") + cell(colNome));
}

QString TdlgImpostazioni::problems() const
{
    QString out;
    const auto empty = [](const QLineEdit* e) { return e->text().trimmed().isEmpty(); };
    if (empty(edenom))
        out += QStringLiteral("Denominazione Ente - campo obbligatorio\n");
    if (empty(eindirizzo))
        out += QStringLiteral("Indirizzo - campo obbligatorio\n");
    if (empty(ecap))
        out += QStringLiteral("CAP - campo obbligatorio\n");
    if (empty(eBelf))
        out += QStringLiteral("Codice belfiore dell'ente - campo obbligatorio\n");
    if (empty(eprov))
        out += QStringLiteral("Provincia - campo obbligatorio\n");
    if (ecodfisc->text().trimmed().size() != 11)
        out += QStringLiteral("Codice Fiscale Ente - valore errato o mancante\n");
    return out;
}

void TdlgImpostazioni::bSalvaConfClick()
{
    const QString list = problems();
    if (!list.isEmpty()) {
        ui().warning(QStringLiteral("Sono stati riscontrati i seguenti problemi:\n") + list, windowTitle());
        return;
    }
    TEnteSettings& s = m_dm.EnteSettings;
    s.CITTA = ecitta->currentText();
    s.CAP = ecap->text();
    s.BELFIORE = eBelf->text();
    s.PROVINCIA = eprov->text();
    s.DENOMINAZIONE = edenom->text();
    s.INDIRIZZO = eindirizzo->text();
    s.CODICEFISCALE = ecodfisc->text();
    s.TEL = etel->text();
    s.FAX = efax->text();
    s.EMAIL = eemail->text();
    s.RESPONSABILE = eresp->text();
    accept();
}

void TdlgImpostazioni::bAnnullaConfClick()
{
    reject();
}

bool TdlgImpostazioni::eventFilter(QObject* watched, QEvent* event)
{
    // Enter moves on to the next field, as in the office's other forms.
    if (event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && k->modifiers() == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zol
