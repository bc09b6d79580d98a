#include "DialogTestSupport.h"

#include "platform/text/CodePage1251.h"
#include "platform/text/Format.h"

#include <QTableWidget>
#include <QTest>

#include <algorithm>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

DialogTest::DialogTest() {
    if (const char* value = std::getenv("PUBLIC"))
        previousPublic = value;
    std::string pattern = (fs::temp_directory_path() / "atmocalc-dialogs-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        root = pattern;
    ::setenv("PUBLIC", root.c_str(), 1);

    host.OfferProfile();
    hostTable = host.Table();
    profileSection = u"plugins\\atmocalc";
    SettingsRecord::Instance().Load();
    ComponentTable& table = ComponentTable::Instance();
    table.records.clear();
    table.loaded = false;
    table.lastError.clear();
}

DialogTest::~DialogTest() {
    hostTable = nullptr;
    profileSection.clear();
    ComponentTable& table = ComponentTable::Instance();
    table.records.clear();
    table.loaded = false;
    if (previousPublic)
        ::setenv("PUBLIC", previousPublic->c_str(), 1);
    else
        ::unsetenv("PUBLIC");
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

fs::path DialogTest::ComponentFile() const {
    return root / "Documents" / "Veltra4" / "atmocalc" / "files" / "CompsTable.csv";
}

void DialogTest::WriteComponentTable(const std::vector<std::pair<std::u16string, double>>& rows) {
    std::u16string text = u"ID;Name;AltName;K;group\r\n";
    int id = 1;
    for (const auto& [name, k] : rows) {
        std::u16string number = FormatText(u"%.6f", k);
        std::replace(number.begin(), number.end(), u'.', u',');
        text += FormatText(u"%d;%s;;%s;0\r\n", id++, name, number);
    }
    fs::create_directories(ComponentFile().parent_path());
    std::ofstream out(ComponentFile(), std::ios::binary);
    const std::string bytes = Utf16ToCodePage1251(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string DialogTest::ComponentFileBytes() const {
    std::ifstream in(ComponentFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CDialogEx* ActiveModalDialog() {
    return dynamic_cast<CDialogEx*>(CWnd::FromHandle(QApplication::activeModalWidget()));
}

void WhenModalOpens(std::function<void(CDialogEx&)> act) {
    QTimer::singleShot(0, [act] {
        CDialogEx* dialog = ActiveModalDialog();
        ASSERT_NE(dialog, nullptr) << "no modal dialog opened";
        act(*dialog);
    });
}

void ExpectColumns(const CListCtrl& list, const CDialogEx& dialog, const std::vector<ColumnPin>& columns) {
    auto* table = qobject_cast<QTableWidget*>(list.GetSafeHwnd());
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(list.GetColumnCount(), static_cast<int>(columns.size()));
    const PixelScale scale = FontPixelScale(dialog.GetBaseUnits());
    for (int i = 0; i < list.GetColumnCount(); ++i) {
        const ColumnPin& pin = columns[static_cast<size_t>(i)];
        EXPECT_EQ(table->horizontalHeaderItem(i)->text().toStdU16String(), pin.heading) << "column " << i;
        EXPECT_EQ(list.GetColumnFormat(i), pin.format) << "column " << i;
        EXPECT_EQ(list.GetColumnWidth(i), ScalePixels(pin.width, scale.x)) << "column " << i;
    }
}

void ClickButton(CDialogEx& dialog, int id) {
    CWnd* button = dialog.GetDlgItem(id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    QTest::mouseClick(button->GetSafeHwnd(), Qt::LeftButton);
}

void TypeText(CDialogEx& dialog, int id, std::u16string_view text) {
    CWnd* control = dialog.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    auto* edit = qobject_cast<QLineEdit*>(control->GetSafeHwnd());
    ASSERT_NE(edit, nullptr) << "control " << id << " is no edit";
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, Q(text));
}
