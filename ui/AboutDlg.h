// CAboutDlg: the small modal box (template 103, "О плагине") naming the plug-in, the measurement
// method it follows, its version and its makers. Its result is not used.
#pragma once

#include "platform/ui/DialogEx.h"

class CAboutDlg : public CDialogEx {
public:
    explicit CAboutDlg(HWND parent = nullptr);

protected:
    bool OnInitDialog() override;
};
