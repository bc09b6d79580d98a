// Internal to the framework's Windows backend: what its lists (CListCtrl, CListBox) and tips share.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// A tip over a whole control whose text the control works out for the place under the mouse (a
// row's own tip, a cut-off text shown whole). The system's tip watches the control's mouse itself;
// the control passes on its WM_MOUSEMOVE and the tip's WM_NOTIFY questions.
class TextTip {
public:
    // The text for a point of the control's client area; "" shows no tip there.
    using TextAt = std::function<std::u16string(POINT)>;

    TextTip() = default;
    ~TextTip();
    TextTip(const TextTip&) = delete;
    TextTip& operator=(const TextTip&) = delete;

    // Makes the tip for `control` (replacing one made before).
    void Create(HWND control);
    HWND Window() const { return tip; }
    // The mouse moved to `point`: a place with another text hides the tip, so that resting there
    // shows the new text.
    void MouseMoved(POINT point, const TextAt& textAt);
    // True when the notification is the tip's question for its text, which gets the text of the
    // place the mouse last moved to.
    bool Answer(NMHDR* hdr, const TextAt& textAt);

private:
    HWND tip = nullptr;
    POINT mouse{-1, -1};
    std::u16string under; // the text of the place under the mouse
    std::u16string shown; // the text handed to the tip, alive until it asks again
};

// A tip window of the system owned by `owner`'s window, with the TTS_* `style`; texts show as given
// (no "&" mnemonics), break at "\n" and wrap past 600 pixels. Null on failure.
HWND CreateTipWindow(HWND owner, unsigned style);

// The width in pixels of a text in the font the window draws with.
int TextWidth(HWND window, std::u16string_view text);

// A list's Ctrl+C: true for its key-down, which puts copyText() on the clipboard (and so keeps the
// key from the list and from the dialog), and for the character it makes, which no list should
// search its rows for; false for other messages.
bool CopyOnCtrlC(UINT message, WPARAM wParam, const std::function<std::u16string()>& copyText);
