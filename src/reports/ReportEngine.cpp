#include "reports/ReportEngine.h"

#include "app/Interaction.h"
#include "archive/Dataset.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPainter.h"

#include <QDate>

namespace zol {

using namespace report;

namespace {

ReportEngine::UserFunction& defaultHandler()
{
    static ReportEngine::UserFunction handler;
    return handler;
}

// Below this many records a report is prepared without a progress window.
constexpr int kProgressThreshold = 500;

} // namespace

class ReportEngine::Context : public EvalContext
{
public:
    explicit Context(ReportEngine& e) : m_e(e) {}

    QVariant fieldValue(int index) const override
    {
        const Dataset* ds = m_e.m_dataset;
        if (!ds || m_e.m_row < 0 || m_e.m_row >= ds->rowCount())
            return QVariant();
        return ds->valueAt(m_e.m_row, index);
    }

    QVariant special(NameRef ref) const override
    {
        switch (ref) {
        case NameRef::Page:
            return qlonglong(m_e.m_page);
        case NameRef::Pages:
            return qlonglong(m_e.m_pages);
        case NameRef::Today:
            return m_e.m_today.isValid() ? m_e.m_today : QDate::currentDate();
        case NameRef::Row:
            return qlonglong(m_e.m_row + 1);
        default:
            return QVariant();
        }
    }

    bool userFunction(const ExprNode& call, QVariant& result, QString* error) override
    {
        if (!m_e.m_userFunction)
            return true;
        const QString outer = m_e.m_raised;
        m_e.m_raised.clear();
        const QStringList& a = call.argTexts;
        m_e.m_userFunction(m_e, call.name, a.value(0), a.value(1), a.value(2), result);
        const QString raised = m_e.m_raised;
        m_e.m_raised = outer;
        if (raised.isEmpty())
            return true;
        *error = QStringLiteral("%1: %2").arg(call.name, raised);
        return false;
    }

private:
    ReportEngine& m_e;
};

ReportEngine::ReportEngine() : m_userFunction(defaultHandler()) {}

void ReportEngine::setDefaultUserFunction(UserFunction handler)
{
    defaultHandler() = std::move(handler);
}

void ReportEngine::clearVariables()
{
    m_variables.clear();
    m_variableNames.clear();
    m_evalCache.clear();
}

void ReportEngine::setVariable(const QString& name, const QVariant& value)
{
    QVariant v = value;
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Short || v.typeId() == QMetaType::UInt)
        v = v.toLongLong();
    const QString key = name.toUpper();
    m_variables.insert(key, v);
    m_variableNames.insert(key, name);
    m_evalCache.clear();
}

QVariantMap ReportEngine::variables() const
{
    QVariantMap out;
    for (auto it = m_variables.cbegin(); it != m_variables.cend(); ++it)
        out.insert(m_variableNames.value(it.key()), it.value());
    return out;
}

void ReportEngine::setDataset(Dataset* dataset)
{
    m_dataset = dataset;
    m_evalCache.clear();
}

bool ReportEngine::loadFromFile(const QString& path)
{
    m_prepared = PreparedReport();
    m_error.clear();
    if (!m_template.load(path)) {
        m_error = m_template.errorString();
        return false;
    }
    return true;
}

bool ReportEngine::loadFromText(const QString& text, const QString& name)
{
    m_prepared = PreparedReport();
    m_error.clear();
    if (!m_template.parse(text, name)) {
        m_error = m_template.errorString();
        return false;
    }
    return true;
}

bool ReportEngine::bindExpression(ExprNode& root, QString* unknown)
{
    bool ok = true;
    forEachName(root, [&](ExprNode& n) {
        n.ref = NameRef::Unbound;
        const QString key = n.name.toUpper();
        const int field = m_dataset ? m_dataset->fieldIndex(n.name) : -1;
        if (n.qualified) {
            if (field >= 0) {
                n.ref = NameRef::Field;
                n.fieldIndex = field;
            }
        } else if (m_variables.contains(key)) {
            n.ref = NameRef::Variable;
            n.value = m_variables.value(key);
        } else if (field >= 0) {
            n.ref = NameRef::Field;
            n.fieldIndex = field;
        } else if (key == QLatin1String("PAGE")) {
            n.ref = NameRef::Page;
        } else if (key == QLatin1String("PAGES")) {
            n.ref = NameRef::Pages;
        } else if (key == QLatin1String("TODAY")) {
            n.ref = NameRef::Today;
        } else if (key == QLatin1String("ROW")) {
            n.ref = NameRef::Row;
        }
        if (n.ref == NameRef::Unbound && ok) {
            ok = false;
            if (n.qualified)
                *unknown =
                    m_dataset ? QStringLiteral("campo sconosciuto nella sorgente dati: frDB1.%1").arg(n.name)
                              : QStringLiteral("campo %1 richiesto, ma la stampa non ha una sorgente dati").arg(n.name);
            else
                *unknown = QStringLiteral("campo o variabile sconosciuta: %1").arg(n.name);
            *unknown += QStringLiteral("@%1").arg(n.column);
        }
    });
    return ok;
}

