// The temporary folder and new, uniquely named temporary files in it.
#pragma once

#include <string>
#include <string_view>

// The temporary folder with a trailing "/": TMPDIR when it is set and not empty, else "/tmp/".
std::u16string TempFolder();

// Creates a new empty file in folder named prefix + up to four hexadecimal digits + ".TMP"
// (for example "vlxA1B2.TMP"), exclusively, never through an existing name or link, readable only by
// its owner; stores its full path in *path. Returns 0, or the errno value of the failure (EEXIST when
// every name is taken).
int CreateTempFile(std::u16string_view folder, std::u16string_view prefix, std::u16string* path);
