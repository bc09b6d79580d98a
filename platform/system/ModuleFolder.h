// Where the binary module (the program or the library) this code is linked into lies, and the names of
// the programs that lie beside it.
#pragma once

#include <string>
#include <string_view>

// The full path of the module's folder, without a trailing separator; empty when it cannot be told.
std::u16string ModuleFolder();

// The file name of the program called name: name itself, with ".exe" on Windows.
std::u16string ProgramFileName(std::u16string_view name);