bool ReportEngine::bindTemplate()
{
    for (Band& band : m_template.bands) {
        for (ReportObject& o : band.objects) {
            for (TextPiece& p : o.pieces) {
                if (!p.expr)
                    continue;
                QString unknown;
                if (!bindExpression(*p.expr, &unknown)) {
                    const int at = unknown.lastIndexOf(QLatin1Char('@'));
                    ExprError e{unknown.left(at), unknown.mid(at + 1).toInt()};
                    failAt(o, p, e);
                    return false;
                }
            }
        }
    }
    return true;
}

void ReportEngine::failAt(const ReportObject& o, const TextPiece& piece, const ExprError& e)
{
    if (m_error.isEmpty())
        m_error = m_template.placeMessage(o.line, piece.column + qMax(0, e.column - 1), e.message);
}

QString ReportEngine::objectText(const ReportObject& o)
{
    QString out;
    for (const TextPiece& p : o.pieces) {
        if (!p.expr) {
            out += p.literal;
            continue;
        }
        Context context(*this);
        QVariant v;
        ExprError e;
        if (!report::evaluate(*p.expr, context, v, &e)) {
            failAt(o, p, e);
            return QString();
        }
        out += displayText(v);
    }
    return out;
}

bool ReportEngine::objectUsesPageNumbers(const ReportObject& o) const
{
    for (const TextPiece& p : o.pieces)
        if (p.expr && usesPageNumbers(*p.expr))
            return true;
    return false;
}

QVariant ReportEngine::evaluate(const QString& expression)
{
    QVariant v;
    QString error;
    if (!evaluate(expression, v, &error)) {
        raiseError(error);
        return QVariant();
    }
    return v;
}

bool ReportEngine::evaluate(const QString& expression, QVariant& result, QString* error)
{
    ExprPtr expr = m_evalCache.value(expression);
    if (!expr) {
        ExprError pe;
        expr = parseExpression(expression, &pe);
        QString unknown;
        if (!expr) {
            *error = QStringLiteral("espressione \"%1\" non valida: %2").arg(expression, pe.message);
            return false;
        }
        if (!bindExpression(*expr, &unknown)) {
            *error = unknown.left(unknown.lastIndexOf(QLatin1Char('@')));
            return false;
        }
        m_evalCache.insert(expression, expr);
    }
    Context context(*this);
    ExprError e;
    if (!report::evaluate(*expr, context, result, &e)) {
        *error = e.message;
        return false;
    }
    return true;
}

void ReportEngine::raiseError(const QString& message)
{
    if (m_raised.isEmpty())
        m_raised = message;
}

