#include "DialogEx.h"

#include "ControlFactory.h"
#include "DialogWindow.h"
#include "QtDialogFont.h"
#include "QtGeometry.h"
#include "QtIcons.h"


#include <QAbstractButton>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>


namespace {

Qt::WindowFlags TopLevelFlags(unsigned style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    flags |= (style & WS_CAPTION) == WS_CAPTION ? Qt::WindowTitleHint : Qt::FramelessWindowHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

} // namespace

struct CDialogEx::Backend {
    struct Control {
        const ControlTemplate* source;
        QPointer<QWidget> widget;
        CRect initialRect; // pixels, at creation
    };
    QPointer<QWidget> parentWidget;
    std::vector<Control> controls;
    QSize initialClientSize;
    QEventLoop* modalLoop = nullptr;
    QSize normalFrame; // the frame's size around the window in its normal state
};

CDialogEx::CDialogEx(const DialogTemplate& dialogTemplate, HWND parent)
    : dialogTemplate(dialogTemplate), backend(std::make_unique<Backend>()) {
    backend->parentWidget = parent;
}

CDialogEx::~CDialogEx() {
    if (backend->modalLoop)
        backend->modalLoop->exit();
    QWidget* window = GetSafeHwnd();
    Detach(); // the window goes without calling back into a dialog that is going itself
    delete window;
}

intptr_t CDialogEx::DoModal() {
    if (IsWindow())
        return -1;
    ended = false;
    result = IDCANCEL;
    CreateFromTemplate();
    const QPointer<QWidget> window = GetSafeHwnd();
    RunInitDialog();
    if (!ended && window) {
        QEventLoop loop;
        backend->modalLoop = &loop;
        window->setWindowModality(backend->parentWidget ? Qt::WindowModal : Qt::ApplicationModal);
        ShowWindow(SW_SHOWNORMAL);
        loop.exec(QEventLoop::DialogExec);
        backend->modalLoop = nullptr;
    }
    DestroyWindowNow();
    return result;
}

bool CDialogEx::IsModal() const {
    return backend->modalLoop != nullptr;
}

bool CDialogEx::Create(HWND parent) {
    if (IsWindow())
        return false;
    if (parent)
        backend->parentWidget = parent;
    ended = false;
    CreateFromTemplate();
    RunInitDialog();
    if (IsWindow() && (dialogTemplate.style & WS_VISIBLE) && !ended)
        ShowWindow(SW_SHOW);
    return IsWindow();
}

void CDialogEx::EndDialog(int code) {
    result = code;
    ended = true;
    if (backend->modalLoop)
        backend->modalLoop->exit();
    if (QWidget* window = GetSafeHwnd())
        window->hide();
}

void CDialogEx::CreateFromTemplate() {
    const bool page = dialogTemplate.style & WS_CHILD;
    auto* window = new DialogWindow(backend->parentWidget, page);
    window->windowStyle = dialogTemplate.style;
    const QFont font = DialogFont(dialogTemplate.fontName, dialogTemplate.fontSize);
    window->setFont(font);
    baseUnits = MeasureBaseUnits(font);
    if (page) {
        window->hide(); // a page stays hidden when its parent shows, until it is shown itself
    } else {
        window->setWindowFlags(TopLevelFlags(dialogTemplate.style));
        window->setWindowTitle(QString::fromStdU16String(dialogTemplate.title));
        window->setWindowIcon(QtIcon(bigIcon ? bigIcon : smallIcon));
    }
    Attach(window);

    const CRect client = MapDialogRect(0, 0, dialogTemplate.cx, dialogTemplate.cy);
    backend->initialClientSize = QSize(client.Width(), client.Height());
    window->resize(backend->initialClientSize);
    if (!page && !(dialogTemplate.style & (WS_THICKFRAME | WS_MAXIMIZEBOX)))
        window->setFixedSize(backend->initialClientSize);

    backend->controls.clear();
    frameworkObjects.clear();
    for (const ControlTemplate& c : dialogTemplate.controls) {
        QWidget* widget = CreateControlWidget(c, window);
        CRect rect = MapDialogRect(c.x, c.y, c.cx, c.cy);
        // A combo box's template height includes its drop-down list; the closed box is shorter.
        if (c.kind == ControlKind::DropDownCombo)
            rect.bottom = rect.top + std::min(rect.Height(), widget->sizeHint().height());
        widget->setGeometry(ToQRect(rect));
        backend->controls.push_back({&c, widget, rect});
        if (c.id == IDC_STATIC)
            continue;

        const int id = c.id;
        switch (c.kind) {
        case ControlKind::PushButton:
        case ControlKind::IconButton:
            QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, Context(),
                             [this, id] { RouteCommand(id, BN_CLICKED); });
            break;
        case ControlKind::Edit:
            QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, Context(),
                             [this, id] { RouteCommand(id, EN_CHANGE); });
            break;
        case ControlKind::DropDownCombo:
            QObject::connect(static_cast<QComboBox*>(widget), &QComboBox::activated, Context(),
                             [this, id] { RouteCommand(id, CBN_SELCHANGE); });
            break;
        case ControlKind::ListBox:
            if (c.style & LBS_NOTIFY)
                QObject::connect(static_cast<QListWidget*>(widget), &QListWidget::itemDoubleClicked,
                                 Context(), [this, id] { RouteCommand(id, LBN_DBLCLK); });
            break;
        default:
            break;
        }
        std::unique_ptr<CWnd> object = MakeControlObject(c.kind);
        object->Attach(widget);
        frameworkObjects.push_back(std::move(object));
    }
    layoutReady = true;
}

