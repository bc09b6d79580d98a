// Internal to the framework: the handlers of its objects, on every system.
#pragma once

class CWnd;

// Marks a handler of the framework's objects as running. An object whose window goes meanwhile
// hears PostNcDestroy, and so may delete itself, only once the outermost handler has returned:
// a handler may destroy its own window and still finish. The dialogs live on one thread.
class HandlerScope {
public:
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
    static bool Running();
    // Calls the object's PostNcDestroy at the end of the outermost handler.
    static void DeferGone(CWnd* wnd);
    static void Forget(CWnd* wnd); // the object is being deleted
};
