#include "DlgTemplateEx.h"

#include "platform/ui/Styles.h"

#include <string>

namespace {

// Ordinals of the predefined window classes.
constexpr uint16_t kButtonClass = 0x0080;
constexpr uint16_t kEditClass = 0x0081;
constexpr uint16_t kStaticClass = 0x0082;
constexpr uint16_t kListBoxClass = 0x0083;
constexpr uint16_t kComboBoxClass = 0x0085;

constexpr uint32_t kDsSetFont = 0x0040;
constexpr uint32_t kDsFixedSys = 0x0008; // with DS_SETFONT: the shell's dialog font
constexpr uint32_t kDsControl = 0x0400;
constexpr uint32_t kWsExControlParent = 0x00010000;
constexpr uint32_t kBsIcon = 0x0040;
constexpr uint32_t kSsIcon = 0x0003;
constexpr uint16_t kNormalWeight = 400;
constexpr uint8_t kDefaultCharset = 1;

class Writer {
public:
    void Word(uint16_t value) { words.push_back(value); }
    void Dword(uint32_t value) {
        Word(static_cast<uint16_t>(value & 0xFFFF));
        Word(static_cast<uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<uint16_t>(static_cast<int16_t>(value))); }
    void Text(std::u16string_view text) {
        for (char16_t c : text)
            Word(c);
        Word(0);
    }
    void Ordinal(uint16_t value) {
        Word(0xFFFF);
        Word(value);
    }
    void AlignDword() {
        if (words.size() % 2)
            Word(0);
    }
    std::vector<uint32_t> Take() {
        AlignDword();
        std::vector<uint32_t> out(words.size() / 2);
        for (size_t i = 0; i < out.size(); ++i) // little-endian, as the system reads it
            out[i] = words[2 * i] | static_cast<uint32_t>(words[2 * i + 1]) << 16;
        return out;
    }

private:
    std::vector<uint16_t> words;
};

void WriteClass(Writer& w, ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::IconButton:
        return w.Ordinal(kButtonClass);
    case ControlKind::Edit:
        return w.Ordinal(kEditClass);
    case ControlKind::StaticText:
    case ControlKind::StaticIcon:
        return w.Ordinal(kStaticClass);
    case ControlKind::ListBox:
        return w.Ordinal(kListBoxClass);
    case ControlKind::DropDownCombo:
        return w.Ordinal(kComboBoxClass);
    case ControlKind::ListView:
        return w.Text(u"SysListView32");
    case ControlKind::TabControl:
        return w.Text(u"SysTabControl32");
    }
}

} // namespace

uint32_t ControlWindowStyle(const ControlTemplate& control) {
    uint32_t style = control.style | WS_CHILD | WS_VISIBLE;
    if (control.kind == ControlKind::IconButton)
        style |= kBsIcon;
    else if (control.kind == ControlKind::StaticIcon)
        style |= kSsIcon;
    return style;
}

std::vector<uint32_t> BuildDlgTemplateEx(const DialogTemplate& t) {
    const bool shellFont = t.fontName == u"MS Shell Dlg" || t.fontName == u"MS Shell Dlg 2";
    uint32_t style = t.style | kDsSetFont | (shellFont ? kDsFixedSys : 0);
    if (t.style & WS_CHILD)
        style |= kDsControl;
    Writer w;
    w.Word(1);      // dlgVer
    w.Word(0xFFFF); // signature: the extended template
    w.Dword(0);     // helpID
    w.Dword(t.style & WS_CHILD ? kWsExControlParent : 0);
    w.Dword(style);
    w.Word(static_cast<uint16_t>(t.controls.size()));
    w.Short(0); // x, y: the framework places the window
    w.Short(0);
    w.Short(t.cx);
    w.Short(t.cy);
    w.Word(0); // no menu
    w.Word(0); // the dialog class
    w.Text(t.title);
    w.Word(static_cast<uint16_t>(t.fontSize > 0 ? t.fontSize : 8));
    w.Word(kNormalWeight);
    w.Word(kDefaultCharset << 8); // not italic; the charset
    w.Text(shellFont ? u"MS Shell Dlg" : t.fontName);
    for (const ControlTemplate& c : t.controls) {
        w.AlignDword();
        w.Dword(0); // helpID
        w.Dword(0); // exStyle
        w.Dword(ControlWindowStyle(c));
        w.Short(c.x);
        w.Short(c.y);
        w.Short(c.cx);
        w.Short(c.cy);
        w.Dword(static_cast<uint32_t>(c.id));
        WriteClass(w, c.kind);
        w.Text(c.kind == ControlKind::StaticIcon ? u"" : c.text);
        w.Word(0); // no creation data
    }
    return w.Take();
}
