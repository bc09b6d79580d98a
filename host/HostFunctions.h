/* The host data system's function table: the one interface between the host and its plug-ins.
 * A C ABI shared by the plug-in, the host program and the tests' fake host. The slot order is the
 * interface: slots may only be added at the end (the static_asserts below keep anyone from
 * reordering them).
 *
 * Widths: numbers (handles, counts) stay 32-bit as on the host's original 32-bit platform; everything
 * that carries a pointer (a service's arguments and result) is pointer-sized, so a 32-bit build gives
 * the original layout.
 *
 * Windows: the "host window" handed to a command handler is the host main window's HWND; on Linux,
 * where the host and its plug-ins share one Qt (the host owns the QApplication; a plug-in never makes
 * one), it is the host main window's QWidget*. Either is passed as void*:
 *   - the plug-in's dialogs take it as their owner (a top-level dialog over the host window);
 *   - it may be null (a host without a main window): the plug-in then makes windows without an owner;
 *   - it stays valid until Unload returns; the plug-in never destroys it;
 *   - handlers are called on the thread that owns it (the host's UI thread, whose message loop the
 *     plug-in's modeless dialog lives in).
 * By the time Unload returns the plug-in has destroyed every window it made: right after it the host
 * unmaps the module, and a window left behind would have no code.
 * Files the plug-in opens for the user (a report) go to the desktop's opener (ShellExecuteW on
 * Windows, xdg-open on Linux); the scripted Windows host takes those calls over to print the paths. */
#ifndef ATMOCALC_HOST_FUNCTIONS_H
#define ATMOCALC_HOST_FUNCTIONS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef intptr_t HostResult;

/* Result of CallService when the host lacks the service. */
#define HOST_SERVICE_NOT_FOUND ((HostResult)(uintptr_t)0x80000000u)

/* Event handlers get a null argument; command handlers get the host window. Both return 0. */
typedef int (*HostHandler)(void* argument);

typedef struct HostFunctions {
    void* reserved[3];
    uint32_t (*Subscribe)(const char* eventName, HostHandler handler);
    void (*Unsubscribe)(uint32_t handle);
    uint32_t (*RegisterCommand)(const char* commandName, HostHandler handler);
    void (*UnregisterCommand)(uint32_t handle);
    HostResult (*CallService)(const char* serviceName, intptr_t firstArgument, void* secondArgument);
    int (*ServiceExists)(const char* serviceName);
} HostFunctions;

/* Argument of "MainMenu/CreateNewMenu": 16 bytes on a 32-bit build. */
typedef struct NewMenuInfo {
    uint32_t size;             /* sizeof(NewMenuInfo) */
    const char16_t* menuPath;  /* UTF-16, levels separated by "/" */
    uint32_t reserved;         /* 0 */
    const char* commandName;   /* the command run when the item is chosen */
} NewMenuInfo;

#ifdef __cplusplus
} /* extern "C" */

inline constexpr HostResult ServiceNotFound = HOST_SERVICE_NOT_FOUND;

static_assert(offsetof(HostFunctions, Subscribe) == 3 * sizeof(void*));
static_assert(offsetof(HostFunctions, Unsubscribe) == 4 * sizeof(void*));
static_assert(offsetof(HostFunctions, RegisterCommand) == 5 * sizeof(void*));
static_assert(offsetof(HostFunctions, UnregisterCommand) == 6 * sizeof(void*));
static_assert(offsetof(HostFunctions, CallService) == 7 * sizeof(void*));
static_assert(offsetof(HostFunctions, ServiceExists) == 8 * sizeof(void*));
static_assert(sizeof(HostFunctions) == 9 * sizeof(void*));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(NewMenuInfo) == 16);
#endif
#endif

#endif
