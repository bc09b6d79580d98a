// A temporary folder for the files a test makes, removed with everything in it when the test ends.
#pragma once

#include "support/ScratchFolder.h"

#include <filesystem>
#include <string>

class TempFolder {
public:
    // The UTF-16 path of a file in the folder.
    std::u16string File(const char* name) const { return (path / name).u16string(); }

private:
    ScratchFolder scratch;

public:
    const std::filesystem::path path = ScratchFolder::Native(scratch.Path());
};
