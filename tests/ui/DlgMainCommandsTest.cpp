// The main dialog's commands on the measurement set: adding through the host's picker, removing,
// opening in the host, reloading, and a database that fails in the middle of a batch.
#include "MainDialogTestSupport.h"

#include "../cli/ToolRunner.h"
#include "calc/CalcResult.h"
#include "components/ComponentTable.h"
#include "host/SettingsRecord.h"
#include "platform/text/Utf.h"
#include "report/Report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>

#include <pugixml.hpp>

namespace {

class MainDialogCommands : public MainDialogTest {
protected:
    MainDialogCommands() {
        paths.push_back(AddAssay(1, u"Градуировка №1", CalibrationPeaks(5000), true, u"ПГС-1", 1700000000));
        paths.push_back(AddAssay(2, u"Проба без патрона №2", SamplePeaks(200, 30)));
        paths.push_back(AddAssay(3, u"Проба с патроном", SamplePeaks(190, 28)));
        paths.push_back(AddAssay(4, u"воздух", SamplePeaks(10, 1), true));
    }
    void Select(std::initializer_list<int> rows) {
        dialog->chromatograms.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            dialog->chromatograms.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool NothingSelectedOrFocused() const {
        return dialog->chromatograms.GetSelectedCount() == 0 &&
               dialog->chromatograms.GetNextItem(-1, LVNI_FOCUSED) == -1;
    }
    bool LastRowVisible() const {
        const int last = dialog->chromatograms.GetItemCount() - 1;
        CRect cell;
        dialog->chromatograms.GetSubItemRect(last, 0, cell);
        return cell.top < dialog->chromatograms.GetViewport()->height() && cell.bottom > 0;
    }

    std::vector<std::u16string> paths;
};

} // namespace

TEST_F(MainDialogCommands, AddingShowsOneRowPerChromatogramWithItsTexts) {
    ASSERT_TRUE(Open());
    Pick({1, 4});
    ASSERT_EQ(dialog->chromatograms.GetItemCount(), 2);
    EXPECT_EQ(dialog->measurements.size(), 2u);
    // The rows follow the picker's order; each carries its assay id.
    EXPECT_EQ(RowValues(), (std::vector<int32_t>{1, 4}));
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"1", u"2"}));
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"1.stg", u"4.stg"}));
    EXPECT_EQ(Column(2), (std::vector<std::u16string>{u"Градуировка №1", u"воздух"}));
    EXPECT_EQ(Column(3)[0], FormatDateTime(1700000000));
    EXPECT_EQ(Column(4), (std::vector<std::u16string>{u"градуировочная", u"не определено"}));
    EXPECT_EQ(Column(5), (std::vector<std::u16string>{u"Градуировка", u"Градуировка"}));
    EXPECT_EQ(Column(6), (std::vector<std::u16string>{u"ПГС-1", u""}));
    const GridRowData* data = dialog->chromatograms.GetRowData(0);
    EXPECT_EQ(data->textColor, CLR_DEFAULT);
    EXPECT_EQ(data->backColor, CLR_DEFAULT);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainDialogCommands, TheSameChromatogramPickedTwiceGivesOneRow) {
    ASSERT_TRUE(Open());
    Pick({2, 2});
    Pick({2, 3});
    EXPECT_EQ(RowValues(), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(pickerCalls, 2);
}

TEST_F(MainDialogCommands, AfterAddingTheLastRowIsVisibleAndNothingIsSelected) {
    for (uint32_t id = 10; id < 60; ++id)
        AddAssay(id, u"Проба без патрона", SamplePeaks(100, 10));
    ASSERT_TRUE(Open());
    std::vector<uint32_t> ids;
    for (uint32_t id = 10; id < 60; ++id)
        ids.push_back(id);
    Pick(ids);
    ASSERT_EQ(dialog->chromatograms.GetItemCount(), 50);
    EXPECT_TRUE(LastRowVisible());
    EXPECT_TRUE(NothingSelectedOrFocused());
    EXPECT_GT(dialog->chromatograms.GetTopIndex(), 0);
}

TEST_F(MainDialogCommands, AddingRecalculates) {
    ASSERT_TRUE(Open());
    Pick({4});
    ASSERT_FALSE(dialog->messagesTab.warnings.empty());
    EXPECT_EQ(
        dialog->messagesTab.warnings.front(),
        u"Проба \"воздух\": тип не определён — измерение не будет использовано в расчёте. Укажите в имени "
        u"пробы: \"с патроном\", \"без патрона\" или \"градуировка\".");
}

TEST_F(MainDialogCommands, PickerResultsZeroAndNotFoundEndTheCommandWithoutARun) {
    ASSERT_TRUE(Open());
    MarkMessages();
    Pick({1}, 0);
    Pick({1}, ServiceNotFound);
    Pick({1}, -3);
    EXPECT_EQ(dialog->chromatograms.GetItemCount(), 0);
    EXPECT_TRUE(MarkerKept());
    host.Withhold("Main/OpenAssayIdDlg");
    Press(1003);
    EXPECT_EQ(dialog->chromatograms.GetItemCount(), 0);
    EXPECT_TRUE(MarkerKept());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainDialogCommands, APickerAnsweringMoreThanItsCapacityIsReadUpTo256Ids) {
    AddAssay(256, u"Проба без патрона", SamplePeaks(100, 10));
    AddAssay(257, u"Проба без патрона", SamplePeaks(100, 10));
    ASSERT_TRUE(Open());
    std::vector<uint32_t> ids(300, 999);
    ids[0] = 1;
    ids[255] = 256;
    ids[256] = 257; // beyond the capacity: never written, never read
    Pick(ids, 300);
    EXPECT_EQ(RowValues(), (std::vector<int32_t>{1, 256}));
}

TEST_F(MainDialogCommands, APressWhileThePickerIsOpenDoesNothing) {
    ASSERT_TRUE(Open());
    duringPicker = [this] {
        EXPECT_TRUE(dialog->pickerOpen);
        duringPicker = nullptr;
        Press(1003);
    };
    Pick({1});
    EXPECT_EQ(pickerCalls, 1);
    EXPECT_FALSE(dialog->pickerOpen);
    EXPECT_EQ(RowValues(), std::vector<int32_t>{1});
}

TEST_F(MainDialogCommands, ADatabaseErrorMidBatchKeepsTheEarlierRowsAndShowsOneBox) {
    ASSERT_TRUE(Open());
    MakeLookupFail(3);
    MarkMessages();
    // What the messages page says while the box is up.
    std::vector<std::u16string> linesUnderTheBox;
    const MessageBoxHandler recorder = SetMessageBoxHandler([&](const MessageBoxRequest& request) {
        linesUnderTheBox = MessageLines();
        boxes.boxes.push_back(request);
        return IDOK;
    });
    Pick({1, 2, 3, 4});
    SetMessageBoxHandler(recorder);
    EXPECT_EQ(RowValues(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(dialog->measurements.size(), 2u);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, u"atmocalc");
    EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(boxes.boxes[0].owner, dialog->GetSafeHwnd());
    // The database layer's text for the failure sits between the lead line and what was kept.
    const std::u16string& text = boxes.boxes[0].text;
    const std::u16string lead = u"Не удалось прочитать базу данных хроматограмм:\n";
    const std::u16string kept =
        u"\nВ списке остались хроматограммы, прочитанные до ошибки; расчёт выполнен по ним.";
    ASSERT_GT(text.size(), lead.size() + kept.size());
    EXPECT_EQ(text.substr(0, lead.size()), lead);
    EXPECT_EQ(text.substr(text.size() - kept.size()), kept);
    // The pages describe the two rows, already when the box is shown.
    EXPECT_FALSE(MarkerKept());
    EXPECT_EQ(linesUnderTheBox, MessageLines());
    const auto& warnings = dialog->messagesTab.warnings;
    EXPECT_NE(std::find(warnings.begin(), warnings.end(),
                        u"Только одна хроматограмма \"без патрона\" — усреднение по одному измерению "
                        u"(рекомендуется не менее 2)."),
              warnings.end());
    // The connection was closed: the file can be changed at once.
    ExecuteSql("DROP VIEW assay; ALTER TABLE assay_rows RENAME TO assay;");
    Pick({3});
    EXPECT_EQ(RowValues(), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(MainDialogCommands, AnUnreadableDatabaseIsShownAndTheDialogGoesOn) {
    ASSERT_TRUE(Open());
    std::filesystem::remove(database);
    std::filesystem::create_directory(database);
    Pick({1});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind(u"Не удалось прочитать базу данных хроматограмм:\n", 0), 0u);
    EXPECT_EQ(dialog->chromatograms.GetItemCount(), 0);
    EXPECT_TRUE(dialog->IsWindowVisible());
}

TEST_F(MainDialogCommands, RemovingWithNothingSelectedDoesNothing) {
    ASSERT_TRUE(Open());
    Pick({1, 2});
    MarkMessages();
    Press(1004);
    EXPECT_EQ(dialog->chromatograms.GetItemCount(), 2);
    EXPECT_TRUE(MarkerKept());
}

TEST_F(MainDialogCommands, RemovingSomeRowsRenumbersFromOneInTheSetsOrder) {
    ASSERT_TRUE(Open());
    Pick({1, 2, 3, 4});
    Select({0, 2});
    const std::vector<int32_t> removed = {RowValues()[0], RowValues()[2]};
    MarkMessages();
    Press(1004);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"1", u"2"}));
    std::vector<int32_t> left;
    for (const auto& entry : dialog->measurements)
        left.push_back(static_cast<int32_t>(entry.first));
    EXPECT_EQ(RowValues(), left);
    for (int32_t id : removed)
        EXPECT_EQ(dialog->measurements.count(static_cast<uint32_t>(id)), 0u);
    EXPECT_FALSE(MarkerKept());
}

