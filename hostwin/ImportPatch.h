// Calls that a loaded module makes to another library, taken over in that module alone: its import
// address table holds the address each imported function is called through.
#pragma once

#include <windows.h>

// Makes the module call `replacement` where it called `function` of `library` (matched without regard
// to case, as the loader matches library names); the address it called before, or null when the module
// imports no such function by name from that library (nothing is changed then).
void* PatchImport(HMODULE module, const char* library, const char* function, void* replacement);
