#pragma once

class QApplication;

namespace zol {

// The program-wide behaviour of hints (tooltips): shown after 1000 ms, again after 1000 ms on
// another control, kept for 60000 ms, on a light blue background (red 197, green 210, blue 223).
// Also sets the program's widget style.
void applyHintSettings(QApplication& app);

} // namespace zol
