#include "ScriptSteps.h"

#include "platform/text/Format.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::u16string_view, 5> kVerbs{u"menu", u"press", u"print", u"shot", u"close"};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0xA0;
}

// The parts of the text between the separators, empty ones included.
std::vector<std::u16string_view> Split(std::u16string_view text, std::u16string_view separators) {
    std::vector<std::u16string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find_first_of(separators, start);
        parts.push_back(text.substr(start, end == text.npos ? text.npos : end - start));
        if (end == text.npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

std::u16string_view TrimmedText(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::u16string PlainText(std::u16string_view text) {
    std::u16string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && ++i == text.size())
            break;
        plain += text[i];
    }
    return plain;
}

bool ParseScriptSteps(std::u16string_view text, std::vector<ScriptStep>& steps, std::u16string& error) {
    steps.clear();
    for (std::u16string_view part : Split(text, u";\n")) {
        const std::u16string_view step = TrimmedText(part);
        if (step.empty())
            continue;
        const size_t blank = step.find(u' ');
        ScriptStep s{std::u16string(step.substr(0, blank)),
                     blank == step.npos ? std::u16string() : std::u16string(TrimmedText(step.substr(blank + 1)))};
        if (std::find(kVerbs.begin(), kVerbs.end(), s.verb) == kVerbs.end()) {
            std::u16string verbs;
            for (std::u16string_view verb : kVerbs)
                verbs += (verbs.empty() ? u"" : u", ") + std::u16string(verb);
            error = FormatText(u"Неизвестный шаг сценария \"%s\": ожидается %s.", step, verbs);
            return false;
        }
        if (s.argument.empty() && s.verb != u"close") {
            error = FormatText(u"Шагу сценария \"%s\" нужен аргумент.", s.verb);
            return false;
        }
        steps.push_back(std::move(s));
    }
    return true;
}

std::u16string StepLine(const ScriptStep& step) {
    return u"> " + step.verb + (step.argument.empty() ? u"" : u" " + step.argument);
}

std::u16string StepFailure(const ScriptStep& step, std::u16string_view error) {
    return FormatText(u"шаг \"%s\" не выполнен: %s", StepLine(step).substr(2), error);
}

std::u16string DemoSteps() {
    return u"menu Данные/Расчёты/Тамирель; press Добавить хроматограммы; print Расчет; "
           u"print Сообщения; press Создать отчёт (HTML); close";
}

bool ParsePickAnswer(std::u16string_view text, PickAnswer& answer) {
    const std::u16string_view t = TrimmedText(text);
    answer.ids.clear();
    if (t == u"all") {
        answer.kind = PickAnswer::All;
        return true;
    }
    if (t == u"cancel") {
        answer.kind = PickAnswer::Cancel;
        return true;
    }
    answer.kind = PickAnswer::Ids;
    for (std::u16string_view part : Split(t, u",")) {
        const std::u16string_view digits = TrimmedText(part);
        if (digits.empty())
            return false;
        uint64_t id = 0;
        for (char16_t c : digits) {
            if (c < u'0' || c > u'9')
                return false;
            id = id * 10 + (c - u'0');
            if (id > UINT32_MAX)
                return false;
        }
        answer.ids.push_back(static_cast<uint32_t>(id));
    }
    return true;
}
