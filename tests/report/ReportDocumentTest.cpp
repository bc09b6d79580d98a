#include "ReportTestSupport.h"

#include "report/XmlWriterSource.h"

#include <pugixml.hpp>

namespace {

// The parsed report document.
pugi::xml_document Parse(const Bstr& text) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_string(Utf16ToUtf8(text).c_str());
    EXPECT_TRUE(parsed) << parsed.description();
    return doc;
}

std::u16string Attribute(pugi::xml_node node, const char* name) {
    return Utf8ToUtf16(node.attribute(name).value());
}

} // namespace

class ReportDocument : public ReportTest {
protected:
    Bstr Build() {
        Bstr text;
        BuildReportXml(Request(), &text);
        return text;
    }
};

TEST_F(ReportDocument, EmptyReportIsSettingsAndThreeEmptyElementsOnOneLine) {
    EXPECT_EQ(Build(), u"<?xml version=\"1.0\" encoding=\"UTF-16LE\"?>"
                       u"<root date_created=\"" +
                           DateText(kCreated, u"2024-02-01 14:05:09") +
                           u"\" prog_version=\" 1.0.2.0\" convergence=\"\">"
                           u"<settings stdConditions=\"Воздух рабочей зоны\" pressGrad=\"—\" pressAn=\"—\"/>"
                           u"<files/><results/><messages/></root>");
}

TEST_F(ReportDocument, SettingsGiveConditionsAndPressuresWithOneDecimal) {
    const auto pressures = [&](double grad, double an) {
        settings.pressGrad = grad;
        settings.pressAn = an;
        const auto doc = Parse(Build());
        const auto node = doc.child("root").child("settings");
        return std::make_pair(Attribute(node, "pressGrad"), Attribute(node, "pressAn"));
    };
    EXPECT_EQ(pressures(-1.0, 0.0), std::make_pair(std::u16string(u"—"), std::u16string(u"—")));
    EXPECT_EQ(pressures(745.56, 760), std::make_pair(std::u16string(u"745.6"), std::u16string(u"760.0")));
    // The double nearest 745.55 lies just below it: "%.1f" rounds it down.
    EXPECT_EQ(pressures(745.55, 0.04), std::make_pair(std::u16string(u"745.5"), std::u16string(u"0.0")));

    for (const auto& [mode, text] :
         {std::pair{1, u"Атмосферный воздух"}, std::pair{0, u"Воздух рабочей зоны"},
          std::pair{2, u"Воздух рабочей зоны"}, std::pair{-1, u"Воздух рабочей зоны"}}) {
        settings.stdMode = mode;
        EXPECT_EQ(Attribute(Parse(Build()).child("root").child("settings"), "stdConditions"), text) << mode;
    }
}

TEST_F(ReportDocument, FileRowsCarryEveryValueNumberedInSetOrder) {
    measurements[7] =
        Measurement(u"C:\\Data\\калибровка 1.vlx", u"калибровка 1", Calibration, true, u"ГСО 10541");
    measurements[3] = Measurement(u"/home/lab/проба.vlx", u"Проба с/п", WithCartridge);
    measurements[12] = Measurement(u"без-папки.vlx", u"Проба б/п", WithoutCartridge);
    measurements[40] = Measurement(u"/data/x.vlx", u"воздух", static_cast<SampleType>(7), true);
    measurements[41] = Measurement(u"/data/y.vlx", u"неизвестно", Undetermined, false, u"", 0);

    const auto doc = Parse(Build());
    int number = 0;
    auto row = doc.child("root").child("files").child("row");
    for (const auto& [id, record] : measurements) { // the set's own iteration order
        ASSERT_TRUE(row) << "missing row " << number + 1;
        EXPECT_EQ(row.attribute("number").as_int(), ++number);
        EXPECT_EQ(Attribute(row, "sample"), record.sample);
        EXPECT_EQ(Attribute(row, "mixture"), record.mixture);
        EXPECT_EQ(Attribute(row, "date"), FormatDateTime(record.analysisTime));
        EXPECT_EQ(Attribute(row, "cartridge"), SampleTypeName(record.sampleType));
        EXPECT_EQ(Attribute(row, "type"), record.isCalibration ? u"Градуировка" : u"Анализ");
        row = row.next_sibling("row");
    }
    EXPECT_FALSE(row);

    const auto rowOf = [&](const char16_t* sample) {
        return doc.child("root").child("files").find_child_by_attribute("row", "sample",
                                                                        Utf16ToUtf8(sample).c_str());
    };
    EXPECT_EQ(Attribute(rowOf(u"калибровка 1"), "fileName"), u"калибровка 1.vlx");
    EXPECT_EQ(Attribute(rowOf(u"калибровка 1"), "cartridge"), u"градуировочная");
    EXPECT_EQ(Attribute(rowOf(u"Проба с/п"), "fileName"), u"проба.vlx");
    EXPECT_EQ(Attribute(rowOf(u"Проба б/п"), "fileName"), u"без-папки.vlx");
    EXPECT_EQ(Attribute(rowOf(u"воздух"), "cartridge"), u"");
    EXPECT_EQ(Attribute(rowOf(u"воздух"), "type"), u"Градуировка");
    EXPECT_EQ(Attribute(rowOf(u"неизвестно"), "date"), DateText(0, u"1970-01-01 00:00:00"));
}

