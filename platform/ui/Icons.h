// The icons compiled into the plug-in (data/icons, drawn on a 16 x 16 grid), by resource number:
// 102 the plug-in, 104 add, 105 remove, 106 remove all, 107 open, 111 reload, 112 settings,
// 114 components, 117 report, 119 about. Icons are shared: one is loaded once and lives as long as
// the module that loaded it, so a handle is never destroyed.
#pragma once

#include "platform/ui/Handles.h"

// The icon for captions and buttons (16 x 16 and larger sizes); null when there is no such resource.
HICON LoadIconResource(int id);
// The icon drawn at size x size pixels; null when there is no such resource or the size is not positive.
HICON LoadIconImage(int id, int size);