TEST_F(MainDialogCommands, RemovingAllEmptiesEverythingAndRecalculates) {
    ASSERT_TRUE(Open());
    Pick({1, 2});
    Press(1005);
    EXPECT_EQ(dialog->chromatograms.GetItemCount(), 0);
    EXPECT_TRUE(dialog->measurements.empty());
    EXPECT_EQ(dialog->resultsTab.list.GetItemCount(), 0);
    EXPECT_EQ(dialog->messagesTab.infos,
              std::vector<std::u16string>{u"Хроматограммы не добавлены — добавьте измерения для расчёта."});
}

TEST_F(MainDialogCommands, OpeningAsksTheHostForEachSelectedChromatogramInListOrder) {
    ASSERT_TRUE(Open());
    Pick({1, 2, 3});
    Select({0, 2});
    const std::vector<int32_t> values = RowValues();
    Press(1006);
    ASSERT_EQ(openedFiles.size(), 2u);
    EXPECT_EQ(openedFiles[0], (std::pair<intptr_t, std::u16string>{1, paths[values[0] - 1]}));
    EXPECT_EQ(openedFiles[1], (std::pair<intptr_t, std::u16string>{1, paths[values[2] - 1]}));
    EXPECT_EQ(dialog->chromatograms.GetItemCount(), 3);
}

