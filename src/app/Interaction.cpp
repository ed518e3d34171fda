#include "app/Interaction.h"

namespace zol {
namespace {

// Used before the program or a test installs its own: answers every question with its default.
class SilentInteraction : public Interaction
{
public:
    int message(const QString&, const QString&, Icon, int, int defaultButton) override { return defaultButton; }
    bool inputBox(const QString&, const QString&, QString&) override { return false; }
    int choose(const QString&, const QString&, const QStringList&) override { return -1; }
    void setBusy(bool) override {}
    void beginProgress(const QString&, const QString&) override {}
    void setProgress(const QString&, int) override {}
    void endProgress() override {}
    void processEvents() override {}
    bool openUrl(const QUrl&) override { return false; }
    bool previewReport(const ReportRequest&) override { return false; }
};

Interaction* g_current = nullptr;

} // namespace

Interaction& ui()
{
    static SilentInteraction silent;
    return g_current ? *g_current : silent;
}

InteractionGuard::InteractionGuard(Interaction* interaction) : m_previous(g_current)
{
    g_current = interaction;
}

InteractionGuard::~InteractionGuard()
{
    g_current = m_previous;
}

void Interaction::information(const QString& text, const QString& title)
{
    message(title, text, Icon::Information, Ok, Ok);
}

void Interaction::warning(const QString& text, const QString& title)
{
    message(title, text, Icon::Warning, Ok, Ok);
}

void Interaction::error(const QString& text, const QString& title)
{
    message(title, text, Icon::Error, Ok, Ok);
}

bool Interaction::question(const QString& text, const QString& title, bool defaultYes)
{
    return message(title, text, Icon::Question, Yes | No, defaultYes ? Yes : No) == Yes;
}

} // namespace zol
