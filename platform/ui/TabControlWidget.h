// Internal to the framework: the widget of a tab control, a row of tabs over a framed area. The
// owner places its pages inside the area itself, as the dialogs expect of a tab control.
#pragma once

#include "platform/ui/WidgetHook.h"

#include <QTabBar>
#include <QWidget>

class TabControlWidget : public Hooked<QWidget> {
public:
    explicit TabControlWidget(QWidget* parent);
    QTabBar* Bar() const { return bar; }
    int quiet = 0; // >0 while the code changes the tabs: no TCN_SELCHANGE

    static constexpr int kTabHeight = 21; // pixels; the pages start below this

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QTabBar* bar;
};
