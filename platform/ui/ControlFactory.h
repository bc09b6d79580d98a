// Internal to the framework: the widget of each control kind, and the framework's own object for it.
#pragma once

#include "platform/ui/DialogTemplate.h"

#include <memory>

class CWnd;

#ifndef _WIN32 // on Windows the dialog manager makes the controls from the template
class QWidget;

// The control's widget inside `parent`, with its id and styles applied; its geometry is left to
// the caller.
QWidget* CreateControlWidget(const ControlTemplate& control, QWidget* parent);
#endif

// The object class that stands for a control of that kind (CButton, CListCtrl, ...).
std::unique_ptr<CWnd> MakeControlObject(ControlKind kind);
