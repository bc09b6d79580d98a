#include "ReportTestSupport.h"

#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <memory>

namespace {

// The delivered template's HTML, parsed as a browser would.
class RenderedReport {
public:
    explicit RenderedReport(const std::string& html)
        : doc(htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                             HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING)) {}
    ~RenderedReport() { xmlFreeDoc(doc); }

    bool Parsed() const { return doc != nullptr; }

    // The text of every node the expression selects, in document order.
    std::vector<std::u16string> Texts(const char* xpath) const {
        std::vector<std::u16string> texts;
        xmlXPathContextPtr context = xmlXPathNewContext(doc);
        xmlXPathObjectPtr found = xmlXPathEvalExpression(BAD_CAST xpath, context);
        if (found && found->nodesetval)
            for (int i = 0; i < found->nodesetval->nodeNr; ++i) {
                xmlChar* text = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
                texts.push_back(Utf8ToUtf16(reinterpret_cast<const char*>(text)));
                xmlFree(text);
            }
        xmlXPathFreeObject(found);
        xmlXPathFreeContext(context);
        return texts;
    }

private:
    htmlDocPtr doc;
};

} // namespace

class ReportTemplate : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        InstallDeliveredTemplate();
    }

    std::string Render() {
        auto request = Request();
        EXPECT_TRUE(MakeReport(request));
        EXPECT_TRUE(boxes.boxes.empty());
        return ScratchFolder::Read(Utf16ToUtf8(request.outputPath));
    }
};

TEST_F(ReportTemplate, RendersARealisticReportWithEveryValueAsText) {
    settings = SettingsRecord{};
    settings.stdMode = 1;
    settings.pressGrad = 745.56;
    measurements[1] =
        Measurement(u"C:\\Data\\градуировка 1.vlx", u"градуировка 1", Calibration, true, u"ГСО 10541-2014");
    measurements[2] =
        Measurement(u"/data/градуировка 2.vlx", u"градуировка 2", Calibration, true, u"ГСО 10541-2014");
    measurements[3] = Measurement(u"/data/проба 1.vlx", u"Проба 1 с патроном", WithCartridge);
    measurements[4] = Measurement(u"/data/проба 2.vlx", u"Проба 1 без патрона", WithoutCartridge);
    measurements[5] = Measurement(u"/data/evil.vlx", u"<script>alert(1)</script>", Undetermined);
    measurements[6] =
        Measurement(u"/data/quotes.vlx", u"\"A&B\" </td></tr></table><img src=x>", Undetermined);
    result.convergenceText = u"Сходимость калибровки есть (5.96%), K=0.01";
    const char16_t* names[] = {u"метан",
                               u"этан",
                               u"этилен",
                               u"пропан",
                               u"пропилен",
                               u"бутан",
                               u"Предельные углеводороды",
                               u"Непредельные углеводороды"};
    for (const char16_t* name : names)
        result.rows.push_back({name, u"1.2345±0.1234 мг/м3"});
    messages = {u"Давление при анализе не задано.", u"Проба \"<b>жирная</b>\" не распознана."};

    const std::string html = Render();
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>")) << html.substr(0, 80);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(html.find("disable-output-escaping"), std::string::npos);

    const RenderedReport report(html);
    ASSERT_TRUE(report.Parsed());
    EXPECT_EQ(report.Texts("//script").size(), 0u);
    EXPECT_EQ(report.Texts("//meta[@http-equiv='Content-Security-Policy']/@content"),
              std::vector<std::u16string>{u"default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; "
                                          u"form-action 'none'"});
    EXPECT_EQ(report.Texts("//html/@lang"), std::vector<std::u16string>{u"ru"});
    EXPECT_EQ(report.Texts("//h1").size(), 1u);
    EXPECT_NE(report.Texts("//title")[0].find(u"ПНД Ф 13.1:2:3.25-99"), std::u16string::npos);
    EXPECT_EQ(report.Texts("//dl/dd"),
              (std::vector<std::u16string>{u"2024-02-01 14:05:09", u"atmocalc, версия 1.0.2.0"}));
    EXPECT_EQ(report.Texts("//table[@class='settings']//td"),
              (std::vector<std::u16string>{u"Атмосферный воздух", u"745.6", u"—"}));

    const auto samples = report.Texts("//table[@class='files']/tbody/tr/td[3]");
    ASSERT_EQ(samples.size(), measurements.size());
    EXPECT_EQ(report.Texts("//table[@class='files']/tbody/tr/td[1]"),
              (std::vector<std::u16string>{u"1", u"2", u"3", u"4", u"5", u"6"}));
    size_t i = 0;
    for (const auto& [id, record] : measurements)
        EXPECT_EQ(samples[i++], record.sample);

    EXPECT_EQ(report.Texts("//table[@class='results']/tbody/tr/td[2]"),
              std::vector<std::u16string>(std::begin(names), std::end(names)));
    EXPECT_EQ(report.Texts("//table[@class='results']/tbody/tr[1]/td[3]"),
              std::vector<std::u16string>{u"1.2345±0.1234 мг/м3"});
    EXPECT_EQ(report.Texts("//p[@class='convergence']"), std::vector<std::u16string>{result.convergenceText});
    EXPECT_EQ(report.Texts("//ol[@class='messages']/li"), messages);
    EXPECT_EQ(report.Texts("//b").size(), 0u);
    // No value ever reaches the style sheet.
    for (const auto& style : report.Texts("//style"))
        EXPECT_EQ(style.find(u"Проба"), std::u16string::npos);
}

TEST_F(ReportTemplate, EmptyReportSaysSoInEachSection) {
    result.convergenceText = u"НЕТ сходимости калибровки (18.33%), K=0.01";
    const RenderedReport report(Render());
    ASSERT_TRUE(report.Parsed());
    EXPECT_EQ(report.Texts("//p[@class='empty']"),
              (std::vector<std::u16string>{u"Хроматограммы не выбраны.", u"Результаты не получены.",
                                           u"Сообщений нет."}));
    EXPECT_EQ(report.Texts("//p[@class='convergence missing']"),
              std::vector<std::u16string>{result.convergenceText});
    EXPECT_EQ(report.Texts("//table[@class='settings']//td"),
              (std::vector<std::u16string>{u"Воздух рабочей зоны", u"—", u"—"}));
}
