// The Windows backend's dialog templates: a DialogTemplate (data in dialog units) laid out as the
// in-memory DLGTEMPLATEEX that CreateDialogIndirectParamW and DialogBoxIndirectParamW build a
// dialog from, with the same ids, styles, texts and rectangles. Plain data, so it is built and
// checked on every system.
#pragma once

#include "platform/ui/DialogTemplate.h"

#include <cstdint>
#include <vector>

// The template in 16-bit words (the storage is aligned for the 32-bit fields). Each control
// becomes the system's own class (Button, Edit, Static, ListBox, ComboBox, SysListView32,
// SysTabControl32) with WS_CHILD | WS_VISIBLE and the style its kind needs (BS_ICON, SS_ICON);
// the dialog takes DS_SHELLFONT for "MS Shell Dlg", else DS_SETFONT, and a page (WS_CHILD) also
// DS_CONTROL, so that Tab walks from the dialog around it into the page's controls.
std::vector<uint32_t> BuildDlgTemplateEx(const DialogTemplate& dialogTemplate);

// The styles the template gives a control of that kind (the template's own bits with the kind's
// class style, WS_CHILD and WS_VISIBLE).
uint32_t ControlWindowStyle(const ControlTemplate& control);
