#pragma once

#include <QString>

class QWidget;

// The title a window manager shows. Qt puts the program's name into a native title left empty,
// while a box of this system whose caption is empty must show none: on X11 the title properties
// are emptied after the window exists. Elsewhere nothing changes.
namespace nativetitle {

// Creates the native window if needed and, on X11, empties its title when windowTitle() is empty.
void applyEmpty(QWidget *window);

// The title as the window manager reads it (_NET_WM_NAME on X11), or windowTitle() elsewhere.
QString read(QWidget *window);

} // namespace nativetitle
