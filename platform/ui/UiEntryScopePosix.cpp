#include "UiEntryScope.h"

// Qt's widgets have no versions to choose between.
UiEntryScope::UiEntryScope() = default;

UiEntryScope::~UiEntryScope() = default;