void CDialogEx::FocusFirstTabStop() {
    for (const Backend::Control& c : backend->controls)
        if (c.widget && (c.widget->focusPolicy() & Qt::TabFocus) && c.widget->isEnabled() &&
            !c.widget->isHidden()) {
            c.widget->setFocus(Qt::TabFocusReason);
            return;
        }
}

HWND CDialogEx::ControlWidget(int id) const {
    for (const Backend::Control& c : backend->controls)
        if (c.source->id == id && c.widget)
            return c.widget;
    return nullptr;
}

void CDialogEx::SetIcon(HICON icon, bool big) {
    (big ? bigIcon : smallIcon) = icon;
    QWidget* window = GetSafeHwnd();
    if (window && window->isWindow())
        window->setWindowIcon(QtIcon(bigIcon ? bigIcon : smallIcon));
}

void CDialogEx::SetMinTrackSize(int width, int height) {
    minTrackSize = {std::max(0, width), std::max(0, height)};
    ApplyMinTrackSize();
}

void CDialogEx::ApplyMinTrackSize() {
    QWidget* window = GetSafeHwnd();
    // A hidden window has no frame yet to take off the minimum; it gets its hold once shown.
    if (!window || !window->isWindow() || !window->isVisible() ||
        window->minimumSize() == window->maximumSize() || minTrackSize.cx <= 0 || minTrackSize.cy <= 0)
        return;
    // The window system holds the user at the widget's minimum, which is the client's: the frame
    // comes off. A window that the code made smaller keeps its size: the user cannot shrink it
    // further, and each way it grows towards the minimum is held there from then on.
    // A maximised window may lose its borders, and the first events after a restore still show that
    // frame: the normal window's frame is the largest seen in the normal state, so that a restore
    // held at the minimum gives exactly the minimum.
    if (!(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        backend->normalFrame = backend->normalFrame.expandedTo(window->frameGeometry().size() - window->geometry().size());
    const QSize minimum(minTrackSize.cx, minTrackSize.cy);
    window->setMinimumSize((minimum - backend->normalFrame).expandedTo(QSize(0, 0)).boundedTo(window->size()));
}

void CDialogEx::WindowResized(int width, int height) {
    if (!layoutReady)
        return;
    const int dx = width - backend->initialClientSize.width();
    const int dy = height - backend->initialClientSize.height();
    for (const Backend::Control& c : backend->controls) {
        const DynamicLayout& l = c.source->layout;
        if (!c.widget || (l.moveX == 0 && l.moveY == 0 && l.sizeX == 0 && l.sizeY == 0))
            continue;
        c.widget->setGeometry(ToQRect(ApplyDynamicLayout(l, c.initialRect, dx, dy)));
    }
    OnSize(width, height);
}

void CDialogEx::WindowDestroying() {
    if (backend->modalLoop)
        backend->modalLoop->exit();
    WidgetDestroying();
}

void CDialogEx::WindowGone() {
    layoutReady = false;
    backend->controls.clear();
    // The controls' own objects stay, unbound, until the next window or the dialog's end: one of
    // them may be running the handler that destroyed the window.
    WidgetGone(); // may delete this
}
