#pragma once

#include "archive/Dataset.h"
#include "reports/PreparedReport.h"
#include "reports/ReportTemplate.h"

#include <QDate>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

namespace zol {

struct ReportRequest;

// The report component (fr1): report variables, the master data source frDB1, a template
// loaded from a file, and the report prepared from them as pages ready to paint.
//
// A print: clearVariables(), setVariable() for each of its variables, setDataset(), loadFromFile(),
// prepareReport(), then show, print or save prepared(). The master data source is read row by
// row without moving its current row. A template error (syntax, unknown name, failing
// function) stops the preparation with errorString() naming the template and the place.
class ReportEngine
{
public:
    // The program's handler of function names the engine does not know: name as written, up to
    // three argument texts unevaluated (empty when absent), the result slot. The slot comes in
    // holding the call as written; a handler that does not know the name leaves it alone.
    using UserFunction = std::function<void(ReportEngine& engine, const QString& name, const QString& p1,
                                            const QString& p2, const QString& p3, QVariant& val)>;

    ReportEngine();

    void clearVariables();
    void setVariable(const QString& name, const QVariant& value);
    QVariantMap variables() const;

    // frDB1: a table view, a query or an in-memory table; null for none.
    void setDataset(Dataset* dataset);
    Dataset* dataset() const { return m_dataset; }

    // False when the file is missing or malformed; errorString() says why.
    bool loadFromFile(const QString& path);
    bool loadFromText(const QString& text, const QString& name);
    const report::ReportTemplate& reportTemplate() const { return m_template; }

    bool prepareReport();
    const report::PreparedReport& prepared() const { return m_prepared; }

    // Writes the prepared report to a PDF file, replacing it only when complete.
    bool exportToPdf(const QString& path);

    QString errorString() const { return m_error; }

    // Evaluates an expression in the context of the record being printed (for the handler).
    // On an error the preparation in progress fails with the message; QVariant() is returned.
    QVariant evaluate(const QString& expression);
    bool evaluate(const QString& expression, QVariant& result, QString* error);
    // Lets the handler stop the preparation with a message (an archive error, for example).
    void raiseError(const QString& message);

    // The record being printed (0-based), -1 outside the master band.
    int currentRow() const { return m_row; }

    // The date printed as today's (TODAY); by default the computer's date at preparation.
    void setToday(const QDate& date) { m_today = date; }

    void setUserFunction(UserFunction handler) { m_userFunction = std::move(handler); }
    // The handler that every engine made from now on starts with.
    static void setDefaultUserFunction(UserFunction handler);

private:
    class Context;
    friend class Context;

    bool bindTemplate();
    bool bindExpression(report::ExprNode& node, QString* unknown);
    QString objectText(const report::ReportObject& o);
    bool objectUsesPageNumbers(const report::ReportObject& o) const;
    void failAt(const report::ReportObject& o, const report::TextPiece& piece, const report::ExprError& e);

    report::ReportTemplate m_template;
    report::PreparedReport m_prepared;
    QHash<QString, QVariant> m_variables;    // keys upper case
    QHash<QString, QString> m_variableNames; // upper case -> as set
    QPointer<Dataset> m_dataset;
    UserFunction m_userFunction;
    QHash<QString, report::ExprPtr> m_evalCache;
    QString m_error;
    QString m_raised;
    QDate m_today;
    int m_row = -1;
    int m_page = 0;
    int m_pages = 0;
    bool m_preparing = false;
};

// Loads, prepares and writes a report to a PDF file without any window; for tests and zolctl.
bool renderReportToPdf(const ReportRequest& request, const QString& pdfPath, QString* error);

} // namespace zol
