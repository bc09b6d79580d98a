#include "ControlFactory.h"

#include "Button.h"
#include "ComboBox.h"
#include "Edit.h"
#include "ListBox.h"
#include "ListCtrl.h"
#include "Static.h"
#include "TabCtrl.h"

std::unique_ptr<CWnd> MakeControlObject(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::IconButton:
        return std::make_unique<CButton>();
    case ControlKind::ListView:
        return std::make_unique<CListCtrl>();
    case ControlKind::TabControl:
        return std::make_unique<CTabCtrl>();
    case ControlKind::ListBox:
        return std::make_unique<CListBox>();
    case ControlKind::DropDownCombo:
        return std::make_unique<CComboBox>();
    case ControlKind::Edit:
        return std::make_unique<CEdit>();
    case ControlKind::StaticText:
    case ControlKind::StaticIcon:
        return std::make_unique<CStatic>();
    }
    return std::make_unique<CWnd>();
}
