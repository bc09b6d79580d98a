// Internal to the framework: the widget of a tab control, a row of tabs over a framed area. The
// owner places its pages inside the area itself, as the dialogs expect of a tab control. The
// keyboard works the tabs as on the dialogs' first platform: the focus, taken by Tab or a click,
// shows on the current tab, Left and Right move to the neighbouring tab, and Ctrl+Tab and
// Ctrl+Shift+Tab, anywhere in the window, to the next and the previous one (round the end); each
// switches as a click does.
#pragma once

#include "platform/ui/WidgetHook.h"

#include <QTabBar>
#include <QWidget>

class TabControlWidget : public Hooked<QWidget> {
public:
    explicit TabControlWidget(QWidget* parent);
    QTabBar* Bar() const { return bar; }
    int quiet = 0; // >0 while the code changes the tabs: no TCN_SELCHANGE

    // The height of the row of tabs: 21 pixels at the reference dialog font, grown with this one
    // (the pages start below it).
    int TabHeight() const;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Step(int offset); // to the tab `offset` places on, round the end

    QTabBar* bar;
};
