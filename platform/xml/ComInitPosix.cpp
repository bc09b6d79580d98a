#include "ComInit.h"

namespace {

struct ThreadState {
    COINIT model = COINIT_MULTITHREADED;
    unsigned count = 0; // successful initialisations not yet taken back
};

thread_local ThreadState state;

} // namespace

HRESULT CoInitialize() {
    return CoInitializeEx(COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(COINIT model) {
    if (state.count == 0) {
        state.model = model;
        state.count = 1;
        return S_OK;
    }
    if (state.model != model)
        return RPC_E_CHANGED_MODE;
    ++state.count;
    return S_FALSE;
}

void CoUninitialize() {
    if (state.count > 0)
        --state.count;
}

HRESULT CoGetApartmentType(APTTYPE* type) {
    if (state.count == 0)
        return CO_E_NOTINITIALIZED;
    *type = state.model == COINIT_APARTMENTTHREADED ? APTTYPE_STA : APTTYPE_MTA;
    return S_OK;
}
