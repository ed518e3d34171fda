#include "reports/forms/ReportPreviewDialog.h"

#include "reports/ReportEngine.h"
#include "reports/ReportPainter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

namespace zol {

// Paints one page of the report at the chosen scale, on a grey desk with a margin around it.
class ReportPageView : public QWidget
{
public:
    ReportPageView(const report::PreparedReport& report, QWidget* parent) : QWidget(parent), m_report(report)
    {
        setObjectName(QStringLiteral("pageView"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(128, 128, 128));
        setPalette(p);
    }

    void show(int page, double zoom, const QRectF& highlight)
    {
        m_page = page;
        m_zoom = zoom;
        m_highlight = highlight;
        const QSizeF paper = m_report.paperSize * scale();
        setFixedSize(int(paper.width()) + 2 * kDesk, int(paper.height()) + 2 * kDesk);
        update();
    }

    double scale() const { return m_zoom * logicalDpiX() / report::kDotsPerInch; }
    static constexpr int kDesk = 12;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QSizeF paper = m_report.paperSize * scale();
        const QRectF sheet(kDesk, kDesk, paper.width(), paper.height());
        p.fillRect(sheet.translated(3, 3), QColor(60, 60, 60));
        p.fillRect(sheet, Qt::white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.translate(kDesk, kDesk);
        p.scale(scale(), scale());
        report::paintPage(p, m_report, m_page, m_highlight);
    }

private:
    const report::PreparedReport& m_report;
    int m_page = 0;
    double m_zoom = 1;
    QRectF m_highlight;
};

namespace {

enum ZoomChoice { FitPage = -2, FitWidth = -1 };

QToolButton* toolButton(const QString& name, const QString& text, const QString& tip, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

} // namespace

ReportPreviewDialog::ReportPreviewDialog(const report::PreparedReport& report, QWidget* parent)
    : QDialog(parent), m_report(report)
{
    setObjectName(QStringLiteral("ReportPreviewDialog"));
    setWindowTitle(QStringLiteral("Anteprima di stampa - %1").arg(report.title));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    buildUi();
    resize(900, 1000);
    updatePage();
}

void ReportPreviewDialog::buildUi()
{
    auto* bar = new QHBoxLayout;
    m_first = toolButton(QStringLiteral("btnPrima"), QStringLiteral("|<"), QStringLiteral("Prima pagina"), this);
    m_prev =
        toolButton(QStringLiteral("btnPrecedente"), QStringLiteral("<"), QStringLiteral("Pagina precedente"), this);
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("pagina"));
    m_pageBox->setRange(1, qMax(1, pageCount()));
    m_pageBox->setToolTip(QStringLiteral("Pagina mostrata"));
    m_pageCount = new QLabel(QStringLiteral("di %1").arg(pageCount()), this);
    m_pageCount->setObjectName(QStringLiteral("numeroPagine"));
    m_next =
        toolButton(QStringLiteral("btnSuccessiva"), QStringLiteral(">"), QStringLiteral("Pagina successiva"), this);
    m_last = toolButton(QStringLiteral("btnUltima"), QStringLiteral(">|"), QStringLiteral("Ultima pagina"), this);
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("zoom"));
    m_zoom->setToolTip(QStringLiteral("Ingrandimento"));
    m_zoom->addItem(QStringLiteral("Pagina intera"), double(FitPage));
    m_zoom->addItem(QStringLiteral("Larghezza pagina"), double(FitWidth));
    for (int percent : {50, 75, 100, 125, 150, 200, 300})
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    m_findText = new QLineEdit(this);
    m_findText->setObjectName(QStringLiteral("trova"));
    m_findText->setPlaceholderText(QStringLiteral("Testo da cercare"));
    m_findText->setClearButtonEnabled(true);
    auto* find = new QPushButton(QStringLiteral("Trova"), this);
    find->setObjectName(QStringLiteral("btnTrova"));
    find->setAutoDefault(false);
    auto* print = new QPushButton(QStringLiteral("Stampa..."), this);
    print->setObjectName(QStringLiteral("btnStampa"));
    print->setAutoDefault(false);
    auto* pdf = new QPushButton(QStringLiteral("Salva PDF..."), this);
    pdf->setObjectName(QStringLiteral("btnSalvaPdf"));
    pdf->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setObjectName(QStringLiteral("btnChiudi"));
    close->setAutoDefault(false);