TEST_F(ReportDocument, ResultsConvergenceAndMessagesKeepTheirOrder) {
    result.convergenceText = u"Сходимость калибровки есть (5.96%), K=0.01";
    result.rows = {{u"метан", u"1.2345±0.1234 мг/м3"}, {u"этан", u"0.0100±0.0010 мг/м3"}};
    messages = {u"ошибка", u"предупреждение", u"сведения"};
    const std::u16string text = Build();
    EXPECT_NE(text.find(u"convergence=\"Сходимость калибровки есть (5.96%), K=0.01\"><settings"),
              std::u16string::npos);
    EXPECT_NE(text.find(u"<results><row name=\"метан\" value=\"1.2345±0.1234 мг/м3\"/>"
                        u"<row name=\"этан\" value=\"0.0100±0.0010 мг/м3\"/></results>"
                        u"<messages><row msg_str=\"ошибка\"/><row msg_str=\"предупреждение\"/>"
                        u"<row msg_str=\"сведения\"/></messages></root>"),
              std::u16string::npos);
}

TEST_F(ReportDocument, MarkupInValuesIsEscapedAndReadsBackUnchanged) {
    const std::u16string sample = u"Проба \"А\" & <Б> 'в'\tконец\x01";
    measurements[1] = Measurement(u"/data/a.vlx", sample, WithCartridge, false, u"смесь & \"Б\"");
    messages = {u"Файл \"a&b\" <не найден>"};
    const std::u16string text = Build();
    EXPECT_NE(text.find(u"sample=\"Проба &quot;А&quot; &amp; &lt;Б> 'в'&#09;конец\uFFFD\""),
              std::u16string::npos);
    EXPECT_NE(text.find(u"msg_str=\"Файл &quot;a&amp;b&quot; &lt;не найден>\""), std::u16string::npos);
    EXPECT_EQ(text.find(u'\n'), std::u16string::npos);

    const auto doc = Parse(text);
    EXPECT_EQ(Attribute(doc.child("root").child("files").child("row"), "sample"),
              sample.substr(0, sample.size() - 1) + u"\uFFFD");
    EXPECT_EQ(Attribute(doc.child("root").child("files").child("row"), "mixture"), u"смесь & \"Б\"");
}

TEST_F(ReportDocument, CharactersXmlCannotCarryBecomeReplacementCharactersAndTheReportIsMade) {
    // A vertical tab is what word processors put in for Shift+Enter.
    measurements[1] = Measurement(u"/data/a.vlx", u"проба\vвторая строка", WithCartridge);
    measurements[2] = Measurement(u"/data/b.vlx", std::u16string(u"a\0b\x1F\uFFFE\uFFFF", 6) + u"\xD800\r\nж",
                                  WithCartridge);
    const std::u16string text = Build();
    EXPECT_NE(text.find(u"sample=\"проба\uFFFDвторая строка\""), std::u16string::npos);
    EXPECT_NE(text.find(u"sample=\"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD&#13;&#10;ж\""), std::u16string::npos);

    InstallDeliveredTemplate();
    auto request = Request();
    EXPECT_TRUE(MakeReport(request));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_NE(request.resultText.find(u"проба\uFFFDвторая строка"), std::u16string::npos);
}

TEST(XmlWriterSource, AppendsLittleEndianUnitsAndIgnoresWhatIsNoUnit) {
    Bstr target;
    xml_writer_source writer(&target);
    writer.write(nullptr, 4);
    EXPECT_EQ(target, u"");
    writer.write("\x3C", 1); // a lone byte on an empty target adds nothing
    EXPECT_EQ(target, u"");
    writer.write("\x3C\x00\x16\x04", 4);
    EXPECT_EQ(target, u"<Ж");
    writer.write("\x3E", 1);
    writer.write("", 0);
    EXPECT_EQ(target, u"<Ж");
    writer.write("\x3E\x00\x20", 3); // the odd last byte is no unit
    EXPECT_EQ(target, u"<Ж>");
}

// TZ and LC_TIME; on Windows the user's settings (platform/system's tests).
#ifndef _WIN32
TEST(FormatDateTime, IsTheUsersShortDateAndTime) {
    ScopedEnvironment environment;
    environment.Set("TZ", "MSK-3");
    environment.Set("LC_ALL", "C");
    EXPECT_EQ(FormatDateTime(kCreated), u"2024-02-01 17:05:09");
    EXPECT_EQ(FormatDateTime(-1), u"1970-01-01 02:59:59"); // the system converts times before 1970
    EXPECT_EQ(FormatDateTime(std::numeric_limits<int64_t>::max()), u"");
    environment.Set("LC_ALL", "ru_RU.UTF-8");
    const std::u16string russian = FormatDateTime(kCreated);
    if (russian.starts_with(u"2024-"))
        GTEST_SKIP() << "the ru_RU.UTF-8 locale is not installed";
    EXPECT_EQ(russian, u"01.02.2024 17:05:09");
}
#endif
