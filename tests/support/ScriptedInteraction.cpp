#include "ScriptedInteraction.h"

#include "archive/Dataset.h"

#include <QTest>

namespace zol::test {

ScriptedInteraction::ScriptedInteraction()
{
    m_guard = new InteractionGuard(this);
}

ScriptedInteraction::~ScriptedInteraction()
{
    delete m_guard;
}

int ScriptedInteraction::message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton)
{
    messages.append({title, text, icon, buttons, defaultButton});
    const bool isQuestion = (buttons & ~Ok) != 0;
    if (m_buttons.isEmpty()) {
        if (!isQuestion && autoAcknowledge)
            return Ok;
        QTest::qFail(qPrintable(QStringLiteral("unanswered message: %1").arg(text)), __FILE__, __LINE__);
        return defaultButton;
    }
    return m_buttons.dequeue();
}

bool ScriptedInteraction::inputBox(const QString& title, const QString& prompt, QString& value)
{
    prompts << title + QLatin1String(": ") + prompt;
    if (m_inputs.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unanswered input box: %1").arg(prompt)), __FILE__, __LINE__);
        return false;
    }
    const std::optional<QString> v = m_inputs.dequeue();
    if (!v)
        return false;
    value = *v;
    return true;
}

int ScriptedInteraction::choose(const QString& title, const QString& prompt, const QStringList& items)
{
    prompts << title + QLatin1String(": ") + prompt;
    Q_UNUSED(items);
    if (m_choices.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unanswered choice: %1").arg(prompt)), __FILE__, __LINE__);
        return -1;
    }
    return m_choices.dequeue();
}

void ScriptedInteraction::beginProgress(const QString& caption, const QString& label)
{
    m_progressOpen = true;
    progressCaptions << caption;
    progressLabels << label;
    progressValues << 0;
}

void ScriptedInteraction::setProgress(const QString& label, int percent)
{
    progressLabels << label;
    progressValues << percent;
}

bool ScriptedInteraction::openUrl(const QUrl& url)
{
    openedUrls << url;
    return openUrlResult;
}

bool ScriptedInteraction::previewReport(const ReportRequest& request)
{
    reports << request;
    reportRowCounts << (request.master ? request.master->rowCount() : 0);
    return reportRenderer ? reportRenderer(request) : true;
}

QStringList ScriptedInteraction::texts() const
{
    QStringList out;
    for (const Message& m : messages)
        out << m.text;
    return out;
}

} // namespace zol::test
