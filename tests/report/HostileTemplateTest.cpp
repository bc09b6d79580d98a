// Templates that try to take the host down with memory, time or a file in the template's place: each
// is refused with its box, the test process stays small and alive, and nothing is written.
#include "ReportTestSupport.h"

#include "platform/text/Format.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

constexpr std::u16string_view kMemoryBox =
    u"Ошибка -2147220730. Не удалось создать отчёт.\nThe transformation exceeded its memory limit.";
constexpr std::u16string_view kTimeBox =
    u"Ошибка -2147220729. Не удалось создать отчёт.\nThe transformation exceeded its time limit.";
constexpr std::u16string_view kLimitBox =
    u"Ошибка -2147220731. Не удалось создать отчёт.\nThe transformation exceeded its limit of depth or work.";

// A result tree that doubles with every level: 2^levels copies of the report document.
std::string CopyOfDoubling(int levels) {
    std::string body = "<xsl:variable name=\"t0\"><xsl:copy-of select=\"/\"/></xsl:variable>";
    for (int i = 1; i <= levels; ++i)
        body += "<xsl:variable name=\"t" + std::to_string(i) + "\"><xsl:copy-of select=\"$t" +
                std::to_string(i - 1) + "\"/><xsl:copy-of select=\"$t" + std::to_string(i - 1) +
                "\"/></xsl:variable>";
    return TemplateWith(body + "<xsl:copy-of select=\"$t" + std::to_string(levels) + "\"/>");
}

// A string that doubles with every nested variable.
std::string StringDoubling(int levels) {
    std::string body = "<xsl:variable name=\"s0\" select=\"'0123456789abcdef'\"/>";
    for (int i = 1; i <= levels; ++i)
        body += "<xsl:variable name=\"s" + std::to_string(i) + "\" select=\"concat($s" +
                std::to_string(i - 1) + ", $s" + std::to_string(i - 1) + ")\"/>";
    return TemplateWith(body + "<xsl:value-of select=\"string-length($s" + std::to_string(levels) + ")\"/>");
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// A template that only eats memory fills its allowance in about a second of processor time; on a
// starved machine that second may stretch past the 2 s the helper gets, and then the time limit is
// the one reached first. Either way the template was stopped by a bound and said so.
testing::AssertionResult StoppedByABound(const std::u16string& box) {
    if (box == kMemoryBox || box == kTimeBox)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << Utf16ToUtf8(box);
}

class HostileTemplate : public ReportTest {
protected:
    // The text of the one box of a report that must fail, checking that nothing was written.
    std::u16string RefusedBox(const std::string& text) {
        InstallTemplate(text);
        auto request = Request();
        EXPECT_FALSE(MakeReport(request));
        EXPECT_TRUE(request.outputPath.empty());
        EXPECT_TRUE(TempFiles().empty());
        EXPECT_EQ(boxes.boxes.size(), 1u);
        const std::u16string box = boxes.boxes.empty() ? std::u16string() : boxes.boxes[0].text;
        boxes.boxes.clear();
        return box;
    }
};

TEST_F(HostileTemplate, MemoryAndWorkBombsAreRefusedAndTheProcessStaysSmallAndAlive) {
    // Rows for the loops to run over: the loops below would take days without their limit.
    for (uint32_t id = 1; id <= 50; ++id)
        measurements[id] = Measurement(FormatText(u"/data/%d.vlx", id), u"проба", WithCartridge);
    const long before = PeakKilobytes();

    EXPECT_TRUE(StoppedByABound(RefusedBox(CopyOfDoubling(16))));
    EXPECT_TRUE(StoppedByABound(RefusedBox(CopyOfDoubling(24))));
    EXPECT_TRUE(StoppedByABound(RefusedBox(StringDoubling(35))));
    // A string of 100,000 characters that doubles with every call.
    EXPECT_TRUE(StoppedByABound(
        RefusedBox(TemplateWith("<xsl:call-template name=\"grow\"><xsl:with-param name=\"s\" "
                                "select=\"str:padding(100000, 'x')\"/></xsl:call-template>",
                                "<xsl:template name=\"grow\"><xsl:param name=\"s\"/>"
                                "<xsl:call-template name=\"grow\"><xsl:with-param name=\"s\" "
                                "select=\"concat($s, $s)\"/></xsl:call-template></xsl:template>",
                                " xmlns:str=\"http://exslt.org/strings\""))));
    EXPECT_EQ(
        RefusedBox(TemplateWith("<xsl:call-template name=\"again\"/>",
                                "<xsl:template name=\"again\"><x><xsl:call-template name=\"again\"/></x>"
                                "</xsl:template>")),
        kLimitBox);
    EXPECT_EQ(RefusedBox(TemplateWith("<xsl:for-each select=\"//node()\"><xsl:for-each select=\"//node()\">"
                                      "<xsl:for-each select=\"//node()\"><xsl:for-each select=\"//node()\">"
                                      "<xsl:for-each select=\"//node()\"><xsl:value-of select=\"name()\"/>"
                                      "</xsl:for-each></xsl:for-each></xsl:for-each></xsl:for-each>"
                                      "</xsl:for-each>")),
              kLimitBox);

    EXPECT_LT(PeakKilobytes() - before, 300 * 1024);
    // No helper is left as a zombie (the one on standby for the next report still runs), and the
    // process still makes reports.
    siginfo_t ended{};
    EXPECT_EQ(waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT), 0);
    EXPECT_EQ(ended.si_pid, 0);
    InstallDeliveredTemplate();
    auto request = Request();
    EXPECT_TRUE(MakeReport(request));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HostileTemplate, PipeInPlaceOfTheTemplateIsRefusedWithoutWaiting) {
    const std::string path = scratch.Path("Public/Documents/Veltra4/atmocalc/templates/Report.xsl");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    auto request = Request();
    EXPECT_FALSE(MakeReport(request)); // would wait for a writer for ever
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"Не удалось загрузить шаблон отчёта.\nError parsing XSLT Document instance.");
    EXPECT_TRUE(TempFiles().empty());
}
