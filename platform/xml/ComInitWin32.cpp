#include "ComInit.h"

HRESULT CoInitialize() {
    return CoInitializeEx(COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(COINIT model) {
    return ::CoInitializeEx(nullptr, model);
}

HRESULT CoGetApartmentType(APTTYPE* type) {
    APTTYPE apartment = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    // Another thread's multithreaded apartment is not this thread's initialisation.
    if (FAILED(::CoGetApartmentType(&apartment, &qualifier)) || qualifier == APTTYPEQUALIFIER_IMPLICIT_MTA)
        return CO_E_NOTINITIALIZED;
    // The neutral apartment is entered from a thread of either model; what its calls need is the MTA's.
    *type = apartment == APTTYPE_STA || apartment == APTTYPE_MAINSTA ? APTTYPE_STA : APTTYPE_MTA;
    return S_OK;
}
