// The scripted run's texts, the same for every host program: its steps and the picker's answer.
//
// Steps ("verb argument", separated by ";" or line breaks):
//   menu PATH     choose the menu item at the "/"-separated path (runs its command with the main window)
//   press NAME    click the button whose text (without its "&" mark) or tooltip is NAME
//   print TITLE   select the tab titled TITLE and print its page, or print the window titled TITLE
//   shot FILE     a picture of the host window with the windows over it (where the host can take one)
//   close [TITLE] close the window titled TITLE (or the plug-in window shown last)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ScriptStep {
    std::u16string verb;
    std::u16string argument;
};

// The steps of the text; false with `error` set for an unknown verb or a missing argument.
bool ParseScriptSteps(std::u16string_view text, std::vector<ScriptStep>& steps, std::u16string& error);

// The line a step is printed as when it starts: "> verb argument".
std::u16string StepLine(const ScriptStep& step);
// Why a run stopped at the step: "шаг "verb argument" не выполнен: error".
std::u16string StepFailure(const ScriptStep& step, std::u16string_view error);

// The demo: open the plug-in's main dialog from its menu item, add chromatograms (the picker answers
// as --pick says), print the results and the messages pages, make the report, close the dialog.
std::u16string DemoSteps();

// How a scripted run answers the chromatogram picker.
struct PickAnswer {
    enum Kind { All, Cancel, Ids };
    Kind kind = All;
    std::vector<uint32_t> ids; // for Ids, in the order given
};

// Reads "all", "cancel" or a comma-separated list of assay ids; false for anything else.
bool ParsePickAnswer(std::u16string_view text, PickAnswer& answer);

// The text without the white space around it.
std::u16string_view TrimmedText(std::u16string_view text);
// A control's text as a person reads it: without the "&" that marks the access key ("&&" is one "&").
std::u16string PlainText(std::u16string_view text);
