// The delivered template in a real browser: headless Chromium loads each report and prints it, and the
// checks read the loaded document and the printed pages' text (render_in_chromium.sh) as a reader would.
#include "RenderedReport.h"

#include "calc/CalculationRun.h"
#include "cli/ToolRunner.h"
#include "components/ComponentTable.h"
#include "platform/text/Format.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <set>

namespace {

// The printed text without its page furniture, every page's furniture, and the loaded document.
struct PrintedReport {
    std::u16string text;                     // the pages' text, furniture lines left out
    std::vector<std::u16string> identities;  // the identity line of each page
    std::vector<std::u16string> pageNumbers; // "стр. N из M" of each page
    int pages = 0;
    std::string dom; // the document as the browser holds it after loading
};

const std::u16string kIdentity = u"Результаты расчёта по ПНД Ф 13.1:2:3.25-99 · отчёт от ";

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\n' || c == u'\t' || c == u'\r' || c == u'\f' || c == 0xA0;
}

std::u16string Trimmed(std::u16string_view line) {
    while (!line.empty() && IsSpace(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsSpace(line.back()))
        line.remove_suffix(1);
    return std::u16string(line);
}

// Text with every space removed: what stays the same however the lines of a page fall.
std::u16string Compact(std::u16string_view text) {
    std::u16string compact;
    for (char16_t c : text)
        if (!IsSpace(c))
            compact += c;
    return compact;
}

// The words of a text: runs between spaces, punctuation and the separators names may wrap after.
std::set<std::u16string> Words(std::u16string_view text) {
    static constexpr std::u16string_view kDelimiters = u"/\\._-,;:!?()[]<>{}\"'«»—–±№·%=+*&#|";
    std::set<std::u16string> words;
    std::u16string word;
    for (char16_t c : std::u16string(text) + u" ") {
        if (IsSpace(c) || kDelimiters.find(c) != std::u16string_view::npos) {
            if (!word.empty())
                words.insert(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

// The HTML file as Chromium loads and prints it.
PrintedReport Print(const std::string& html) {
    const std::string out = html.substr(0, html.size() - 5);
    const std::string command =
        "'" ATMOCALC_RENDER_SCRIPT "' '" + html + "' '" + out + "' >'" + out + ".err' 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << ScratchFolder::Read(out + ".err") << ScratchFolder::Read(out + ".log");
    PrintedReport printed;
    printed.dom = ScratchFolder::Read(out + ".dom.html");
    const std::u16string text = Utf8ToUtf16(ScratchFolder::Read(out + ".txt"));
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(u'\n', start), text.size());
        const std::u16string line = Trimmed(std::u16string_view(text).substr(start, end - start));
        if (line.starts_with(kIdentity))
            printed.identities.push_back(line);
        else if (line.starts_with(u"стр. "))
            printed.pageNumbers.push_back(line);
        else
            printed.text += line + u"\n";
        start = end + 1;
    }
    for (char16_t c : text)
        printed.pages += c == u'\f';
    return printed;
}

// Every element and attribute of the loaded document is one the template writes: none came from the data.
void ExpectOnlyTemplateMarkup(const RenderedReport& dom) {
    static const std::set<std::u16string> elements = {
        u"html", u"head", u"meta", u"title", u"style", u"body", u"div",     u"main",  u"header", u"h1",
        u"h2",   u"h3",   u"p",    u"dl",    u"dt",    u"dd",   u"section", u"table", u"thead",  u"tbody",
        u"tr",   u"th",   u"td",   u"ul",    u"ol",    u"li",   u"span",    u"wbr"};
    static const std::set<std::u16string> attributes = {u"lang", u"http-equiv", u"content",
                                                        u"name", u"class",      u"start"};
    std::u16string foreign;
    for (const auto& name : dom.Names("//*"))
        if (!elements.contains(name))
            foreign += u" <" + name + u">";
    for (const auto& name : dom.Names("//@*"))
        if (!attributes.contains(name))
            foreign += u" @" + name;
    EXPECT_TRUE(foreign.empty()) << Utf16ToUtf8(foreign);
    EXPECT_EQ(dom.Texts("//title"),
              std::vector<std::u16string>{u"Результаты расчёта — ПНД Ф 13.1:2:3.25-99"});
}

// A message group as the messages page shows it: its heading and its texts.
struct MessageGroup {
    std::u16string heading;
    std::vector<std::u16string> texts;
};

// What a reader must find on paper: every result row in order, every message under its heading with
// its running number, the identity and "стр. N из M" on each of the expected number of pages, and no
// word cut in two.
void ExpectPrinted(const PrintedReport& printed, int pages, const std::vector<ResultRow>& rows,
                   const std::vector<MessageGroup>& groups) {
    EXPECT_EQ(printed.pages, pages);
    ASSERT_EQ(printed.pageNumbers.size(), static_cast<size_t>(printed.pages));
    for (int page = 1; page <= printed.pages; ++page)
        EXPECT_EQ(printed.pageNumbers[page - 1], FormatText(u"стр. %d из %d", page, printed.pages));
    EXPECT_EQ(printed.identities.size(), static_cast<size_t>(printed.pages));
    for (const auto& identity : printed.identities)
        EXPECT_TRUE(identity.ends_with(u" · atmocalc, версия 1.0.2.0")) << Utf16ToUtf8(identity);

    const std::u16string text = Compact(printed.text);
    size_t at = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::u16string row = Compact(FormatText(u"%d", int(i + 1)) + rows[i].name + rows[i].value);
        const size_t found = text.find(row, at);
        EXPECT_NE(found, std::u16string::npos) << "row " << Utf16ToUtf8(row);
        at = found == std::u16string::npos ? at : found + row.size();
    }
    const size_t messages = text.find(u"Сообщения", at);
    ASSERT_NE(messages, std::u16string::npos);
    at = messages;
    int number = 0;
    for (const MessageGroup& group : groups) {
        if (group.texts.empty())
            continue;
        std::u16string expected = group.heading;
        for (const auto& message : group.texts)
            expected += FormatText(u"%d.", ++number) + message;
        const size_t found = text.find(Compact(expected), at);
        EXPECT_NE(found, std::u16string::npos) << Utf16ToUtf8(expected);
        at = found == std::u16string::npos ? at : found;
    }

    // A word cut at a line end prints as two pieces that are not words of the loaded document.
    std::u16string pieces;
    const std::set<std::u16string> words = Words(RenderedReport(printed.dom).Texts("//body").at(0));
    for (const auto& word : Words(printed.text))
        if (!words.contains(word) && word.find_first_not_of(u"0123456789") != std::u16string::npos)
            pieces += u" " + word;
    EXPECT_TRUE(pieces.empty()) << "not words of the report:" << Utf16ToUtf8(pieces);
}

} // namespace

class ReportInBrowser : public DeliveredTemplateTest {
protected:
    void SetUp() override {
        if (std::system("command -v chromium >/dev/null && command -v pdftotext >/dev/null") != 0)
            GTEST_SKIP() << "chromium or pdftotext is not installed; ./run deps installs them";
        DeliveredTemplateTest::SetUp();
    }
};

// The demo installation's report, made by the command-line tool as ./run demo --cli makes it.
TEST_F(ReportInBrowser, DemoReportPrintsEveryRowAndMessageOnTwoPages) {
    const std::string folder = scratch.Path("demo"), html = scratch.Path("demo.html");
    ASSERT_EQ(RunTool({"demo", folder}).status, 0);
    const std::vector<std::string> input = {
        "--db", folder + "/host.db", "--ids", "1,2,3,4,5,6,7,8", "--std-mode",
        "1",    "--press-grad",      "750",   "--press-an",      "745"};
    std::vector<std::string> calc = {"calc", "--json"}, report = {"report", "--out", html};
    calc.insert(calc.end(), input.begin(), input.end());
    report.insert(report.end(), input.begin(), input.end());
    const auto calculated = RunTool(calc, {{"PUBLIC", folder + "/public"}});
    ASSERT_EQ(calculated.status, 0) << calculated.err;
    ASSERT_EQ(RunTool(report, {{"PUBLIC", folder + "/public"}}).status, 0);

    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(calculated.out)).object();
    std::vector<ResultRow> rows;
    for (const auto& row : json["rows"].toArray())
        rows.push_back({row.toObject()["name"].toString().toStdU16String(),
                        row.toObject()["value"].toString().toStdU16String()});
    auto texts = [&](const char* level) {
        std::vector<std::u16string> list;
        for (const auto& text : json[level].toArray())
            list.push_back(text.toString().toStdU16String());
        return list;
    };
    ASSERT_EQ(rows.size(), 10u);
    ASSERT_EQ(texts("warnings").size(), 1u);

    const PrintedReport printed = Print(html);
    ExpectOnlyTemplateMarkup(RenderedReport(printed.dom));
    ExpectPrinted(printed, 2, rows,
                  {{u"Ошибки:", texts("errors")},
                   {u"Предупреждения:", texts("warnings")},
                   {u"Информация:", texts("infos")}});
}

