// Records the message boxes shown while it lives, instead of showing them.
#pragma once

#include "platform/system/MessageBox.h"

#include <vector>

class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        previous = SetMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return IDOK;
        });
    }
    ~MessageBoxRecorder() { SetMessageBoxHandler(std::move(previous)); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const auto& b : boxes)
            texts.push_back(b.text);
        return texts;
    }

    std::vector<MessageBoxRequest> boxes;

private:
    MessageBoxHandler previous;
};
