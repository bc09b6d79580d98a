// The dialog the framework's tests build: a list, a label, an edit, a combo box, a button, an icon
// button, OK and Отмена, some of them following the dialog's growth.
#pragma once

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ListCtrl.h"

// clang-format off
inline const DialogTemplate kTestTemplate{900, u"Проверка", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, 200, 120, u"MS Shell Dlg", 8, {
    {1002, ControlKind::ListView, u"", LVS_REPORT | WS_BORDER | WS_TABSTOP, 7, 7, 186, 50, {0, 0, 100, 50}},
    {1007, ControlKind::StaticText, u"Строка", SS_LEFT, 7, 60, 100, 8, {0, 50, 0, 0}},
    {1005, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 72, 80, 14},
    {1004, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 95, 72, 80, 60},
    {1010, ControlKind::PushButton, u"Ещё", WS_TABSTOP, 7, 99, 50, 14},
    {1003, ControlKind::IconButton, u"+", WS_TABSTOP, 60, 99, 16, 14},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 99, 50, 14, {100, 100, 0, 0}},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 143, 99, 50, 14, {100, 100, 0, 0}},
}};
// clang-format on
