#pragma once

#include "app/Interaction.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zol::test {

// The scripted user of the tests: records every message, question and progress text shown, and
// answers from a queue. A question that arrives with no answer queued fails the test at once
// (it would hang a real dialog).
class ScriptedInteraction : public Interaction
{
public:
    struct Message
    {
        QString title;
        QString text;
        Icon icon;
        int buttons;
        int defaultButton;
    };

    ScriptedInteraction();
    ~ScriptedInteraction() override;

    // Answers, consumed in order by the questions that need one.
    void answer(int button) { m_buttons.enqueue(button); }
    void answerInput(const QString& text) { m_inputs.enqueue(text); }
    void cancelInput() { m_inputs.enqueue(std::nullopt); }
    void answerChoice(int index) { m_choices.enqueue(index); }

    int message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton) override;
    bool inputBox(const QString& title, const QString& prompt, QString& value) override;
    int choose(const QString& title, const QString& prompt, const QStringList& items) override;
    void setBusy(bool busy) override { m_busyDepth += busy ? 1 : -1; }
    void beginProgress(const QString& caption, const QString& label) override;
    void setProgress(const QString& label, int percent) override;
    void endProgress() override { m_progressOpen = false; }
    void processEvents() override { ++m_eventPumps; }
    bool openUrl(const QUrl& url) override;
    // Records the request; when a renderer is set (tests that link the report engine), also
    // prepares the report through it, so that a template error is seen.
    bool previewReport(const ReportRequest& request) override;
    std::function<bool(const ReportRequest&)> reportRenderer;

    // What was shown.
    QList<Message> messages;
    QStringList texts() const;
    QStringList progressCaptions;
    QStringList progressLabels;
    QList<int> progressValues;
    QList<QUrl> openedUrls;
    QList<ReportRequest> reports;
    QList<int> reportRowCounts; // rows of the master data set when each report was asked for
    QStringList prompts;
    bool progressOpen() const { return m_progressOpen; }
    int busyDepth() const { return m_busyDepth; }
    int eventPumps() const { return m_eventPumps; }
    int pendingAnswers() const { return int(m_buttons.size() + m_inputs.size() + m_choices.size()); }

    // Whether a non-question message box returns Ok without an answer queued (the default).
    bool autoAcknowledge = true;
    bool openUrlResult = true;

private:
    QQueue<int> m_buttons;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<int> m_choices;
    int m_busyDepth = 0;
    int m_eventPumps = 0;
    bool m_progressOpen = false;
    InteractionGuard* m_guard = nullptr;
};

} // namespace zol::test
