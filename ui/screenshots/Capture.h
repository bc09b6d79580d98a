// What both screenshot programs need, on the system's desktop (Qt's on Linux, the real windows on
// Windows): letting windows settle, and saving a window's picture.
#pragma once

#include "platform/ui/Handles.h"

#include <filesystem>

// Lets the windows lay out and paint.
void Settle();
// Saves the window's picture to the PNG file after it settled; prints what it wrote. True when saved.
bool Save(HWND window, const std::filesystem::path& path);