// Names that carry markup stay text in the browser: no element, attribute or script comes from them.
TEST_F(ReportInBrowser, MarkupInNamesStaysTextInTheLoadedAndPrintedReport) {
    const std::u16string img = u"<img src=x onerror=alert(1)>", title = u"</title><script>alert(2)</script>",
                         svg = u"\"><svg onload=alert(3)>";
    measurements[1] = Measurement(u"C:\\Data\\" + img + u".stg", title, Calibration, true, svg);
    measurements[2] = Measurement(u"/data/" + svg + u".stg", img, Undetermined, false, title);
    measurements[3] = Measurement(u"/data/проба.stg", svg, Undetermined);
    settings.pressGrad = settings.pressAn = 750;
    ComponentTable table;
    table.loaded = true;
    const CalculationRun run = PerformCalculationRun(measurements, settings, table);
    messages = run.errors;
    messages.insert(messages.end(), run.warnings.begin(), run.warnings.end());
    messages.push_back(u"Примечание: " + title);
    result.rows = {
        {img, u"1.0000±0.2300 мг/м3"}, {title, u"2.0000±0.4600 мг/м3"}, {svg, u"3.0000±0.6900 мг/м3"}};

    const PrintedReport printed = Print(MakeHtml());
    ExpectOnlyTemplateMarkup(RenderedReport(printed.dom));
    ExpectPrinted(
        printed, 2, result.rows,
        {{u"Ошибки:", run.errors}, {u"Предупреждения:", run.warnings}, {u"Сообщения:", {messages.back()}}});
    // The loaded document holds each value as the very text the report document carries.
    const RenderedReport dom(printed.dom);
    EXPECT_EQ(dom.Texts("//table[@class='files']/tbody/tr/td[3]"),
              (std::vector<std::u16string>{title, img, svg}));
    EXPECT_EQ(dom.Texts("//table[@class='files']/tbody/tr/td[2]"),
              (std::vector<std::u16string>{img + u".stg", svg + u".stg", u"проба.stg"}));
    EXPECT_EQ(dom.Texts("//table[@class='files']/tbody/tr/td[7]"),
              (std::vector<std::u16string>{svg, title, u"—"}));
    EXPECT_EQ(dom.Texts("//table[@class='results']/tbody/tr/td[2]"),
              (std::vector<std::u16string>{img, title, svg}));
}

