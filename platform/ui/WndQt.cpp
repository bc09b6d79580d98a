#include "Wnd.h"

#include "DialogEx.h"
#include "QtDialogFont.h"
#include "QtGeometry.h"
#include "WidgetHook.h"

#include "platform/ui/Keys.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

class CWnd::EventHook : public QObject {
public:
    explicit EventHook(CWnd* owner) : owner(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        CWnd* wnd = owner; // the hook itself goes if the handler destroys the window
        HandlerScope scope;
        if (watched == wnd->widget && wnd->KeyOrFocusEvent(event))
            return true;
        return wnd->OnWidgetEvent(watched, event);
    }

private:
    CWnd* owner;
};

WidgetHook* WidgetHook::Of(QWidget* widget) {
    return dynamic_cast<WidgetHook*>(widget);
}

void WidgetHook::ReportDestroyed() {
    ReportDestroying();
    ReportGone();
}

void WidgetHook::ReportDestroying() {
    if (wnd)
        wnd->WidgetDestroying();
}

void WidgetHook::ReportGone() {
    if (wnd)
        wnd->WidgetGone();
}

void WidgetHook::ReleaseTree(QWidget* widget) {
    // The same order as when the widgets are deleted: the window hears it is going, then the
    // windows inside it go, then it is gone.
    const QPointer<QWidget> guard(widget);
    if (WidgetHook* hook = Of(widget))
        hook->ReportDestroying();
    QList<QPointer<QWidget>> children;
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        children.append(child);
    for (const QPointer<QWidget>& child : children)
        if (child)
            ReleaseTree(child);
    if (WidgetHook* hook = guard ? Of(widget) : nullptr)
        hook->ReportGone();
}

namespace {

QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

} // namespace

void ApplyFrameRect(QWidget* window, const CRect& rect) {
    const QMargins m = window->isVisible() ? FrameMargins(window) : QMargins();
    const QSize client(std::max(0, rect.Width() - m.left() - m.right()),
                       std::max(0, rect.Height() - m.top() - m.bottom()));
    // A window the user cannot resize is held at its size: move the hold along. Any other window
    // takes the size as given: a minimum holds the user only (CDialogEx::SetMinTrackSize).
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(client);
    else
        window->setMinimumSize(window->minimumSize().boundedTo(client));
    window->resize(client);
    window->move(rect.left, rect.top); // a top-level window's position is its frame's
    if (WidgetHook* hook = WidgetHook::Of(window))
        hook->appliedMargins = m;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    HandlerScope::Forget(this);
    Detach();
}

CWnd* CWnd::FromHandle(HWND window) {
    WidgetHook* hook = window ? WidgetHook::Of(window) : nullptr;
    return hook ? hook->wnd : nullptr;
}

bool CWnd::Attach(HWND newWidget) {
    WidgetHook* widgetHook = newWidget ? WidgetHook::Of(newWidget) : nullptr;
    if (widget || !widgetHook || widgetHook->wnd)
        return false;
    widget = newWidget;
    widgetHook->wnd = this;
    hook = std::make_unique<EventHook>(this);
    widget->installEventFilter(hook.get()); // the window's keys and focus (KeyOrFocusEvent)
    OnAttach();
    return true;
}

namespace {

// The code of a Qt key among those the dialogs' handlers name (Keys.h); 0 for any other.
unsigned VirtualKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_F2:
        return VK_F2;
    default:
        return 0;
    }
}

unsigned ModifierKeys(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::AltModifier ? MOD_ALT : 0) | (modifiers & Qt::ControlModifier ? MOD_CONTROL : 0) |
           (modifiers & Qt::ShiftModifier ? MOD_SHIFT : 0);
}

} // namespace

bool CWnd::KeyOrFocusEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!WantsKey(VirtualKey(key->key()), ModifierKeys(key->modifiers())))
            return false;
        event->accept(); // no shortcut or default button takes the key from this window
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        return OnKeyDown(VirtualKey(key->key()), ModifierKeys(key->modifiers()));
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            OnKillFocus();
        return false;
    default:
        return false;
    }
}

void CWnd::Detach() {
    if (widget)
        if (WidgetHook* widgetHook = WidgetHook::Of(widget); widgetHook && widgetHook->wnd == this)
            widgetHook->wnd = nullptr;
    hook.reset(); // removes the event watches and the connections made with Context()
    widget = nullptr;
}

int CWnd::GetDlgCtrlID() const {
    WidgetHook* widgetHook = widget ? WidgetHook::Of(widget) : nullptr;
    return widgetHook ? widgetHook->id : 0;
}

unsigned CWnd::GetStyle() const {
    WidgetHook* widgetHook = widget ? WidgetHook::Of(widget) : nullptr;
    return widgetHook ? widgetHook->windowStyle : 0;
}

bool CWnd::ModifyStyle(unsigned remove, unsigned add) {
    WidgetHook* widgetHook = widget ? WidgetHook::Of(widget) : nullptr;
    if (!widgetHook)
        return false;
    widgetHook->windowStyle = (widgetHook->windowStyle & ~remove) | add;
    OnStyleChanged();
    return true;
}

CDialogEx* CWnd::GetParentDialog() const {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* dialog = dynamic_cast<CDialogEx*>(FromHandle(w)))
            return dialog;
    return nullptr;
}

CWnd* CWnd::GetParent() const {
    // Parts of a control (a list's viewport) have no object: the control around them answers.
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (CWnd* wnd = FromHandle(w))
            return wnd;
    return nullptr;
}

