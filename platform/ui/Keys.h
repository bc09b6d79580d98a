// Keys as the dialogs' handlers see them: virtual-key codes and modifier bits, with the values of
// the platform the dialogs were first written for.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
inline constexpr unsigned VK_RETURN = 0x0D; // Enter, on the main block and on the keypad
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_F2 = 0x71;
// Other keys have no code of their own here (0).

inline constexpr unsigned MOD_ALT = 0x0001;
inline constexpr unsigned MOD_CONTROL = 0x0002;
inline constexpr unsigned MOD_SHIFT = 0x0004;
#endif
