#include "Edit.h"

#include "ControlFactory.h"
#include "QtGeometry.h"

#include <QLineEdit>

#include <algorithm>

bool CEdit::Create(unsigned style, const CRect& rect, HWND parent, int id) {
    if (IsWindow() || !parent)
        return false;
    QWidget* edit = CreateControlWidget({id, ControlKind::Edit, u"", style, 0, 0, 0, 0}, parent);
    edit->setFont(parent->font());
    edit->setGeometry(ToQRect(rect));
    if (style & WS_VISIBLE)
        edit->show(); // before binding: a hidden window cannot take the focus
    Attach(edit);
    return true;
}

void CEdit::SetSel(int start, int end) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd())) {
        const int length = static_cast<int>(edit->text().size());
        const int last = end < 0 || end > length ? length : end;
        const int first = std::clamp(start, 0, last);
        edit->setSelection(first, last - first);
    }
}

void CEdit::GetSel(int& start, int& end) const {
    start = end = 0;
    if (auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd())) {
        if (edit->hasSelectedText()) {
            start = edit->selectionStart();
            end = edit->selectionEnd();
        } else
            start = end = edit->cursorPosition();
    }
}

void CEdit::SetReadOnly(bool readOnly) {
    if (auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd()))
        edit->setReadOnly(readOnly);
}