std::u16string CWnd::GetWindowText() const {
    if (!widget)
        return {};
    if (widget->isWindow())
        return widget->windowTitle().toStdU16String();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdU16String();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdU16String();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        const WidgetHook* widgetHook = WidgetHook::Of(widget);
        return widgetHook && widgetHook->iconOnly ? widgetHook->hiddenText : button->text().toStdU16String();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText().toStdU16String();
    return widget->windowTitle().toStdU16String();
}

void CWnd::SetWindowText(std::u16string_view text) {
    if (!widget)
        return;
    const QString value = QString::fromStdU16String(std::u16string(text));
    if (widget->isWindow())
        widget->setWindowTitle(value);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        WidgetHook* widgetHook = WidgetHook::Of(widget);
        if (widgetHook && widgetHook->iconOnly)
            widgetHook->hiddenText = std::u16string(text);
        else
            button->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(value);
    } else
        widget->setWindowTitle(value);
}

bool CWnd::ShowWindow(int command) {
    if (!widget)
        return false;
    const bool wasVisible = widget->isVisible();
    switch (command) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (widget->isWindow()) {
            widget->showNormal();
            widget->raise();
            widget->activateWindow();
        } else
            widget->show();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        widget->isWindow() ? widget->showMinimized() : widget->show();
        break;
    case SW_SHOWMAXIMIZED:
        widget->isWindow() ? widget->showMaximized() : widget->show();
        break;
    default:
        widget->show();
        break;
    }
    return wasVisible;
}

bool CWnd::IsWindowVisible() const {
    return widget && widget->isVisible();
}

void CWnd::EnableWindow(bool enable) {
    if (widget)
        widget->setEnabled(enable);
}

bool CWnd::IsWindowEnabled() const {
    return widget && widget->isEnabled();
}

CRect CWnd::GetWindowRect() const {
    if (!widget)
        return {};
    if (widget->isWindow())
        return FromQRect(widget->frameGeometry());
    return FromQRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

CRect CWnd::GetNormalWindowRect() const {
    if (!widget || !widget->isWindow() ||
        !(widget->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        return GetWindowRect();
    // Qt keeps the normal rectangle without the frame; the frame is the one the window has now (a
    // window manager that takes the borders off a maximised window costs the normal one their width).
    return FromQRect(widget->normalGeometry().marginsAdded(FrameMargins(widget)));
}

CRect CWnd::GetClientRect() const {
    if (!widget)
        return {};
    const QRect inside = widget->contentsRect();
    return {0, 0, inside.width(), inside.height()};
}

CPoint CWnd::ClientToScreen(CPoint point) const {
    if (!widget)
        return point;
    return FromQPoint(widget->mapToGlobal(widget->contentsRect().topLeft() + ToQPoint(point)));
}

DialogBaseUnits CWnd::GetFontBaseUnits() const {
    return MeasureBaseUnits(widget ? widget->font() : QFont());
}

void CWnd::MoveWindow(const CRect& rect, bool repaint) {
    if (!widget)
        return;
    if (widget->isWindow()) {
        WidgetHook* widgetHook = WidgetHook::Of(widget);
        if (widgetHook) {
            widgetHook->positioned = true;
            // Until the window manager has framed the window its frame is unknown: keep the
            // rectangle to set it again once the frame is known.
            if (!widget->isVisible() || widget->frameGeometry() == widget->geometry())
                widgetHook->pendingFrameRect = rect;
            else
                widgetHook->pendingFrameRect.reset();
        }
        ApplyFrameRect(widget, rect);
    } else
        widget->setGeometry(ToQRect(rect));
    // A hidden window hears of its new size only when shown; a dialog lays out its controls now.
    if (auto* dialog = dynamic_cast<CDialogEx*>(this); dialog && !widget->isVisible())
        dialog->WindowResized(widget->width(), widget->height());
    if (repaint)
        widget->update();
}

void CWnd::SetFocus() {
    if (widget)
        widget->setFocus(Qt::OtherFocusReason);
}

bool CWnd::HasFocus() const {
    return widget && widget->hasFocus();
}

void CWnd::Invalidate() {
    if (widget)
        widget->update();
}

void CWnd::SetRedraw(bool redraw) {
    if (!widget)
        return;
    widget->setUpdatesEnabled(redraw);
    if (redraw)
        widget->update();
}

bool CWnd::DestroyWindow() {
    if (!widget)
        return false;
    const QPointer<QWidget> window = widget;
    window->hide();
    // The widgets may be on the stack below this call (a button's click, a key press), so only
    // their objects hear of the end now; the widgets are deleted with no object bound.
    if (window)
        WidgetHook::ReleaseTree(window);
    if (window)
        window->deleteLater();
    return true;
}

bool CWnd::DestroyWindowNow() {
    if (!widget)
        return false;
    delete widget;
    return true;
}

bool CWnd::OnWidgetEvent(QObject*, QEvent*) {
    return false;
}

void CWnd::WatchEvents(QObject* object) {
    if (hook && object)
        object->installEventFilter(hook.get());
}

QObject* CWnd::Context() {
    return hook.get();
}

intptr_t CWnd::NotifyParent(NMHDR& hdr) {
    CDialogEx* dialog = GetParentDialog();
    intptr_t result = 0;
    if (dialog)
        dialog->DispatchNotify(hdr, &result);
    return result;
}
