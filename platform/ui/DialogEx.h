// The dialog framework: a dialog is a class derived from CDialogEx and built from a DialogTemplate
// (controls with ids, kinds, texts, styles and rectangles in dialog units). This is what one looks
// like:
//
//   // SampleDlg.h
//   class SampleDlg : public CDialogEx {
//   public:
//       explicit SampleDlg(HWND parent = nullptr);
//   protected:
//       void DoDataExchange(CDataExchange& dx) override;
//       bool OnInitDialog() override;
//       void OnOK() override;
//   private:
//       void OnModeChanged();
//       void OnListDblClk(NMHDR* hdr, intptr_t* result);
//       CComboBox mode;            // a control object, bound to its control by DDX_Control
//       CListCtrl list;
//       std::u16string pressure;   // a value, moved to and from its edit by DDX_Text
//   };
//
//   // SampleDlg.cpp (a template is a table: keep clang-format off it)
//   const DialogTemplate kSampleTemplate{120, u"Пример", WS_POPUP | WS_CAPTION | WS_SYSMENU,
//                                        281, 140, u"MS Shell Dlg", 8, {
//       {IDC_STATIC, ControlKind::StaticText, u"Режим", SS_LEFT, 7, 9, 120, 8},
//       {1004, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 130, 7, 144, 60},
//       {1005, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 130, 25, 144, 14},
//       {1002, ControlKind::ListView, u"", LVS_REPORT | WS_BORDER, 7, 45, 267, 70, {0, 0, 100, 100}},
//       {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON, 170, 119, 50, 14, {100, 100, 0, 0}},
//       {IDCANCEL, ControlKind::PushButton, u"Отмена", 0, 224, 119, 50, 14, {100, 100, 0, 0}},
//   }};
//
//   SampleDlg::SampleDlg(HWND parent) : CDialogEx(kSampleTemplate, parent) {
//       MapCommand(1004, CBN_SELCHANGE, &SampleDlg::OnModeChanged); // a command: id and code
//       MapNotify(1002, NM_DBLCLK, &SampleDlg::OnListDblClk);        // a notification: id and code
//   }
//   void SampleDlg::DoDataExchange(CDataExchange& dx) {
//       DDX_Control(dx, 1004, mode);
//       DDX_Control(dx, 1002, list);
//       DDX_Text(dx, 1005, pressure);
//   }
//   bool SampleDlg::OnInitDialog() {
//       CDialogEx::OnInitDialog();   // binds the members and moves the values in (DoDataExchange)
//       mode.AddString(u"...");
//       list.InsertColumn(0, u"Имя", LVCFMT_LEFT, 120);
//       return true;                 // the framework puts the focus on the first tab stop
//   }
//   void SampleDlg::OnListDblClk(NMHDR* hdr, intptr_t* result) {
//       const auto* activate = reinterpret_cast<NMITEMACTIVATE*>(hdr); // the code's record
//       ...
//       *result = 0;
//   }
//   void SampleDlg::OnOK() { UpdateData(true); /* use the values */ EndDialog(IDOK); }
//
//   SampleDlg dlg(parentWindow);
//   if (dlg.DoModal() == IDOK) ...
//
// A modeless dialog calls Create instead of DoModal and lives until DestroyWindow; a dialog object
// that owns itself deletes itself in PostNcDestroy. A page (template with WS_CHILD) is created
// with Create(parent window) inside another window, and shown and moved by its owner.
//
// How the framework stands in for the desktop the dialogs were first written for:
// - Enter presses the focused push button, else the default one (BS_DEFPUSHBUTTON, else IDOK);
//   Escape and the caption's close button both send IDCANCEL. Unmapped IDOK and IDCANCEL run
//   OnOK and OnCancel. Pages leave Enter and Escape to the window around them.
// - The system menu: the window manager's own menu cannot take items, so the items a dialog
//   appends (GetSystemMenu) form a context menu on the dialog's background (a right click where no
//   control is); choosing one runs OnSysCommand with the item's id.
// - The minimum tracking size (SetMinTrackSize) is a window size, frame included, that the user
//   cannot shrink the window below by dragging, maximising or restoring it; the code's own
//   MoveWindow is applied as given, also below the minimum (the user then cannot shrink it
//   further). A window without WS_THICKFRAME and without WS_MAXIMIZEBOX has a fixed size; one
//   with a maximize box can still be resized by the window manager.
// - Tool tips are the widgets' own tips (CToolTipCtrl); they need no relaying of mouse messages.
// - A dialog's large and small icons are one window icon in several sizes.
// - A window the code has not placed appears centred over its parent window, or on the screen.
#pragma once

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CDialogEx;

// Moves values between a dialog's members and its controls (DoDataExchange).
class CDataExchange {
public:
    CDataExchange(CDialogEx& dialog, bool saveAndValidate)
        : dialog(dialog), saveAndValidate(saveAndValidate) {}
    CDialogEx& dialog;
    const bool saveAndValidate; // true: controls to members; false: members to controls
};

// Binds a control object to the dialog's control `id` the first time; throws std::logic_error when
// the template has no such control (a mistake in the dialog's code).
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
// Moves a text between a member and the control `id` (an edit's text, a label's, a button's).
void DDX_Text(CDataExchange& dx, int id, std::u16string& value);

