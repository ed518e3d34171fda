#include "app/forms/Startup.h"

#include "app/forms/TdlgAboutBox.h"
#include "app/forms/TfrmMain.h"
#include "archive/Tdm.h"

#include <QApplication>

namespace zol {

Startup::Startup(Options options) : m_options(std::move(options)) {}

Startup::~Startup()
{
    finish();
}

void Startup::start()
{
    // The about box is the splash: shown at once, over which the archive's own windows (repair
    // progress, upgrade notice) appear while the data module opens it.
    auto* splash = new TdlgAboutBox(nullptr, TdlgAboutBox::Mode::Splash);
    splash->setVersion(versionText());
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    m_dm = std::make_unique<Tdm>(m_options.programFolder);
    m_dm->DataModuleCreate();

    m_main = std::make_unique<TfrmMain>(*m_dm);
    m_main->setSplash(splash);
    m_main->splashSeconds = m_options.splashSeconds;
    if (m_options.today)
        m_main->today = m_options.today;
    m_main->showMaximized();
    // Over the main window until the first showing frees it.
    splash->raise();
}

void Startup::finish()
{
    if (m_finished || !m_dm)
        return;
    m_finished = true;
    m_main.reset();
    m_dm->DataModuleDestroy();
}

} // namespace zol
