#include "ScriptTexts.h"

#include "platform/text/Format.h"

namespace ScriptText {

std::u16string Heading(std::u16string_view title) {
    return u"== " + std::u16string(title);
}
std::u16string AnsweredBox(std::u16string_view caption, std::u16string_view text) {
    return FormatText(u"Сообщение [%s]: %s", caption, text);
}
std::u16string OpenedFile(std::u16string_view path) {
    return u"Открыт файл: " + std::u16string(path);
}
std::u16string ClosingWindow(std::u16string_view title) {
    return FormatText(u"Сценарий закрывает окно \"%s\"", title);
}
std::u16string LeftOpen(std::u16string_view title) {
    return FormatText(u"после сценария осталось открытым окно \"%s\"", title);
}
std::u16string Stopped(std::u16string_view failure) {
    return FormatText(u"Сценарий прерван: %s.", failure);
}
std::u16string BadPickOption(std::u16string_view text) {
    return FormatText(u"--pick: ожидается all, cancel или номера через запятую, а не \"%s\".", text);
}
std::u16string NoMenuItem(std::u16string_view path) {
    return FormatText(u"в меню нет пункта \"%s\"", path);
}
std::u16string MenuItemWithoutCommand(std::u16string_view path) {
    return FormatText(u"пункт меню \"%s\" недоступен: его команда не зарегистрирована", path);
}
std::u16string NoButton(std::u16string_view name) {
    return FormatText(u"кнопки \"%s\" нет в открытых окнах", name);
}
std::u16string ButtonDisabled(std::u16string_view name) {
    return FormatText(u"кнопка \"%s\" недоступна", name);
}
std::u16string NoTabOrWindow(std::u16string_view name) {
    return FormatText(u"нет ни вкладки, ни окна \"%s\"", name);
}
std::u16string WindowNotClosed(std::u16string_view title) {
    return FormatText(u"окно \"%s\" не закрылось", title);
}
std::u16string NoWindow(std::u16string_view title) {
    return title.empty() ? u"нет открытого окна модуля" : FormatText(u"нет окна \"%s\"", title);
}

} // namespace ScriptText
