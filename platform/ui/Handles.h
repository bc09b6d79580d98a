// The handles by which the dialogs name windows and icons: the system's own on Windows, the Qt
// objects behind them on Linux. Code outside the framework only passes them on.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
class QIcon;
class QWidget;
using HWND = QWidget*;
using HICON = const QIcon*;
#endif
