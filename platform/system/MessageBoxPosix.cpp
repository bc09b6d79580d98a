#include "MessageBox.h"

int ShowSystemMessageBox(const MessageBoxRequest& request) {
    return WriteMessageBoxToStderr(request);
}
