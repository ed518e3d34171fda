#include "app/Interaction.h"
#include "app/forms/HintSettings.h"
#include "app/forms/QtInteraction.h"
#include "app/forms/Startup.h"
#include "archive/forms/TDlgDPDbOnProgress.h" // completes QtInteraction's progress window type
#include "reports/forms/ReportPreviewDialog.h"

#include <QApplication>

#include <exception>

namespace {

// An error that escapes a handler is shown with its own text, and the program goes on.
class ZolApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            zol::ui().error(QString::fromLocal8Bit(e.what()), QStringLiteral("ZOL"));
        } catch (...) {
            zol::ui().error(QStringLiteral("Errore imprevisto."), QStringLiteral("ZOL"));
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    ZolApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZOL"));
    QApplication::setApplicationVersion(QStringLiteral(ZOL_VERSION));
    zol::applyHintSettings(app);

    zol::QtInteraction interaction;
    interaction.reportPreviewer = &zol::showReportPreview;
    zol::InteractionGuard guard(&interaction);

    // Splash, data module, main window; the loop runs until the main window closes; then the
    // data module closes the archive and writes the settings.
    zol::Startup startup{zol::Startup::Options{}};
    startup.start();
    const int result = app.exec();
    startup.finish();
    return result;
}
