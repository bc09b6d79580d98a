// Code page 1251 as an encoding of the XML library where it has no converter of its own (a build
// without iconv, as on Windows), so that documents and results in "windows-1251" read and write the same
// on every system (module-internal).
#pragma once

// Registers the converter once, unless the library already has one; safe to call from any thread.
void EnsureCodePageEncodings();