// Items appended to a dialog's system menu; shown as the context menu of the dialog's background.
class CSystemMenu {
public:
    struct Item {
        unsigned id;         // 0 for a separator
        std::u16string text; // empty for a separator
    };
    void AppendSeparator() { items.push_back({0, {}}); }
    void AppendItem(unsigned id, std::u16string_view text) { items.push_back({id, std::u16string(text)}); }
    const std::vector<Item>& Items() const { return items; }

private:
    std::vector<Item> items;
};

class CDialogEx : public CWnd {
public:
    // The template must outlive the dialog (templates are constants). `parent` owns the window:
    // a top-level dialog stays above it, a page sits inside it.
    explicit CDialogEx(const DialogTemplate& dialogTemplate, HWND parent = nullptr);
    ~CDialogEx() override; // destroys a window still open, without calling back into this object

    // Creates the window, runs OnInitDialog and waits until EndDialog; the window is destroyed
    // before this returns. Returns EndDialog's result, or -1 when the dialog already has a window.
    intptr_t DoModal();
    // Creates the modeless window (shown when the template has WS_VISIBLE) and runs OnInitDialog;
    // `parent`, when given, replaces the constructor's. False when the dialog already has a window.
    bool Create(HWND parent = nullptr);
    // Ends the dialog: a modal one's DoModal returns `result`; a modeless one is hidden (destroy it
    // with DestroyWindow).
    void EndDialog(int result);
    bool IsModal() const; // DoModal is waiting for the end

    // The object of control `id` (a bound member, or the framework's own object of the control's
    // kind: CButton, CEdit, CStatic, CListBox, CComboBox, CListCtrl, CTabCtrl); null for none. A
    // framework object stays valid until the window is destroyed.
    CWnd* GetDlgItem(int id) const;
    template <class T> T* GetDlgItemAs(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    std::u16string GetDlgItemText(int id) const; // "" for none
    void SetDlgItemText(int id, std::u16string_view text);
    // Runs DoDataExchange in the given direction; returns true (there is no validation step).
    bool UpdateData(bool saveAndValidate = true);

    // The caption's icon (a top-level window shows the big one, else the small one).
    void SetIcon(HICON icon, bool bigIcon);
    HICON GetIcon(bool bigIcon) const;
    CSystemMenu& GetSystemMenu() { return systemMenu; }
    // The smallest window size (frame included) the user can give the window; 0, 0 for none.
    // It never changes the window's current size.
    void SetMinTrackSize(int width, int height);
    CSize GetMinTrackSize() const { return minTrackSize; }

    const DialogTemplate& GetTemplate() const { return dialogTemplate; }
    DialogBaseUnits GetBaseUnits() const { return baseUnits; }
    // A rectangle in dialog units in this dialog's pixels.
    CRect MapDialogRect(int x, int y, int cx, int cy) const;

protected:
    // After the controls exist: binds members and moves values in (UpdateData(false)). Return
    // true to have the framework focus the first tab stop, false when the dialog set the focus.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange&) {}
    virtual void OnOK();     // UpdateData(true), then EndDialog(IDOK)
    virtual void OnCancel(); // EndDialog(IDCANCEL)
    // A command from control `id`: the mapped handler, else IDOK/IDCANCEL clicks run OnOK/OnCancel.
    // True when handled.
    virtual bool OnCommand(int id, int code);
    // A notification from a control: the mapped handler, which sets *result; true when handled.
    virtual bool OnNotify(NMHDR& hdr, intptr_t* result);
    // An item of the system menu was chosen.
    virtual void OnSysCommand(unsigned) {}
    // The client area was resized to width x height pixels; the dynamic layout is already applied.
    virtual void OnSize(int, int) {}

    template <class D> void MapCommand(int id, void (D::*handler)()) { MapCommand(id, BN_CLICKED, handler); }
    template <class D> void MapCommand(int id, int code, void (D::*handler)()) {
        commandMap[{id, code}] = [this, handler] { (static_cast<D*>(this)->*handler)(); };
    }
    template <class D> void MapNotify(int id, unsigned code, void (D::*handler)(NMHDR*, intptr_t*)) {
        notifyMap[{id, code}] = [this, handler](NMHDR* hdr, intptr_t* result) {
            (static_cast<D*>(this)->*handler)(hdr, result);
        };
    }

private:
    friend class CWnd;
    friend class DialogWindow;
    friend void DDX_Control(CDataExchange&, int, CWnd&);

    void CreateFromTemplate();
    void RunInitDialog();
    void FocusFirstTabStop();
    HWND ControlWidget(int id) const;
    void RouteCommand(int id, int code);
    void DispatchNotify(NMHDR& hdr, intptr_t* result);
    void WindowResized(int width, int height); // the client area's new size
    void WindowDestroying();
    void WindowGone();
    int DefaultButtonId() const;
    void ApplyMinTrackSize();

    struct Backend; // the system's side: the parent, the controls' windows, the modal loop
#ifdef _WIN32
    void RethrowInitFailure();
#endif

    const DialogTemplate& dialogTemplate;
    std::unique_ptr<Backend> backend;
    DialogBaseUnits baseUnits{};
    std::vector<std::unique_ptr<CWnd>> frameworkObjects; // the controls' own objects
    bool layoutReady = false;
    bool ended = false;
    int result = IDCANCEL;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    CSystemMenu systemMenu;
    CSize minTrackSize;
    std::map<std::pair<int, int>, std::function<void()>> commandMap;
    std::map<std::pair<int, unsigned>, std::function<void(NMHDR*, intptr_t*)>> notifyMap;
};