// 29 chromatograms with long names as a laboratory writes them: nothing is cut inside a word.
TEST_F(ReportInBrowser, LongRealisticNamesWrapOnlyAtSpacesAndSeparators) {
    const std::u16string mixture = u"ПГС CH4 в воздухе, 50,0 мг/м3 (ГСО 10541-2014, баллон № 4417-Н)";
    for (uint32_t id = 1; id <= 29; ++id) {
        const int64_t time = kCreated - 86400 + id * 1200;
        if (id <= 3) {
            measurements[id] = Measurement(
                FormatText(u"C:\\Veltra4\\Data\\2024\\02\\2024-01-31_градуировка_ПГС-CH4-50_повтор-%d.stg",
                           int(id)),
                FormatText(u"Градуировка CH4 №%d, ПГС 50,0 мг/м3", int(id)), Calibration, true, mixture,
                time);
            measurements[id].peaks = {AssayPeak{}};
            measurements[id].peaks[0].name = u"метан";
            measurements[id].peaks[0].area = 5000.0 + 25 * id;
            measurements[id].peaks[0].concent = 50.0;
            continue;
        }
        const bool with = id % 2 == 0;
        const int stack = 1 + id % 3, draw = int(id - 2) / 2;
        measurements[id] = Measurement(
            FormatText(u"/srv/veltra/data/2024-01-31_котельная-Заводская-12_труба-%d_отбор-%02d_%s.stg",
                       stack, draw, with ? u"с-патроном" : u"без-патрона"),
            FormatText(u"Котельная, ул. Заводская, 12 — дымовая труба №%d, отбор %d, %s", stack, draw,
                       with ? u"с патроном" : u"без патрона"),
            with ? WithCartridge : WithoutCartridge, false, u"", time);
    }
    ComponentTable table;
    ASSERT_TRUE(table.LoadFrom(Utf8ToUtf16(ATMOCALC_COMPONENT_TABLE))) << Utf16ToUtf8(table.lastError);
    for (auto& [id, record] : measurements)
        if (record.sampleType != Calibration)
            for (const ComponentRecord& component : table.records) {
                AssayPeak peak;
                peak.name = component.Name;
                peak.area =
                    (record.sampleType == WithCartridge && component.group == 1 ? 0.5 : 10.0) + component.ID;
                record.peaks.push_back(peak);
            }
    settings.stdMode = 1;
    settings.pressGrad = 750;
    settings.pressAn = 745;
    const CalculationRun run = PerformCalculationRun(measurements, settings, table);
    result = run.result;
    messages = run.errors;
    messages.insert(messages.end(), run.warnings.begin(), run.warnings.end());
    ASSERT_EQ(result.rows.size(), 21u);
    ASSERT_TRUE(messages.empty());

    const PrintedReport printed = Print(MakeHtml());
    ExpectOnlyTemplateMarkup(RenderedReport(printed.dom));
    ExpectPrinted(printed, 4, result.rows, {});
    // Each long name is printed whole, whatever its lines.
    const std::u16string text = Compact(printed.text);
    for (const auto& [id, record] : measurements) {
        const std::u16string file = record.fileName.substr(record.fileName.find_last_of(u"/\\") + 1);
        EXPECT_NE(text.find(Compact(file)), std::u16string::npos) << Utf16ToUtf8(file);
        EXPECT_NE(text.find(Compact(record.sample)), std::u16string::npos) << Utf16ToUtf8(record.sample);
    }
}
