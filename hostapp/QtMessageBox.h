// The host's message boxes as Qt dialogs, for the interactive host (scripted runs and tests keep the
// standard-error writer or a recorder).
#pragma once

#include "platform/system/MessageBox.h"

class QWidget;

// Shows the request modally over its owner (a QWidget*), or over `fallbackOwner` when it has none;
// returns IDOK.
int ShowQtMessageBox(const MessageBoxRequest& request, QWidget* fallbackOwner);
