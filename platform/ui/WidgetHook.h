// Internal to the framework: what it keeps on each widget it makes, and how a widget tells its
// object that it is going.
#pragma once

#include "platform/ui/HandlerScope.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Rect.h"

#include <QMargins>

#include <optional>
#include <string>

class CWnd;
class QWidget;

class WidgetHook {
public:
    virtual ~WidgetHook() = default;
    static WidgetHook* Of(QWidget* widget);

    CWnd* wnd = nullptr;        // the bound object
    int id = 0;                 // control id
    unsigned windowStyle = 0;   // window and control styles
    unsigned extendedStyle = 0; // extended list-view styles
    bool iconOnly = false;      // an icon button: its text is kept in hiddenText, not shown
    std::u16string hiddenText;
    HICON icon = nullptr;                  // an icon button's or an icon label's icon
    bool positioned = false;               // a top-level window was moved by code before it was first shown
    std::optional<CRect> pendingFrameRect; // set before the window's frame was known
    QMargins appliedMargins;               // the frame margins pendingFrameRect was last applied with

    // Tells the objects bound to the widget and to every widget inside it that their windows are
    // going, then gone, and unbinds them, all without deleting a widget.
    static void ReleaseTree(QWidget* widget);

protected:
    // Tells the bound object that the widget is going (OnDestroy), then gone (PostNcDestroy).
    void ReportDestroyed();
    virtual void ReportDestroying();
    virtual void ReportGone();
};


// A Qt widget class as the framework makes it.
template <class Base> class Hooked : public Base, public WidgetHook {
public:
    using Base::Base;
    ~Hooked() override { ReportDestroyed(); }
};

// Applies a top-level window rectangle (frame included) with the window's current frame margins.
void ApplyFrameRect(QWidget* window, const CRect& rect);
