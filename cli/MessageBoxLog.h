// While it lives, every message box the plug-in's code shows is written to standard error (as any run
// without a display does) and kept, in order, for the JSON output.
#pragma once

#include "platform/system/MessageBox.h"

#include <string>
#include <vector>

class MessageBoxLog {
public:
    MessageBoxLog() {
        previous = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            texts.push_back(request.text);
            return WriteMessageBoxToStderr(request);
        });
    }
    ~MessageBoxLog() { SetMessageBoxHandler(std::move(previous)); }
    MessageBoxLog(const MessageBoxLog&) = delete;
    MessageBoxLog& operator=(const MessageBoxLog&) = delete;

    std::vector<std::u16string> texts;

private:
    MessageBoxHandler previous;
};