TEST_F(MainDialogCommands, ADoubleClickOpensTheSelectedChromatogramsAndNeverAnEditor) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(ShowActive(*dialog));
    Pick({1, 2, 3});
    QWidget* viewport = dialog->chromatograms.GetViewport();
    CRect cell;
    dialog->chromatograms.GetSubItemRect(1, 2, cell);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, ToQRect(cell).center()); // row 1 selected and focused
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, ToQRect(cell).center());
    ASSERT_EQ(openedFiles.size(), 1u);
    EXPECT_EQ(openedFiles[0].second, paths[RowValues()[1] - 1]);
    EXPECT_TRUE(viewport->findChildren<QLineEdit*>().isEmpty());

    // Below the last row: the selection is opened again.
    CRect last;
    dialog->chromatograms.GetSubItemRect(2, 2, last);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(last.left + 5, last.bottom + 30));
    EXPECT_EQ(openedFiles.size(), 2u);
    EXPECT_TRUE(viewport->findChildren<QLineEdit*>().isEmpty());
}

TEST_F(MainDialogCommands, ReloadingReadsEveryChromatogramAfreshAndDropsWhatIsGone) {
    ASSERT_TRUE(Open());
    Pick({1, 2, 3, 4});
    std::vector<int32_t> order; // the set's order before the reload, without the deleted assay
    for (const auto& entry : dialog->measurements)
        if (entry.first != 3)
            order.push_back(static_cast<int32_t>(entry.first));
    // Edited in the host: a new sample name, and one assay deleted.
    AddAssay(4, u"Проба с патроном №4", SamplePeaks(10, 1));
    ExecuteSql("UPDATE assay SET isdeleted = 1 WHERE id = 3;");
    Select({0});
    Press(1010);
    EXPECT_EQ(dialog->measurements.size(), 3u);
    EXPECT_EQ(dialog->measurements.count(3), 0u);
    EXPECT_EQ(dialog->measurements.at(4).sampleType, WithCartridge);
    EXPECT_EQ(RowValues(), order);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"1", u"2", u"3"}));
    EXPECT_TRUE(NothingSelectedOrFocused());
    EXPECT_TRUE(LastRowVisible());
    const std::vector<std::u16string> samples = Column(2);
    EXPECT_EQ(std::count(samples.begin(), samples.end(), u"Проба с патроном №4"), 1);
}

TEST_F(MainDialogCommands, ADatabaseErrorWhileReloadingKeepsWhatWasReadAgain) {
    ASSERT_TRUE(Open());
    Pick({1, 2, 3, 4});
    MakeLookupFail(2);
    Press(1010);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    // Ids before 2 in the set's order are back; 2 and those after it are not.
    EXPECT_EQ(dialog->measurements.count(2), 0u);
    EXPECT_EQ(static_cast<size_t>(dialog->chromatograms.GetItemCount()), dialog->measurements.size());
    EXPECT_TRUE(dialog->IsWindowVisible());
    // The calculation ran on the one chromatogram read again: the calibration alone.
    EXPECT_TRUE(dialog->messagesTab.infos.empty()) << "not the run on the emptied set";
    const auto& warnings = dialog->messagesTab.warnings;
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(),
                         u"Нет хроматограмм \"без патрона\" — непредельные и отдельные компоненты не "
                         u"рассчитаны."),
              1);
}