    for (QWidget* w : std::initializer_list<QWidget*>{m_first, m_prev, m_pageBox, m_pageCount, m_next, m_last})
        bar->addWidget(w);
    bar->addSpacing(12);
    bar->addWidget(m_zoom);
    bar->addSpacing(12);
    bar->addWidget(m_findText, 1);
    bar->addWidget(find);
    bar->addSpacing(12);
    bar->addWidget(print);
    bar->addWidget(pdf);
    bar->addWidget(close);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pagine"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new ReportPageView(m_report, m_scroll);
    m_scroll->setWidget(m_view);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QToolButton::clicked, this, [this] { setPage(0); });
    connect(m_prev, &QToolButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(m_last, &QToolButton::clicked, this, [this] { setPage(pageCount() - 1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int v) { setPage(v - 1); });
    connect(m_zoom, &QComboBox::currentIndexChanged, this, [this] { applyZoom(); });
    connect(find, &QPushButton::clicked, this, [this] { findNext(m_findText->text()); });
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { findNext(m_findText->text()); });
    connect(m_findText, &QLineEdit::textChanged, this, [this] {
        m_foundPage = m_foundItem = -1;
        m_found = QRectF();
        updatePage();
    });
    connect(print, &QPushButton::clicked, this, [this] { askPrint(); });
    connect(pdf, &QPushButton::clicked, this, [this] { askSavePdf(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_zoom->setCurrentIndex(1);
}

void ReportPreviewDialog::setPage(int page)
{
    page = qBound(0, page, qMax(0, pageCount() - 1));
    if (page != m_page) {
        m_page = page;
        m_scroll->verticalScrollBar()->setValue(0);
    }
    updatePage();
}

void ReportPreviewDialog::updatePage()
{
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setValue(m_page + 1);
    m_first->setEnabled(m_page > 0);
    m_prev->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pageCount());
    m_last->setEnabled(m_page + 1 < pageCount());
    m_view->show(m_page, zoomFactor(), m_foundPage == m_page ? m_found : QRectF());
}

double ReportPreviewDialog::zoomFactor() const
{
    const double choice = m_zoom->currentData().toDouble();
    if (choice > 0)
        return choice;
    const double dpi = m_view->logicalDpiX() / report::kDotsPerInch;
    const QSize room =
        m_scroll->viewport()->size() - QSize(2 * ReportPageView::kDesk + 4, 2 * ReportPageView::kDesk + 4);
    const double byWidth = room.width() / (m_report.paperSize.width() * dpi);
    const double byHeight = room.height() / (m_report.paperSize.height() * dpi);
    return qMax(0.1, choice == FitWidth ? byWidth : qMin(byWidth, byHeight));
}

void ReportPreviewDialog::setZoomFactor(double factor)
{
    for (int i = 0; i < m_zoom->count(); ++i) {
        if (qFuzzyCompare(m_zoom->itemData(i).toDouble(), factor)) {
            m_zoom->setCurrentIndex(i);
            return;
        }
    }
    m_zoom->addItem(QStringLiteral("%1%").arg(qRound(factor * 100)), factor);
    m_zoom->setCurrentIndex(m_zoom->count() - 1);
}

void ReportPreviewDialog::applyZoom()
{
    updatePage();
}

void ReportPreviewDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    updatePage();
}

void ReportPreviewDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown && event->modifiers() == Qt::NoModifier)
        setPage(m_page + 1);
    else if (event->key() == Qt::Key_PageUp && event->modifiers() == Qt::NoModifier)
        setPage(m_page - 1);
    else if (event->matches(QKeySequence::Find))
        m_findText->setFocus();
    else
        QDialog::keyPressEvent(event);
}

