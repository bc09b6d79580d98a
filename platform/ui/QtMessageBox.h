// The Qt side of the system's message boxes (platform/system/MessageBox.h): a QMessageBox with the
// box's caption, text, icon (error or exclamation) and an OK button, owned by the request's window.
#pragma once

#include "platform/system/MessageBox.h"

#include <QMessageBox>

#include <memory>

// Installs the Qt handler when this process has a QApplication and no other handler is installed
// (a test's recorder stays); returns whether the Qt handler is in place. A box requested while the
// process has no display (the offscreen and minimal platforms) is written to standard error.
bool InstallQtMessageBoxHandler();

// The box for a request, not yet shown.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request);
