#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

bool SetClipboardText(std::u16string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(QString::fromStdU16String(std::u16string(text)));
    return true;
}
