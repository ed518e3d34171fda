#pragma once

#include "app/Interaction.h"
#include "reports/PreparedReport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace zol {

class ReportPageView;

// The preview window of a prepared report: page navigation, zoom, find, print and save as PDF.
// The report must outlive the window.
class ReportPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ReportPreviewDialog(const report::PreparedReport& report, QWidget* parent = nullptr);

    int pageCount() const { return int(m_report.pages.size()); }
    int currentPage() const { return m_page; } // 0-based
    void setPage(int page);

    // Zoom factor (1 = real size); fitWidth / fitPage follow the window's size.
    double zoomFactor() const;
    void setZoomFactor(double factor);

    // Finds the next item containing text (without regard to case) after the last one found,
    // going on from the first page after the last; shows its page and marks it. False (and a
    // message) when the text is nowhere.
    bool findNext(const QString& text);
    QRectF foundRect() const { return m_found; }

    // Writes the report to a PDF file; false after telling the user why.
    bool savePdf(const QString& path);
    // Prints the pages in the printer's range (all when none is set).
    void printTo(QPrinter& printer);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildUi();
    void updatePage();
    void applyZoom();
    void askPrint();
    void askSavePdf();

    const report::PreparedReport& m_report;
    int m_page = 0;
    int m_foundPage = -1;
    int m_foundItem = -1;
    QRectF m_found;

    QToolButton* m_first = nullptr;
    QToolButton* m_prev = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCount = nullptr;
    QComboBox* m_zoom = nullptr;
    QLineEdit* m_findText = nullptr;
    QScrollArea* m_scroll = nullptr;
    ReportPageView* m_view = nullptr;
};

// Loads the request's template, prepares it on its data and shows the modal preview. When the
// template is missing or wrong, tells the user which template and where, and returns false.
bool showReportPreview(const ReportRequest& request);

} // namespace zol
