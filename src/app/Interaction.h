#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

namespace zol {

class Dataset;

// A report to show in the preview window: a template file, its variables and the data set
// that its master band runs over (none for a template without one).
struct ReportRequest
{
    QString templatePath;
    QVariantMap variables;
    Dataset* master = nullptr;
};

// Everything the core must ask or tell a person goes through this one interface. The GUI
// answers with real dialogs, the tests with a scripted fake that records every text shown,
// zolctl with answers given on its command line. Core code never shows a widget itself.
//
// Texts are shown as given; lines are separated by '\n'.
class Interaction
{
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum Button {
        NoButton = 0,
        Ok = 0x1,
        Cancel = 0x2,
        Yes = 0x4,
        No = 0x8,
        Abort = 0x10,
        Retry = 0x20,
        Ignore = 0x40
    };

    virtual ~Interaction() = default;

    // A message box; returns the button pressed (the default one when the box is closed otherwise).
    virtual int message(const QString& title, const QString& text, Icon icon, int buttons, int defaultButton) = 0;

    // A line of text asked of the user; false when cancelled.
    virtual bool inputBox(const QString& title, const QString& prompt, QString& value) = 0;

    // Picks one of items; returns its index, or -1 when nothing was chosen.
    virtual int choose(const QString& title, const QString& prompt, const QStringList& items) = 0;

    // The hourglass cursor; calls nest.
    virtual void setBusy(bool busy) = 0;

    // A progress window: caption, a label and a percentage gauge. Only one at a time.
    virtual void beginProgress(const QString& caption, const QString& label) = 0;
    virtual void setProgress(const QString& label, int percent) = 0;
    virtual void endProgress() = 0;

    // Lets the window system repaint and handle input during a long loop.
    virtual void processEvents() = 0;

    // Opens a document or a mailto: URL with the desktop; false when the desktop refused.
    virtual bool openUrl(const QUrl& url) = 0;

    // Prepares a report and shows it in the modal preview window. False when the report could
    // not be prepared; the reason has then been shown to the user.
    virtual bool previewReport(const ReportRequest& request) = 0;

    // Shorthands.
    void information(const QString& text, const QString& title = QString());
    void warning(const QString& text, const QString& title = QString());
    void error(const QString& text, const QString& title = QString());
    // A Yes/No question; No is the default button unless defaultYes.
    bool question(const QString& text, const QString& title = QString(), bool defaultYes = false);
};

// An interaction that shows nothing and answers every question with its default button. Batch
// tools derive from it and override only what they report.
class QuietInteraction : public Interaction
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

// The interaction in force: the one installed last, or a QuietInteraction before anything
// was installed.
Interaction& ui();

// Installs an interaction for the lifetime of the guard and restores the previous one after.
class InteractionGuard
{
public:
    explicit InteractionGuard(Interaction* interaction);
    ~InteractionGuard();
    InteractionGuard(const InteractionGuard&) = delete;
    InteractionGuard& operator=(const InteractionGuard&) = delete;

private:
    Interaction* m_previous;
};

// Keeps the hourglass for the lifetime of the object.
class BusyCursor
{
public:
    BusyCursor() { ui().setBusy(true); }
    ~BusyCursor() { ui().setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace zol
