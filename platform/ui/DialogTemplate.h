// Dialog templates as data: the dialog's size, title, style and font, and each control with its id,
// kind, text, styles and rectangle in dialog units, plus how it moves and grows when the dialog is
// resized. A dialog is built from its template by CDialogEx (DialogEx.h).
//
// Dialog units: x and widths in quarters of the dialog font's average character width, y and
// heights in eighths of its height, so a dialog keeps its proportions whatever the font.
//
// What each kind is and which of its styles (Styles.h) it honours:
//   PushButton     a button; BS_DEFPUSHBUTTON makes it the one Enter presses. Sends BN_CLICKED.
//   IconButton     a button that shows only a 16 x 16 icon (CButton::SetIcon); its text is kept
//                  but not shown. Sends BN_CLICKED.
//   ListView       a report-view list (CListCtrl); LVS_SINGLESEL, LVS_SHOWSELALWAYS,
//                  LVS_NOCOLUMNHEADER, LVS_NOSORTHEADER, WS_BORDER.
//   TabControl     a row of tabs over a framed area in which the owner places its pages
//                  (CTabCtrl). Sends TCN_SELCHANGE.
//   ListBox        a list of texts (CListBox); LBS_SORT, LBS_EXTENDEDSEL, LBS_MULTIPLESEL,
//                  LBS_NOTIFY, WS_VSCROLL, WS_BORDER.
//   DropDownCombo  a drop-down list (CComboBox); CBS_DROPDOWNLIST or CBS_DROPDOWN, CBS_SORT. Its
//                  height is that of the closed box. Sends CBN_SELCHANGE.
//   Edit           a one-line edit (CEdit); ES_LEFT/CENTER/RIGHT, ES_READONLY, WS_BORDER.
//                  Sends EN_CHANGE.
//   StaticText     a label (CStatic); SS_LEFT/CENTER/RIGHT wrap words, SS_LEFTNOWORDWRAP does not;
//                  "\n" breaks the line.
//   StaticIcon     an icon (CStatic::SetIcon), sized to the icon once one is set.
// Every kind honours WS_TABSTOP (reached with Tab, in template order) and WS_DISABLED.
#pragma once

#include "platform/ui/Rect.h"

#include <string>
#include <utility>
#include <vector>

enum class ControlKind {
    PushButton,
    IconButton,
    ListView,
    TabControl,
    ListBox,
    DropDownCombo,
    Edit,
    StaticText,
    StaticIcon
};

// How a control follows the dialog's growth dx, dy (new client size minus the size at creation):
// it moves by moveX % of dx and moveY % of dy and grows by sizeX % of dx and sizeY % of dy,
// measured from its rectangle at creation. All zero: the control stays as it is.
struct DynamicLayout {
    int moveX = 0;
    int moveY = 0;
    int sizeX = 0;
    int sizeY = 0;
};

// Where a control whose rectangle at creation was `initial` (pixels) stands after the dialog grew by
// dx, dy pixels; a size never goes below 0.
CRect ApplyDynamicLayout(const DynamicLayout& layout, const CRect& initial, int dx, int dy);

struct ControlTemplate {
    ControlTemplate(int id, ControlKind kind, std::u16string text, unsigned style, int x, int y, int cx,
                    int cy, DynamicLayout layout = {})
        : id(id), kind(kind), text(std::move(text)), style(style), x(x), y(y), cx(cx), cy(cy),
          layout(layout) {}

    int id; // control id; IDC_STATIC for a control nobody addresses
    ControlKind kind;
    std::u16string text;  // caption, label or initial text
    unsigned style;       // WS_* and the kind's own styles
    int x, y, cx, cy;     // dialog units
    DynamicLayout layout; // none when left out
};

struct DialogTemplate {
    int id; // resource number, named in messages about the dialog
    std::u16string title;
    unsigned style;          // WS_POPUP with WS_CAPTION, WS_SYSMENU, ...; or WS_CHILD for a page
    int cx, cy;              // client size, dialog units
    std::u16string fontName; // "MS Shell Dlg": the desktop's sans-serif face
    int fontSize;            // points
    std::vector<ControlTemplate> controls; // in tab order
};
