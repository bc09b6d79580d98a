// What Ctrl+C in a list copies: the selected rows, or every row when none is selected, as
// tab-separated text under a heading line, ready to paste into a spreadsheet. The texts are made here
// from the lists' own calls, so every backend copies the same; a backend only binds the key and
// hands the text to SetClipboardText (Clipboard.h).
#include "ListBox.h"
#include "ListCtrl.h"

#include <numeric>

namespace {

void AppendLine(std::u16string& text, const std::vector<std::u16string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text += u'\t';
        for (const char16_t c : cells[i])
            text += c == u'\t' || c == u'\r' || c == u'\n' ? u' ' : c;
    }
    text += u'\n';
}

// The selected indexes, or all `count` of them when none is selected.
std::vector<int> RowsToCopy(std::vector<int> selected, int count) {
    if (selected.empty()) {
        selected.resize(count);
        std::iota(selected.begin(), selected.end(), 0);
    }
    return selected;
}

// One line per row (the heading first, when it has cells), cells separated by tabs, every line ended
// by "\n". A tab or a line break inside a cell becomes a space, so that each cell stays in its column.
std::u16string TabSeparatedText(const std::vector<std::u16string>& heading,
                                const std::vector<std::vector<std::u16string>>& rows) {
    std::u16string text;
    if (!heading.empty())
        AppendLine(text, heading);
    for (const auto& row : rows)
        AppendLine(text, row);
    return text;
}

} // namespace

std::u16string CListCtrl::CopyText() const {
    // A column of width 0 is hidden from the user, so it is left out of the copy too.
    std::vector<int> columns;
    std::vector<std::u16string> heading;
    const CHeaderCtrl header = GetHeaderCtrl();
    for (int column = 0; column < GetColumnCount(); ++column) {
        if (GetColumnWidth(column) > 0) {
            columns.push_back(column);
            heading.push_back(header.GetItemText(column));
        }
    }
    std::vector<std::vector<std::u16string>> rows;
    for (const int row : RowsToCopy(GetSelectedRows(), GetItemCount())) {
        auto& cells = rows.emplace_back();
        for (const int column : columns)
            cells.push_back(GetItemText(row, column));
    }
    return TabSeparatedText(heading, rows);
}

std::u16string CListBox::CopyText() const {
    std::vector<std::vector<std::u16string>> rows;
    for (const int index : RowsToCopy(GetSelItems(), GetCount()))
        rows.push_back({GetText(index)});
    return TabSeparatedText(heading.empty() ? std::vector<std::u16string>{} : std::vector{heading}, rows);
}
