// What Ctrl+C in a list copies: the selected rows, or every row when none is selected, as
// tab-separated text under a heading line, ready to paste into a spreadsheet. The texts are made here
// from the lists' own calls, so every backend copies the same; a backend only binds the key and
// hands the text to SetClipboardText (Clipboard.h).
#pragma once

#include <string>
#include <vector>

// One line per row (the heading first, when it has cells), cells separated by tabs, every line ended
// by "\n". A tab or a line break inside a cell becomes a space, so that each cell stays in its column.
std::u16string TabSeparatedText(const std::vector<std::u16string>& heading,
                                const std::vector<std::vector<std::u16string>>& rows);
