// Writing whole files without ever following a link someone else put in the way.
#pragma once

#include <string_view>

// Creates path as a new file readable only by its owner and writes bytes into it. An existing file or
// link at path is left alone and the call fails with EEXIST. Returns 0, or the errno value of the
// failure; a file it created but could not fill is removed again.
int WriteNewFile(std::u16string_view path, std::string_view bytes);

// Writes bytes into a new file beside path (readable only by its owner) and renames it to path, so the
// old file is replaced only by a complete one, and a link at path is replaced rather than followed.
// Returns 0, or the errno value of the failure; the old file then stays as it was.
int ReplaceFile(std::u16string_view path, std::string_view bytes);
