#include "RenderedReport.h"

#include "calc/CalculationRun.h"
#include "components/ComponentTable.h"
#include "platform/text/Format.h"

class ReportTemplate : public DeliveredTemplateTest {
protected:
    std::string Render() { return ScratchFolder::Read(MakeHtml()); }
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
              (std::vector<std::u16string>{DateText(kCreated, u"2024-02-01 14:05:09"),
                                           u"atmocalc, версия 1.0.2.0"}));
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

// The messages of real calculation runs, so that the template and the run agree on every text.
TEST_F(ReportTemplate, MessagesStandUnderTheLevelsAndNumbersOfTheMessagesPage) {
    const CalculationRun empty = PerformCalculationRun(MeasurementSet{}, SettingsRecord{}, ComponentTable{});
    settings.pressGrad = settings.pressAn = 750;
    ComponentTable table;
    table.loaded = true;
    table.records.push_back(ComponentRecord{1, u"метан", u"", 1.0, 0});
    MeasurementSet mixed;
    mixed[1] = Measurement(u"/data/a.stg", u"Проба \"цех\" №3", Undetermined);
    mixed[2] = Measurement(u"/data/b.stg", u"Проба 1 с патроном", WithCartridge);
    mixed[3] = Measurement(u"/data/c.stg", u"Проба 1 без патрона", WithoutCartridge);
    const CalculationRun withoutCalibration = PerformCalculationRun(mixed, settings, table);
    MeasurementSet calibrationOnly;
    calibrationOnly[4] = Measurement(u"/data/<b>калибровка</b>.stg", u"градуировка 1", Calibration, true);
    const CalculationRun withoutMethane = PerformCalculationRun(calibrationOnly, settings, table);

    std::vector<std::u16string> errors, warnings;
    for (const CalculationRun* run : {&empty, &withoutCalibration, &withoutMethane}) {
        errors.insert(errors.end(), run->errors.begin(), run->errors.end());
        warnings.insert(warnings.end(), run->warnings.begin(), run->warnings.end());
    }
    // Errors: no table, both pressures, no calibration, no methane. Warnings: undetermined, one with,
    // one without, one calibration, none with, none without.
    ASSERT_EQ(errors.size(), 5u);
    ASSERT_EQ(warnings.size(), 6u);
    ASSERT_EQ(empty.infos.size(), 1u);
    const std::u16string unknown = u"Отчёт дополнен вручную.";
    messages = {unknown};
    messages.insert(messages.end(), errors.begin(), errors.end());
    messages.insert(messages.end(), warnings.begin(), warnings.end());
    messages.push_back(empty.infos[0]);

    const RenderedReport report(Render());
    EXPECT_EQ(report.Texts("//section/h3"),
              (std::vector<std::u16string>{u"Ошибки:", u"Предупреждения:", u"Информация:", u"Сообщения:"}));
    EXPECT_EQ(report.Texts("//ol[@class='messages']/@start"),
              (std::vector<std::u16string>{u"1", u"6", u"12", u"13"}));
    EXPECT_EQ(report.Texts("//section[@class='errors']/ol/li"), errors);
    EXPECT_EQ(report.Texts("//section[@class='warnings']/ol/li"), warnings);
    EXPECT_EQ(report.Texts("//section[@class='infos']/ol/li"), empty.infos);
    EXPECT_EQ(report.Texts("//section[@class='other']/ol/li"), std::vector<std::u16string>{unknown});
    EXPECT_EQ(report.Texts("//b").size(), 0u);
}

