#pragma once

#include <QIcon>
#include <QPixmap>

namespace zol::pictures {

// The program's own pictures, drawn rather than shipped: the emblem of the main window and of
// the about box (a building with its filing), the transmission picture of the about box, and
// the icons of the filing states.
QPixmap emblem(int size);
QPixmap transmission(int size);
// 'A' open, 'C' file created, 'T' transmitted; a null icon for any other state.
QIcon stateIcon(const QString& stato);

} // namespace zol::pictures
