// Files opened by their UTF-16 path, in binary mode, and never inherited by a program this process
// starts. Only a regular file is opened for reading, and opening it never waits: a pipe or a device in
// a file's place is refused at once instead of blocking the caller.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The regular file at path, open for reading, with its size in *size when size is given; null when
// there is no regular file there, it cannot be opened, or path holds a NUL (which no file name holds:
// cutting the path there would name another file).
FileHandle OpenFileForReading(std::u16string_view path, uint64_t* size = nullptr);

// The file at path, created or emptied, open for writing; null when it cannot be, or path holds a NUL.
FileHandle OpenFileForWriting(std::u16string_view path);

// Creates or empties the file at path and writes the bytes to it; false when that fails.
bool WriteWholeFile(std::u16string_view path, std::string_view bytes);

// True when something is at path: a file, a folder, a link (even one to nothing).
bool PathExists(std::u16string_view path);

// Appends everything that is left on standard input to *bytes, read as bytes (never as text); false on a
// read error.
bool ReadStandardInput(std::string* bytes);

// Writes all bytes to standard output as they are. Returns 0, or the system error number of the failure.
int WriteStandardOutput(std::string_view bytes);
