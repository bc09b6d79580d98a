#include "Wnd.h"

#include "HandlerScope.h"

#include <vector>

namespace {

int handlersRunning = 0;
std::vector<CWnd*> goneInHandlers; // objects waiting for PostNcDestroy, in the order they went

} // namespace

HandlerScope::HandlerScope() {
    ++handlersRunning;
}

HandlerScope::~HandlerScope() {
    if (handlersRunning > 1) {
        --handlersRunning;
        return;
    }
    // Still counted as running, so that whatever goes while these run waits its turn here.
    while (!goneInHandlers.empty()) {
        CWnd* wnd = goneInHandlers.front();
        goneInHandlers.erase(goneInHandlers.begin());
        wnd->PostNcDestroy(); // may delete it
    }
    --handlersRunning;
}

bool HandlerScope::Running() {
    return handlersRunning > 0;
}

void HandlerScope::DeferGone(CWnd* wnd) {
    goneInHandlers.push_back(wnd);
}

void HandlerScope::Forget(CWnd* wnd) {
    std::erase(goneInHandlers, wnd);
}

void CWnd::WidgetDestroying() {
    if (destroying)
        return;
    destroying = true;
    OnDestroy();
}

void CWnd::WidgetGone() {
    Detach();
    destroying = false;
    if (HandlerScope::Running())
        HandlerScope::DeferGone(this);
    else
        PostNcDestroy(); // may delete this
}

bool CWnd::OnReflectNotify(NMHDR&, intptr_t*) {
    return false;
}

NMHDR CWnd::MakeHeader(unsigned code) const {
    return NMHDR{widget, static_cast<decltype(NMHDR::idFrom)>(GetDlgCtrlID()), code};
}

intptr_t CWnd::SendNotify(NMHDR& hdr) {
    intptr_t result = 0;
    if (OnReflectNotify(hdr, &result))
        return result;
    return NotifyParent(hdr);
}

void CWnd::MoveWindow(int x, int y, int width, int height, bool repaint) {
    MoveWindow(CRect{x, y, x + width, y + height}, repaint);
}
