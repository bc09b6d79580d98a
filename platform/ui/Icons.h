// The icons compiled into the program (data/icons, SVG drawings on a 16 x 16 grid), by resource
// number: 102 the plug-in, 104 add, 105 remove, 106 remove all, 107 open, 111 reload,
// 112 settings, 114 components, 117 report, 119 about.
#pragma once

#include <QIcon>
#include <QPixmap>

// The icon in the usual sizes (16 to 80 pixels); an empty icon when there is no such resource.
QIcon LoadIconResource(int id);
// The icon drawn at size x size pixels; a null pixmap when there is no such resource.
QPixmap LoadIconPixmap(int id, int size);
