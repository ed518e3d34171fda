#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <memory>

namespace zol {

class Tdm;
class TfrmMain;
class TdlgAboutBox;

// The program's start and end, in their order: the splash, the data module (which opens the
// archive), the main window shown maximised; at the end the data module closes the archive and
// writes the settings. main() runs the window system's loop in between; tests drive the same
// steps.
class Startup
{
public:
    struct Options
    {
        QString programFolder;        // empty: the folder of the executable
        int splashSeconds = 2;        // how long the splash stays once the main window is shown
        std::function<QDate()> today; // empty: the system date
    };

    explicit Startup(Options options);
    ~Startup();

    void start();
    void finish();

    Tdm& dm() { return *m_dm; }
    TfrmMain& mainWindow() { return *m_main; }

private:
    Options m_options;
    std::unique_ptr<Tdm> m_dm;
    std::unique_ptr<TfrmMain> m_main;
    bool m_finished = false;
};

} // namespace zol
