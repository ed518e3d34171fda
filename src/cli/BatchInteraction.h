#pragma once

#include "app/Interaction.h"

#include <QHash>
#include <QTextStream>

namespace zol::cli {

// The user of zolctl: messages are written to a stream (standard error), one per paragraph;
// questions are answered from answers given beforehand on the command line, otherwise with
// their default button; a report is not previewed but its rows are listed, one per line.
class BatchInteraction : public Interaction
{
public:
    explicit BatchInteraction(QTextStream& stream) : m_stream(stream) {}

    // The button that answers the question with this text.
    void setAnswer(const QString& question, int button) { m_answers.insert(question, button); }

    int message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton) override;
    bool inputBox(const QString& title, const QString& prompt, QString& value) override;
    int choose(const QString& title, const QString& prompt, const QStringList& items) override;
    void setBusy(bool) override {}
    void beginProgress(const QString&, const QString&) override {}
    void setProgress(const QString&, int) override {}
    void endProgress() override {}
    void processEvents() override {}
    bool openUrl(const QUrl& url) override;
    bool previewReport(const ReportRequest& request) override;

private:
    QTextStream& m_stream;
    QHash<QString, int> m_answers;
};

} // namespace zol::cli
