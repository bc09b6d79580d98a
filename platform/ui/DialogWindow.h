// Internal to the framework: the widget of a dialog, which hands its keys, closing, resizing,
// background menu and end to its CDialogEx.
#pragma once

#include "platform/ui/WidgetHook.h"

#include <QWidget>

class CDialogEx;

class DialogWindow : public QWidget, public WidgetHook {
public:
    DialogWindow(QWidget* parent, bool page);
    ~DialogWindow() override;

protected:
    void ReportDestroying() override;
    void ReportGone() override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CDialogEx* Owner() const;
    void SyncFrame();
    void PlaceFirstTime();
    bool shownOnce = false;
};