bool ReportPreviewDialog::findNext(const QString& text)
{
    if (text.trimmed().isEmpty() || pageCount() == 0)
        return false;
    // From just after the last item found, round all the pages once.
    int page = m_foundPage >= 0 ? m_foundPage : m_page;
    int item = m_foundPage >= 0 ? m_foundItem + 1 : 0;
    for (int step = 0; step <= pageCount(); ++step) {
        const QList<report::PageItem>& items = m_report.pages.at(page).items;
        for (; item < items.size(); ++item) {
            if (items.at(item).text().contains(text, Qt::CaseInsensitive)) {
                m_foundPage = page;
                m_foundItem = item;
                m_found = items.at(item).rect.adjusted(-10, -10, 10, 10);
                setPage(page);
                const double s = m_view->scale();
                m_scroll->ensureVisible(int(m_found.center().x() * s), int(m_found.center().y() * s), 40, 80);
                return true;
            }
        }
        page = (page + 1) % pageCount();
        item = 0;
    }
    m_foundPage = m_foundItem = -1;
    m_found = QRectF();
    updatePage();
    ui().information(QStringLiteral("Il testo \"%1\" non è stato trovato.").arg(text), QStringLiteral("Trova"));
    return false;
}

bool ReportPreviewDialog::savePdf(const QString& path)
{
    QString error;
    BusyCursor busy;
    if (!report::writePdf(m_report, path, &error)) {
        ui().error(error, QStringLiteral("Salva PDF"));
        return false;
    }
    return true;
}

void ReportPreviewDialog::printTo(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageOrientation(m_report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    int from = printer.fromPage(), to = printer.toPage();
    if (from <= 0 || to <= 0) {
        from = 1;
        to = pageCount();
    }
    from = qBound(1, from, pageCount());
    to = qBound(from, to, pageCount());
    QPainter p;
    if (!p.begin(&printer)) {
        ui().error(QStringLiteral("La stampante non è disponibile."), QStringLiteral("Stampa"));
        return;
    }
    BusyCursor busy;
    const double sx = printer.logicalDpiX() / report::kDotsPerInch;
    const double sy = printer.logicalDpiY() / report::kDotsPerInch;
    for (int page = from - 1; page < to; ++page) {
        if (page > from - 1)
            printer.newPage();
        p.save();
        p.scale(sx, sy);
        report::paintPage(p, m_report, page);
        p.restore();
    }
    p.end();
}

void ReportPreviewDialog::askPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_report.title);
    printer.setPageOrientation(m_report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFromTo(1, pageCount());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    dialog.setMinMax(1, pageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

void ReportPreviewDialog::askSavePdf()
{
    QFileDialog dialog(this, QStringLiteral("Salva PDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Documenti PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(m_report.title + QStringLiteral(".pdf"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        savePdf(dialog.selectedFiles().first());
}

bool showReportPreview(const ReportRequest& request)
{
    ReportEngine engine;
    engine.clearVariables();
    for (auto it = request.variables.cbegin(); it != request.variables.cend(); ++it)
        engine.setVariable(it.key(), it.value());
    engine.setDataset(request.master);
    bool ok;
    {
        BusyCursor busy;
        ok = engine.loadFromFile(request.templatePath) && engine.prepareReport();
    }
    if (!ok) {
        ui().error(QStringLiteral("Impossibile preparare la stampa.\n%1").arg(engine.errorString()),
                   QStringLiteral("Stampa"));
        return false;
    }
    ReportPreviewDialog dialog(engine.prepared(), QApplication::activeWindow());
    dialog.exec();
    return true;
}

} // namespace zol
