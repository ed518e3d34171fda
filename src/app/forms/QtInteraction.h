#pragma once

#include "app/Interaction.h"
#include "archive/forms/TDlgDPDbOnProgress.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace zol {

// The program's answer to the interaction seam: real Qt dialogs, Italian button texts.
class QtInteraction : public Interaction
{
public:
    QtInteraction();
    ~QtInteraction() override;

    int message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton) override;
    bool inputBox(const QString& title, const QString& prompt, QString& value) override;
    int choose(const QString& title, const QString& prompt, const QStringList& items) override;
    void setBusy(bool busy) override;
    void beginProgress(const QString& caption, const QString& label) override;
    void setProgress(const QString& label, int percent) override;
    void endProgress() override;
    void processEvents() override;
    bool openUrl(const QUrl& url) override;
    bool previewReport(const ReportRequest& request) override;

    // The report preview of the report subsystem.
    std::function<bool(const ReportRequest&)> reportPreviewer;
    // The progress window while it is shown (for pictures and tests).
    TDlgDPDbOnProgress* progressWindow() const { return m_progress; }

private:
    QWidget* parentWidget() const;
    QPointer<TDlgDPDbOnProgress> m_progress;
};

} // namespace zol