bool ReportEngine::prepareReport()
{
    m_prepared = PreparedReport();
    m_error.clear();
    m_raised.clear();
    m_evalCache.clear();
    if (m_template.bands.isEmpty()) {
        m_error = m_template.errorString().isEmpty() ? QStringLiteral("Nessun modello di stampa caricato.")
                                                     : m_template.errorString();
        return false;
    }
    if (!bindTemplate())
        return false;

    const PageSetup& page = m_template.page;
    m_prepared.title = m_template.title.isEmpty() ? m_template.name() : m_template.title;
    m_prepared.paperSize = QSizeF(mmToDots(page.paper().width()), mmToDots(page.paper().height()));
    m_prepared.landscape = page.landscape;

    const Band* header = m_template.band(BandType::PageHeader);
    const Band* footer = m_template.band(BandType::PageFooter);
    const Band* title = m_template.band(BandType::Title);
    const Band* master = m_template.band(BandType::MasterData);
    const Band* summary = m_template.band(BandType::Summary);

    Layouter layouter(m_template, m_prepared);
    Paginator pager(m_template, m_prepared, layouter, footer ? mmToDots(footer->height) : 0);
    struct Deferred
    {
        int page, item;
        const ReportObject* object;
        int row;
    };
    QList<Deferred> deferred;
    QHash<const ReportObject*, bool> usesPages;
    const auto text = [this](const ReportObject& o) { return objectText(o); };
    const auto later = [&](const ReportObject& o) {
        auto it = usesPages.find(&o);
        if (it == usesPages.end())
            it = usesPages.insert(&o, objectUsesPageNumbers(o));
        return it.value();
    };
    const auto layout = [&](const Band& band) {
        BandLayout b = layouter.layoutBand(band, text, later);
        b.row = m_row;
        return b;
    };
    pager.onDeferred = [&](int pageIndex, int item, const ReportObject* object, int row) {
        deferred.append({pageIndex, item, object, row});
    };
    bool headerDone = false;
    pager.onNewPage = [&]() {
        m_page = pager.pageCount();
        if (header && (headerDone || m_page > 1)) {
            pager.placeFixed(layout(*header));
            headerDone = true;
        }
    };

    const int rows = master && m_dataset ? m_dataset->rowCount() : 0;
    m_pages = 0;
    m_row = rows > 0 ? 0 : -1;
    // The first page: the report title, then the page header.
    pager.addPage();
    if (title)
        pager.place(layout(*title));
    if (header && !headerDone && pager.pageCount() == 1) {
        m_page = 1;
        pager.placeFixed(layout(*header));
    }
    headerDone = true;

    const bool progress = rows >= kProgressThreshold;
    if (progress)
        ui().beginProgress(QStringLiteral("Stampa"), QStringLiteral("Preparazione della stampa..."));
    int shown = -1;
    for (int r = 0; r < rows && m_error.isEmpty(); ++r) {
        m_row = r;
        m_page = pager.pageCount();
        pager.place(layout(*master));
        if (progress && r * 100 / rows != shown) {
            shown = r * 100 / rows;
            ui().setProgress(QStringLiteral("Preparazione della stampa: record %1 di %2").arg(r + 1).arg(rows), shown);
            ui().processEvents();
        }
    }
    if (progress)
        ui().endProgress();
    if (summary && m_error.isEmpty()) {
        m_row = rows - 1;
        m_page = pager.pageCount();
        pager.place(layout(*summary));
    }

    // Now that the pages are counted: page footers and the texts that show page numbers.
    m_pages = pager.pageCount();
    for (int i = 0; footer && i < m_pages && m_error.isEmpty(); ++i) {
        m_page = i + 1;
        m_row = pager.lastRowOfPage.at(i);
        BandLayout b = layouter.layoutBand(*footer, text, [](const ReportObject&) { return false; });
        pager.placeAt(b, i, pager.footerTop());
    }
    for (const Deferred& d : deferred) {
        if (!m_error.isEmpty())
            break;
        m_page = d.page + 1;
        m_row = d.row;
        PageItem& item = m_prepared.pages[d.page].items[d.item];
        layouter.layoutText(*d.object, objectText(*d.object), item, false);
    }
    m_row = -1;
    if (!m_error.isEmpty()) {
        m_prepared = PreparedReport();
        return false;
    }
    return true;
}

bool ReportEngine::exportToPdf(const QString& path)
{
    if (m_prepared.pages.isEmpty()) {
        m_error = QStringLiteral("La stampa non è stata preparata.");
        return false;
    }
    QString error;
    if (!writePdf(m_prepared, path, &error)) {
        m_error = error;
        return false;
    }
    return true;
}

bool renderReportToPdf(const ReportRequest& request, const QString& pdfPath, QString* error)
{
    ReportEngine engine;
    engine.clearVariables();
    for (auto it = request.variables.cbegin(); it != request.variables.cend(); ++it)
        engine.setVariable(it.key(), it.value());
    engine.setDataset(request.master);
    if (engine.loadFromFile(request.templatePath) && engine.prepareReport() && engine.exportToPdf(pdfPath))
        return true;
    if (error)
        *error = engine.errorString();
    return false;
}

} // namespace zol
