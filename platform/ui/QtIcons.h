// The Qt side of the icons (Icons.h).
#pragma once

#include "platform/ui/Handles.h"

#include <QIcon>
#include <QPixmap>

// The icon drawn at size x size pixels; a null pixmap when there is no such resource.
QPixmap LoadIconPixmap(int id, int size);
// The Qt icon behind a handle; an empty icon for null.
QIcon QtIcon(HICON icon);
// The size an icon shows at by itself: the one it was loaded at (LoadIconImage), else the
// desktop's usual 32 x 32.
int IconNaturalSize(HICON icon);