TEST_F(ReportTemplate, VerdictSaysWhetherTheCalculationWasDoneAndWhy) {
    const std::u16string noTable = u"Справочник компонентов не загружен — расчёт невозможен.";
    const std::u16string noChromatograms = u"Хроматограммы не добавлены — добавьте измерения для расчёта.";
    const std::u16string oneCalibration = u"Только одна градуировочная хроматограмма — сходимость калибровки "
                                          u"не оценивается (рекомендуется не менее 2).";
    struct Case {
        const char* name;
        bool rows;
        std::vector<std::u16string> messages;
        std::u16string verdict;              // the quiet line, or the banner's title
        std::vector<std::u16string> reasons; // the banner's list
    };
    const Case cases[] = {
        {"complete", true, {}, u"Расчёт выполнен, ошибок нет.", {}},
        {"complete with a warning and a text of no level",
         true,
         {oneCalibration, u"Примечание."},
         u"Расчёт выполнен, ошибок нет. Предупреждений: 1 — см. раздел «Сообщения».",
         {}},
        {"sums without a component table",
         true,
         {noTable, oneCalibration},
         u"Расчёт выполнен не полностью.",
         {noTable}},
        {"error and no rows", false, {noTable, oneCalibration}, u"Расчёт не выполнен.", {noTable}},
        {"nothing to calculate", false, {noChromatograms}, u"Расчёт не выполнен.", {noChromatograms}},
        {"no rows and no messages", false, {}, u"Расчёт не выполнен.", {u"Результаты не получены."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        result.rows.clear();
        if (c.rows)
            result.rows.push_back({u"предельные углеводороды", u"0.0000±0.0000 мг/м3"});
        messages = c.messages;
        const RenderedReport report(Render());
        const bool done = c.reasons.empty();
        if (done) {
            EXPECT_EQ(report.Texts("//p[@class='verdict done']"), std::vector<std::u16string>{c.verdict});
            EXPECT_EQ(report.Texts("//section[@class='signatures']").size(), 1u);
            EXPECT_EQ(report.Texts("//*[@class='signatures']/p").size(), 0u);
        } else {
            EXPECT_EQ(report.Texts("//section[starts-with(@class, 'verdict')]/p"),
                      std::vector<std::u16string>{c.verdict});
            EXPECT_EQ(report.Texts("//ul[@class='reasons']/li"), c.reasons);
            EXPECT_EQ(report.Texts("//section[@class='signatures not-applicable']/p[@class='note']"),
                      std::vector<std::u16string>{
                          u"Подписи не ставятся: расчёт " +
                          std::u16string(c.rows ? u"выполнен не полностью." : u"не выполнен.")});
        }
        // The "±" is explained wherever values carry it.
        const auto uncertainty = report.Texts("//p[@class='uncertainty']");
        ASSERT_EQ(uncertainty.size(), c.rows ? 1u : 0u);
        if (c.rows) {
            EXPECT_NE(uncertainty[0].find(u"23 %"), std::u16string::npos);
        }
    }
}

TEST_F(ReportTemplate, NamesKeepTheirTextAndBreakOnlyAfterSeparatorsAndTheIdentityRepeats) {
    const std::u16string file = u"2026-11-27_ТЭЦ-2_труба.1.stg";
    measurements[1] = Measurement(u"C:\\Data\\" + file, u"градуировка 1", Calibration, true,
                                  u"ПГС CH4 в воздухе, 50,0 мг/м3 (ГСО 10541-2014)");
    measurements[2] = Measurement(u"/data/run.stg", u"Проба с патроном", WithCartridge);
    const RenderedReport report(Render());
    EXPECT_EQ(report.Texts("//table[@class='files']/tbody/tr/td[2]"),
              (std::vector<std::u16string>{file, u"run.stg"}));
    EXPECT_EQ(report.Texts("//table[@class='files']/tbody/tr/td[7]"),
              (std::vector<std::u16string>{measurements[1].mixture, u"—"}));
    // A break is offered after each separator that leaves more than four characters on the line: 6 in
    // the first file name, none in "run.stg", 2 in the mixture.
    const auto beforeBreaks = report.Texts("//table[@class='files']//wbr/preceding-sibling::text()[1]");
    EXPECT_EQ(beforeBreaks.size(), 8u);
    for (const auto& text : beforeBreaks) {
        EXPECT_NE(std::u16string_view(u"/\\._-").find(text.back()), std::u16string_view::npos)
            << Utf16ToUtf8(text);
    }
    EXPECT_EQ(report.Texts("//div[@class='identity']"),
              std::vector<std::u16string>{u"Результаты расчёта по ПНД Ф 13.1:2:3.25-99 · отчёт от " +
                                          DateText(kCreated, u"2024-02-01 14:05:09") +
                                          u" · atmocalc, версия 1.0.2.0"});
}

// The breaks are found by recursion over separators, which must stay within the transformation's depth and
// work limits even for many long names, and for a name made of nothing but separators.
TEST_F(ReportTemplate, ThousandLongNamesStayWithinTheTransformationLimits) {
    for (uint32_t id = 1; id <= 1000; ++id)
        measurements[id] =
            Measurement(FormatText(u"/srv/data/2024-01-31_котельная-Заводская-12_труба-1_отбор-%d_"
                                   u"без-патрона.stg",
                                   int(id)),
                        u"Котельная, труба 1, без патрона", WithoutCartridge, false,
                        u"ПГС CH4 в воздухе, 50,0 мг/м3 (ГСО 10541-2014, баллон № 4417-Н)");
    measurements[1001] = Measurement(u"/data/" + std::u16string(2000, u'_'), u"проба", Undetermined);
    const RenderedReport report(Render());
    const auto files = report.Texts("//table[@class='files']/tbody/tr/td[2]");
    ASSERT_EQ(files.size(), 1001u);
    EXPECT_EQ(files[999], u"2024-01-31_котельная-Заводская-12_труба-1_отбор-1000_без-патрона.stg");
    EXPECT_EQ(files[1000], std::u16string(2000, u'_'));
}
