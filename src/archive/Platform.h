#pragma once

#include <QString>

namespace zol::platform {

// Moves from over to in one step, replacing to when it exists; the one place with calls that
// differ between Windows and the other systems.
bool replaceFile(const QString& from, const QString& to, QString* error);

} // namespace zol::platform
