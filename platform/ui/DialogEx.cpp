#include "DialogEx.h"

#include "HandlerScope.h"

#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

int Percent(int delta, int percent) {
    return static_cast<int>(std::lround(delta * percent / 100.0));
}

} // namespace

CRect ApplyDynamicLayout(const DynamicLayout& l, const CRect& initial, int dx, int dy) {
    const int left = initial.left + Percent(dx, l.moveX);
    const int top = initial.top + Percent(dy, l.moveY);
    return {left, top, left + std::max(0, initial.Width() + Percent(dx, l.sizeX)),
            top + std::max(0, initial.Height() + Percent(dy, l.sizeY))};
}

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    if (control.IsWindow())
        return;
    HWND widget = dx.dialog.ControlWidget(id);
    if (!widget)
        throw std::logic_error(
            Utf16ToUtf8(FormatText(u"dialog %d has no control %d to bind", dx.dialog.GetTemplate().id, id)));
    if (CWnd* current = CWnd::FromHandle(widget))
        current->Detach(); // the framework's own object stays, unbound
    control.Attach(widget);
}

void DDX_Text(CDataExchange& dx, int id, std::u16string& value) {
    if (dx.saveAndValidate)
        value = dx.dialog.GetDlgItemText(id);
    else
        dx.dialog.SetDlgItemText(id, value);
}

void CDialogEx::RunInitDialog() {
    if (OnInitDialog())
        FocusFirstTabStop();
}

bool CDialogEx::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialogEx::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialogEx::OnCancel() {
    EndDialog(IDCANCEL);
}

CWnd* CDialogEx::GetDlgItem(int id) const {
    return id == IDC_STATIC ? nullptr : FromHandle(ControlWidget(id));
}

std::u16string CDialogEx::GetDlgItemText(int id) const {
    const CWnd* control = GetDlgItem(id);
    return control ? control->GetWindowText() : std::u16string();
}

void CDialogEx::SetDlgItemText(int id, std::u16string_view text) {
    if (CWnd* control = GetDlgItem(id))
        control->SetWindowText(text);
}

bool CDialogEx::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

HICON CDialogEx::GetIcon(bool big) const {
    return big ? bigIcon : smallIcon;
}

CRect CDialogEx::MapDialogRect(int x, int y, int cx, int cy) const {
    return ::MapDialogRect(baseUnits, x, y, cx, cy);
}

int CDialogEx::DefaultButtonId() const {
    for (const ControlTemplate& c : dialogTemplate.controls)
        if ((c.kind == ControlKind::PushButton || c.kind == ControlKind::IconButton) && (c.style & BS_DEFPUSHBUTTON))
            return c.id;
    return IDOK;
}

void CDialogEx::RouteCommand(int id, int code) {
    HandlerScope scope;
    OnCommand(id, code);
}

bool CDialogEx::OnCommand(int id, int code) {
    if (const auto it = commandMap.find({id, code}); it != commandMap.end()) {
        it->second();
        return true;
    }
    if (code == BN_CLICKED && id == IDOK) {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialogEx::DispatchNotify(NMHDR& hdr, intptr_t* answer) {
    HandlerScope scope;
    OnNotify(hdr, answer);
}

bool CDialogEx::OnNotify(NMHDR& hdr, intptr_t* answer) {
    const auto it = notifyMap.find({hdr.idFrom, hdr.code});
    if (it == notifyMap.end())
        return false;
    it->second(&hdr, answer);
    return true;
}