TEST_F(MainDialogCommands, PickOrderHoldsInTheListTheReportAndTheToolThroughRemovalAndReloads) {
    for (uint32_t id = 5; id <= 6; ++id)
        AddAssay(id, u"Проба без патрона", SamplePeaks(100, 10));
    AddAssay(7, u"воздух 7", SamplePeaks(100, 10));
    AddAssay(8, u"воздух 8", SamplePeaks(100, 10));
    ASSERT_TRUE(Open());
    Pick({6, 2, 8, 1, 5, 3, 7, 4});
    Select({0, 4, 5});
    Press(1004);
    Press(1010);
    Press(1010);
    const std::vector<int32_t> order = {2, 8, 1, 7, 4};
    EXPECT_EQ(RowValues(), order);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"1", u"2", u"3", u"4", u"5"}));

    // The calculation visits them in that order: its warnings name the undetermined samples so.
    std::vector<std::u16string> undetermined;
    for (const std::u16string& warning : dialog->messagesTab.warnings)
        if (warning.starts_with(u"Проба \""))
            undetermined.push_back(warning.substr(7, warning.find(u'"', 7) - 7));
    EXPECT_EQ(undetermined, (std::vector<std::u16string>{u"воздух 8", u"воздух 7", u"воздух"}));

    // The report numbers its "files" rows in the same order.
    const CalcResult result =
        CalculateResults(dialog->measurements, SettingsRecord::Instance(), ComponentTable::Instance());
    Bstr text;
    BuildReportXml(ReportRequest(dialog->measurements, result, {}, SettingsRecord::Instance()), &text);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_buffer(text.data(), text.size() * sizeof(char16_t), pugi::parse_default,
                                     pugi::encoding_utf16_le));
    std::vector<std::string> files;
    for (pugi::xml_node row : document.child("root").child("files").children("row"))
        files.push_back(std::string(row.attribute("number").value()) + " " + row.attribute("fileName").value());
    EXPECT_EQ(files, (std::vector<std::string>{"1 2.stg", "2 8.stg", "3 1.stg", "4 7.stg", "5 4.stg"}));

    // The tool, given the same pick, lists its chromatograms in it.
    const ToolRun run = RunTool({"calc", "--db", database.string(), "--ids", "2,8,1,7,4", "--json"},
                                {{"PUBLIC", root.string()}});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<int32_t> listed;
    for (const QJsonValue value :
         QJsonDocument::fromJson(QByteArray::fromStdString(run.out))["chromatograms"].toArray())
        listed.push_back(value["id"].toInt());
    EXPECT_EQ(listed, order);
}

TEST_F(MainDialogCommands, TipsShowTheCalibrationAndEveryRowsFormula) {
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = 760.0;
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressAn"] = 760.0;
    WriteComponentTable({{u"метан", 1.0}, {u"этан", 1.0}});
    AddAssay(5, u"Градуировка №2", CalibrationPeaks(4000), true);
    ASSERT_TRUE(Open());
    Pick({1, 5, 2});

    EXPECT_EQ(dialog->GetDlgItem(1007)->GetSafeHwnd()->toolTip().toStdU16String(),
              u"1.stg: Ki = концентрация 50 ÷ площадь 5000 = 0.01\n"
              u"5.stg: Ki = концентрация 50 ÷ площадь 4000 = 0.0125\n"
              u"Kcal = n 2 ÷ Σ 1/Ki 180 = 0.0111111\n"
              u"разброс = (Ki max 0.0125 − Ki min 0.01) ÷ Kcal 0.0111111 × 100 = 22.50 %: НЕТ сходимости "
              u"(больше 15 %)");
    const CListCtrl& results = dialog->resultsTab.list;
    ASSERT_EQ(results.GetItemCount(), 2);
    EXPECT_EQ(
        results.GetItemToolTip(0).rfind(u"метан = K 1.000000 × S̄ 200 (1 пик) × Kcal 0.0111111 × P 1 × f ", 0),
        0u)
        << Utf16ToUtf8(results.GetItemToolTip(0));
    EXPECT_EQ(results.GetItemToolTip(1).rfind(u"этан = K 1.000000 × S̄ 30 (1 пик)", 0), 0u);
    EXPECT_EQ(
        results.GetEmptyAreaToolTip(),
        u"Пики без компонента:\n«углеводороды» — 1 пик, хроматограмма № 3 (2.stg)"); // id 2, third picked
    // The messages page does not name them.
    for (const std::u16string& line : MessageLines())
        EXPECT_EQ(line.find(u"«углеводороды»"), std::u16string::npos) << Utf16ToUtf8(line);
}
