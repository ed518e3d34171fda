#pragma once

#include "app/Interaction.h"

#include <QElapsedTimer>

namespace zol {

// Lets the windows repaint and progress bars move during a long loop over the archive. Asking
// the event loop after every row of a large archive costs more than the work on the row, so it
// is asked at most every few hundredths of a second, which keeps the windows just as lively.
class EventPump
{
public:
    EventPump() { m_timer.start(); }
    void operator()()
    {
        if (m_timer.elapsed() >= kIntervalMs) {
            ui().processEvents();
            m_timer.restart();
        }
    }

private:
    static constexpr qint64 kIntervalMs = 20;
    QElapsedTimer m_timer;
};

} // namespace zol
