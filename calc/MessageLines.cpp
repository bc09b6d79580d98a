#include "MessageLines.h"

#include "platform/text/Format.h"

std::vector<std::u16string> MessageLines(const std::vector<std::u16string>& errors,
                                         const std::vector<std::u16string>& warnings,
                                         const std::vector<std::u16string>& infos) {
    std::vector<std::u16string> lines;
    int number = 0; // runs on across the groups
    const auto addGroup = [&](std::u16string_view heading, const std::vector<std::u16string>& messages) {
        if (messages.empty())
            return;
        lines.emplace_back(heading);
        for (const std::u16string& message : messages)
            lines.push_back(FormatText(u"    %d. %s", ++number, message));
    };
    addGroup(u"Ошибки:", errors);
    addGroup(u"Предупреждения:", warnings);
    addGroup(u"Информация:", infos);
    return lines;
}
