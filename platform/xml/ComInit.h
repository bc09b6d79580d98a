// Per-thread initialisation of the component model, with the rules the report stages rely on: a thread
// is initialised in one model and counts its successful initialisations; each success is balanced by
// one CoUninitialize.
#pragma once

#include "platform/system/HResult.h"

#ifdef _WIN32
// The system's component model: its COINIT, APTTYPE and CoUninitialize, and the functions below as
// one-argument forms of its own.
#include <objbase.h>
#else
enum COINIT : unsigned {
    COINIT_MULTITHREADED = 0x0,
    COINIT_APARTMENTTHREADED = 0x2,
};

enum APTTYPE : int {
    APTTYPE_STA = 0,
    APTTYPE_MTA = 1,
};
#endif

// Initialises this thread in the single-threaded model: CoInitializeEx(COINIT_APARTMENTTHREADED).
HRESULT CoInitialize();
// S_OK for the first initialisation of this thread, S_FALSE when it already is initialised in the same
// model (counted either way); RPC_E_CHANGED_MODE when it is initialised in the other model, which
// leaves its state untouched.
HRESULT CoInitializeEx(COINIT model);
#ifndef _WIN32
// Takes back one successful initialisation of this thread; the last one leaves it uninitialised.
// Does nothing on a thread that is not initialised.
void CoUninitialize();
#endif
// S_OK with this thread's model in *type; CO_E_NOTINITIALIZED when the thread is not initialised.
HRESULT CoGetApartmentType(APTTYPE* type);
