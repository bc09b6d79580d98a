// What a scripted run prints and why a step fails, in the same words whatever host program runs it.
#pragma once

#include <string>
#include <string_view>

namespace ScriptText {

std::u16string Heading(std::u16string_view title);                  // "== title" before a page or window
std::u16string AnsweredBox(std::u16string_view caption, std::u16string_view text); // a box answered
std::u16string OpenedFile(std::u16string_view path);                // a file opened for the user
std::u16string ClosingWindow(std::u16string_view title);            // a modal window the runner closes
std::u16string LeftOpen(std::u16string_view title);                 // the failure of a run that left it
std::u16string Stopped(std::u16string_view failure);                // a run that did not finish
std::u16string BadPickOption(std::u16string_view text);             // --pick's text not understood

// Why a step failed.
std::u16string NoMenuItem(std::u16string_view path);
std::u16string MenuItemWithoutCommand(std::u16string_view path);
std::u16string NoButton(std::u16string_view name);
std::u16string ButtonDisabled(std::u16string_view name);
std::u16string NoTabOrWindow(std::u16string_view name);
std::u16string WindowNotClosed(std::u16string_view title);
std::u16string NoWindow(std::u16string_view title); // empty: no window of the plug-in is open

} // namespace ScriptText
