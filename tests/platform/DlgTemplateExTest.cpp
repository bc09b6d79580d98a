#include "platform/ui/DlgTemplateEx.h"
#include "platform/ui/Styles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Reads a DLGTEMPLATEEX back as the system does.
class Reader {
public:
    explicit Reader(const std::vector<uint32_t>& dwords) {
        for (uint32_t d : dwords) {
            words.push_back(static_cast<uint16_t>(d & 0xFFFF));
            words.push_back(static_cast<uint16_t>(d >> 16));
        }
    }
    uint16_t Word() { return words.at(at++); }
    uint32_t Dword() {
        const uint32_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    int Short() { return static_cast<int16_t>(Word()); }
    std::u16string Text() {
        std::u16string text;
        for (uint16_t c = Word(); c != 0; c = Word())
            text.push_back(static_cast<char16_t>(c));
        return text;
    }
    // An ordinal as "#" and the ordinal's one character, else the text.
    std::u16string TextOrOrdinal() {
        if (words.at(at) != 0xFFFF)
            return Text();
        ++at;
        return u"#" + std::u16string(1, static_cast<char16_t>(Word()));
    }
    size_t Offset() const { return at * 2; }
    void AlignDword() { at += at % 2; }
    size_t Size() const { return words.size() * 2; }

private:
    std::vector<uint16_t> words;
    size_t at = 0;
};

struct Item {
    uint32_t style;
    int x, y, cx, cy;
    uint32_t id;
    std::u16string windowClass;
    std::u16string title;
};

// clang-format off
const DialogTemplate kSample{120, u"Пример", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 281, 140, u"MS Shell Dlg", 8, {
    {IDC_STATIC, ControlKind::StaticText, u"Давление, мм рт. ст.", SS_LEFT, 7, 9, 120, 8},
    {1005, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 130, 25, 144, 14},
    {1002, ControlKind::ListView, u"", LVS_REPORT | WS_BORDER, 7, 45, 267, 70, {0, 0, 100, 100}},
    {1003, ControlKind::IconButton, u"+", WS_TABSTOP, 7, 120, 16, 14},
    {1001, ControlKind::StaticIcon, u"ignored", 0, 16, 12, 20, 20},
    {1004, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 130, 7, 144, 60},
    {1006, ControlKind::ListBox, u"", LBS_NOTIFY | WS_VSCROLL, 7, 7, 50, 30},
    {1007, ControlKind::TabControl, u"", WS_TABSTOP, 7, 80, 100, 50},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 170, 119, 50, 14},
}};
// clang-format on

} // namespace

TEST(DlgTemplateEx, HeaderCarriesStyleSizeTitleAndTheShellFont) {
    Reader r(BuildDlgTemplateEx(kSample));
    EXPECT_EQ(r.Word(), 1);      // version
    EXPECT_EQ(r.Word(), 0xFFFF); // extended
    EXPECT_EQ(r.Dword(), 0u);    // help id
    EXPECT_EQ(r.Dword(), 0u);    // extended style
    EXPECT_EQ(r.Dword(), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | 0x0048u); // DS_SHELLFONT
    EXPECT_EQ(r.Word(), kSample.controls.size());
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 281);
    EXPECT_EQ(r.Short(), 140);
    EXPECT_EQ(r.Word(), 0); // menu
    EXPECT_EQ(r.Word(), 0); // class
    EXPECT_EQ(r.Text(), u"Пример");
    EXPECT_EQ(r.Word(), 8);      // points
    EXPECT_EQ(r.Word(), 400);    // weight
    EXPECT_EQ(r.Word(), 0x0100); // not italic, default charset
    EXPECT_EQ(r.Text(), u"MS Shell Dlg");
}

TEST(DlgTemplateEx, EachControlIsItsSystemClassAtADwordBoundaryWithItsIdStyleRectangleAndText) {
    Reader r(BuildDlgTemplateEx(kSample));
    r.Dword(), r.Dword(), r.Dword(), r.Dword(), r.Word(), r.Short(), r.Short(), r.Short(), r.Short(), r.Word(),
        r.Word(), r.Text(), r.Word(), r.Word(), r.Word(), r.Text();
    std::vector<Item> items;
    for (size_t i = 0; i < kSample.controls.size(); ++i) {
        r.AlignDword();
        EXPECT_EQ(r.Offset() % 4, 0u);
        EXPECT_EQ(r.Dword(), 0u); // help id
        EXPECT_EQ(r.Dword(), 0u); // extended style
        Item item;
        item.style = r.Dword();
        item.x = r.Short(), item.y = r.Short(), item.cx = r.Short(), item.cy = r.Short();
        item.id = r.Dword();
        item.windowClass = r.TextOrOrdinal();
        item.title = r.Text();
        EXPECT_EQ(r.Word(), 0); // no creation data
        items.push_back(item);
    }
    EXPECT_EQ(r.Size() - r.Offset(), r.Offset() % 4); // nothing after the last control but padding

    constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
    const std::vector<Item> expected = {
        {kChild | SS_LEFT, 7, 9, 120, 8, 0xFFFFFFFF, u"#\u0082", u"Давление, мм рт. ст."},
        {kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 130, 25, 144, 14, 1005, u"#\u0081", u""},
        {kChild | LVS_REPORT | WS_BORDER, 7, 45, 267, 70, 1002, u"SysListView32", u""},
        {kChild | WS_TABSTOP | 0x40 /* BS_ICON */, 7, 120, 16, 14, 1003, u"#\u0080", u"+"},
        {kChild | 0x03 /* SS_ICON */, 16, 12, 20, 20, 1001, u"#\u0082", u""},
        {kChild | CBS_DROPDOWNLIST | WS_TABSTOP, 130, 7, 144, 60, 1004, u"#\u0085", u""},
        {kChild | LBS_NOTIFY | WS_VSCROLL, 7, 7, 50, 30, 1006, u"#\u0083", u""},
        {kChild | WS_TABSTOP, 7, 80, 100, 50, 1007, u"SysTabControl32", u""},
        {kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 170, 119, 50, 14, IDOK, u"#\u0080", u"OK"},
    };
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].style, expected[i].style);
        EXPECT_EQ(items[i].x, expected[i].x);
        EXPECT_EQ(items[i].y, expected[i].y);
        EXPECT_EQ(items[i].cx, expected[i].cx);
        EXPECT_EQ(items[i].cy, expected[i].cy);
        EXPECT_EQ(items[i].id, expected[i].id);
        EXPECT_EQ(items[i].windowClass, expected[i].windowClass);
        EXPECT_EQ(items[i].title, expected[i].title);
    }
}

TEST(DlgTemplateEx, APageIsAControlParentAndAnotherFaceIsKept) {
    const DialogTemplate page{107, u"", WS_CHILD, 216, 108, u"Tahoma", 9, {}};
    Reader r(BuildDlgTemplateEx(page));
    r.Word(), r.Word(), r.Dword();
    EXPECT_EQ(r.Dword(), 0x00010000u);                   // WS_EX_CONTROLPARENT
    EXPECT_EQ(r.Dword(), WS_CHILD | 0x0040u | 0x0400u); // DS_SETFONT | DS_CONTROL
    EXPECT_EQ(r.Word(), 0);
    r.Short(), r.Short(), r.Short(), r.Short(), r.Word(), r.Word();
    EXPECT_EQ(r.Text(), u"");
    EXPECT_EQ(r.Word(), 9);
    r.Word(), r.Word();
    EXPECT_EQ(r.Text(), u"Tahoma");
}
