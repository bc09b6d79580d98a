// What the report and its helper program atmocalc-report say to each other (module-internal; the helper,
// which is built apart from this module, includes it too).
//
// The report writes to the helper's standard input the report document, then the template, each as a
// count of UTF-16 units followed by the units. The helper answers on its standard output with a
// HelperStep and a result code; after HelperStep::Done follow the result's text (a count of UTF-16 units
// and the units) and the bytes of its file (a count of bytes and the bytes). Counts are 64 bits, steps
// and codes 32 bits, all in this machine's byte order. The helper exits with 0 after a whole answer; with
// kHelperOutOfMemory, and no answer, when memory ran out; with kHelperBadInput when its input was cut.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

enum class HelperStep : int32_t {
    Done,
    SourceNotParsed,     // the report document is not well-formed
    StylesheetNotParsed, // the template's text is not accepted
    Failed,              // a document call failed with the code (the transformation, as a rule)
    ResultNotRead,       // the result's text could not be made
};

// The environment variable that gives the helper the process id of the process that started it: the
// helper ends at once when its parent is another one by the time it has asked to die with its parent.
inline constexpr const char* kHelperParentVariable = "ATMOCALC_REPORT_PARENT";

inline constexpr int kHelperBadInput = 2;
inline constexpr int kHelperOutOfMemory = 3;

// Appends a number, or a count and what it counts, to a message.
inline void AppendNumber(std::string& message, int32_t value) {
    message.append(reinterpret_cast<const char*>(&value), sizeof value);
}
inline void AppendText(std::string& message, std::u16string_view text) {
    const uint64_t count = text.size();
    message.append(reinterpret_cast<const char*>(&count), sizeof count);
    message.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}
inline void AppendBytes(std::string& message, std::string_view bytes) {
    const uint64_t count = bytes.size();
    message.append(reinterpret_cast<const char*>(&count), sizeof count);
    message.append(bytes);
}

// Reads the parts of a message in the order they were appended; each read is false when the message
// ends before the part does.
class MessageReader {
public:
    explicit MessageReader(std::string_view message) : left(message) {}

    bool Number(int32_t* value) { return Take(value, sizeof *value); }
    bool Text(std::u16string* text) {
        uint64_t count = 0;
        if (!Take(&count, sizeof count) || count > left.size() / sizeof(char16_t))
            return false;
        text->resize(count);
        return Take(text->data(), count * sizeof(char16_t));
    }
    bool Bytes(std::string* bytes) {
        uint64_t count = 0;
        if (!Take(&count, sizeof count) || count > left.size())
            return false;
        bytes->assign(left.substr(0, count));
        left.remove_prefix(count);
        return true;
    }
    bool AtEnd() const { return left.empty(); }

private:
    bool Take(void* to, size_t size) {
        if (left.size() < size)
            return false;
        std::memcpy(to, left.data(), size);
        left.remove_prefix(size);
        return true;
    }

    std::string_view left;
};
