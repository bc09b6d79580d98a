#include "DialogWindow.h"

#include "DialogEx.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

DialogWindow::DialogWindow(QWidget* parent, bool page) : QWidget(parent, page ? Qt::Widget : Qt::Dialog) {}

DialogWindow::~DialogWindow() {
    // The dialog hears of its end first, then its controls go, then the dialog hears they are gone.
    ReportDestroying();
    QList<QPointer<QWidget>> children;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        children.append(child);
    for (const QPointer<QWidget>& child : children)
        delete child.data();
    ReportGone();
}

void DialogWindow::ReportDestroying() {
    if (CDialogEx* owner = Owner())
        owner->WindowDestroying();
}

void DialogWindow::ReportGone() {
    if (CDialogEx* owner = Owner())
        owner->WindowGone();
}

CDialogEx* DialogWindow::Owner() const {
    return dynamic_cast<CDialogEx*>(wnd);
}

bool DialogWindow::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    switch (e->type()) {
    case QEvent::Show:
        PlaceFirstTime();
        SyncFrame();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        SyncFrame();
        break;
    default:
        break;
    }
    return handled;
}

void DialogWindow::PlaceFirstTime() {
    if (shownOnce || !isWindow())
        return;
    shownOnce = true;
    if (positioned)
        return;
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen* s = screen())
        area = s->availableGeometry();
    if (!area.isValid())
        return;
    QPoint place = area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2);
    // Centred over a host window near a screen edge, the dialog would open partly off the screen and its
    // stored rectangle would keep it there: along each axis where it fits, keep it on that screen.
    const QScreen* under = QGuiApplication::screenAt(area.center());
    if (const QScreen* s = under ? under : screen()) {
        const QRect desk = s->availableGeometry();
        const QSize size = frameGeometry().size();
        if (size.width() <= desk.width())
            place.setX(std::clamp(place.x(), desk.left(), desk.right() + 1 - size.width()));
        if (size.height() <= desk.height())
            place.setY(std::clamp(place.y(), desk.top(), desk.bottom() + 1 - size.height()));
    }
    move(place);
}

void DialogWindow::SyncFrame() {
    if (!isWindow() || !isVisible())
        return;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    if (pendingFrameRect && margins != appliedMargins)
        ApplyFrameRect(this, *pendingFrameRect);
    if (!margins.isNull())
        pendingFrameRect.reset();
    if (CDialogEx* owner = Owner())
        owner->ApplyMinTrackSize();
}

void DialogWindow::closeEvent(QCloseEvent* e) {
    // The caption's close button is Cancel; the dialog decides whether and how it goes.
    e->ignore();
    if (CDialogEx* owner = Owner())
        owner->RouteCommand(IDCANCEL, BN_CLICKED);
}

void DialogWindow::keyPressEvent(QKeyEvent* e) {
    CDialogEx* owner = Owner();
    const Qt::KeyboardModifiers modifiers = e->modifiers() & ~Qt::KeypadModifier;
    if (!isWindow() || !owner || modifiers != Qt::NoModifier) {
        e->ignore(); // a page leaves Enter and Escape to the window around it
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        owner->RouteCommand(IDCANCEL, BN_CLICKED);
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        int id = owner->DefaultButtonId();
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            if (WidgetHook* hook = WidgetHook::Of(focused))
                id = hook->id;
        if (QWidget* button = owner->ControlWidget(id); !button || button->isEnabled())
            owner->RouteCommand(id, BN_CLICKED);
        return;
    }
    e->ignore();
}

void DialogWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (CDialogEx* owner = Owner())
        owner->WindowResized(width(), height());
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* e) {
    CDialogEx* owner = Owner();
    const bool onBackground = e->reason() == QContextMenuEvent::Mouse
                                  ? childAt(e->pos()) == nullptr
                                  : (!focusWidget() || focusWidget() == this);
    if (!owner || !onBackground || owner->GetSystemMenu().Items().empty()) {
        e->ignore();
        return;
    }
    QMenu menu(this);
    unsigned chosen = 0;
    for (const CSystemMenu::Item& item : owner->GetSystemMenu().Items()) {
        if (item.id == 0)
            menu.addSeparator();
        else
            QObject::connect(menu.addAction(QString::fromStdU16String(item.text)), &QAction::triggered, &menu,
                             [&chosen, id = item.id] { chosen = id; });
    }
    const QPointer<DialogWindow> self(this);
    menu.exec(e->reason() == QContextMenuEvent::Mouse ? e->globalPos() : mapToGlobal(QPoint(0, 0)));
    // The command runs once the menu is closed.
    if (chosen && self && (owner = Owner())) {
        HandlerScope scope;
        owner->OnSysCommand(chosen);
    }
}
