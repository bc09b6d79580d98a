#include "ComInit.h"

// The system's functions, declared here rather than through <objbase.h>, whose types and one function
// (CoUninitialize) have the names this layer's own declarations have.
namespace ole32 {
extern "C" {
__declspec(dllimport) long __stdcall CoInitializeEx(void* reserved, unsigned long model);
__declspec(dllimport) void __stdcall CoUninitialize();
__declspec(dllimport) long __stdcall CoGetApartmentType(int* type, int* qualifier);
}
constexpr int kMainSta = 3;     // APTTYPE_MAINSTA: the first single-threaded apartment of the process
constexpr int kImplicitMta = 1; // APTTYPEQUALIFIER_IMPLICIT_MTA: another thread's MTA, not this thread's
} // namespace ole32

HRESULT CoInitialize() {
    return CoInitializeEx(COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(COINIT model) {
    return ole32::CoInitializeEx(nullptr, model);
}

void CoUninitialize() {
    ole32::CoUninitialize();
}

HRESULT CoGetApartmentType(APTTYPE* type) {
    int apartment = 0;
    int qualifier = 0;
    const HRESULT hr = ole32::CoGetApartmentType(&apartment, &qualifier);
    if (FAILED(hr) || qualifier == ole32::kImplicitMta)
        return CO_E_NOTINITIALIZED;
    // The neutral apartment is entered from a thread of either model; what its calls need is the MTA's.
    *type = apartment == APTTYPE_STA || apartment == ole32::kMainSta ? APTTYPE_STA : APTTYPE_MTA;
    return S_OK;
}
