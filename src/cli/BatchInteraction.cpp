#include "cli/BatchInteraction.h"

#include "archive/Dataset.h"

#include <QDate>

namespace zol::cli {

int BatchInteraction::message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton)
{
    Q_UNUSED(icon);
    if (!title.isEmpty())
        m_stream << title << ": ";
    m_stream << QString(text).trimmed() << "\n";
    const bool question = (buttons & ~Ok) != 0;
    if (!question) {
        m_stream.flush();
        return defaultButton;
    }
    const int answer = m_answers.value(text, defaultButton);
    m_stream << "  -> " << (answer == Yes ? "Sì" : answer == No ? "No" : answer == Ok ? "OK" : "Annulla") << "\n";
    m_stream.flush();
    return answer;
}

bool BatchInteraction::inputBox(const QString& title, const QString& prompt, QString& value)
{
    Q_UNUSED(value);
    m_stream << title << ": " << prompt << "\n  -> nessuna risposta\n";
    m_stream.flush();
    return false;
}

int BatchInteraction::choose(const QString& title, const QString& prompt, const QStringList& items)
{
    Q_UNUSED(items);
    m_stream << title << ": " << prompt << "\n  -> nessuna scelta\n";
    m_stream.flush();
    return -1;
}

bool BatchInteraction::openUrl(const QUrl& url)
{
    Q_UNUSED(url);
    return true; // nothing to open without a desktop
}

bool BatchInteraction::previewReport(const ReportRequest& request)
{
    Dataset* rows = request.master;
    if (!rows)
        return true;
    const int current = rows->recNo();
    for (rows->first(); !rows->eof(); rows->next()) {
        QStringList values;
        for (const Dataset::Field& f : rows->fields()) {
            const QVariant v = rows->value(f.name);
            values << (v.typeId() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("dd/MM/yyyy"))
                                                      : v.toString());
        }
        m_stream << values.join(QLatin1Char(' ')) << "\n";
    }
    rows->moveTo(current);
    m_stream.flush();
    return true;
}

} // namespace zol::cli
