// The temporary folder and new, uniquely named temporary files in it.
#pragma once

#include <string>
#include <string_view>

// The temporary folder with a trailing separator: TMPDIR when it is set and not empty, else "/tmp/"; on
// Windows GetTempPathW's folder (empty when its name is longer than MAX_PATH).
std::u16string TempFolder();

// Creates a new empty file in folder named prefix + up to four hexadecimal digits + ".TMP"
// (for example "vlxA1B2.TMP"), exclusively, never through an existing name or link, readable only by
// its owner (on Windows GetTempFileNameW's file, with the folder's access rights); stores its full path
// in *path. Returns 0, or the system error number of the failure (EEXIST when every name is taken).
int CreateTempFile(std::u16string_view folder, std::u16string_view prefix, std::u16string* path);
