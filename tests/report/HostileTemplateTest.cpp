// Templates that try to take the host down with memory, time or a file in the template's place: each
// is refused with its box, the test process stays small and alive, and nothing is written.
#include "ReportTestSupport.h"

#include "report/ReportFailure.h"

#include "platform/text/Format.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

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

namespace {

constexpr long kMegabyteKb = 1024;

// Peak resident memory in KB: of this process, and of the largest of its children that have ended (the
// helpers, each waited for when its report ends).
long SelfPeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
long ChildrenPeakKb() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

// Comments of 1 MB each, put in front of a template's first top-level element: the template stays
// valid and does the same, only larger.
std::string Padded(const std::string& text, int megabytes) {
    std::string padding;
    for (int i = 0; i < megabytes; ++i)
        padding += "<!--" + std::string((1 << 20) - 7, 'p') + "-->";
    std::string padded = text;
    padded.insert(padded.find("<xsl:template"), padding);
    return padded;
}

// The process ids of the running report helpers whose parent is parent.
std::vector<pid_t> HelpersOf(pid_t parent) {
    std::vector<pid_t> helpers;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string stat = ScratchFolder::Read(entry.path().string() + "/stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos || stat.find("(atmocalc-report)") == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent)
            helpers.push_back(std::stoi(name));
    }
    return helpers;
}

// True when the process has ended (gone, or a zombie waiting for whoever adopted it).
bool Ended(pid_t pid) {
    const std::string stat = ScratchFolder::Read("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    return close == std::string::npos || stat[close + 2] == 'Z' || stat[close + 2] == 'X';
}

} // namespace

// Runs body in a process of its own, as the host of its reports, and measures that process tree: the
// growth of the host's peak resident memory while body runs and the peak of its largest helper, in KB.
// success is what body returned.
struct TreePeak {
    bool success = false;
    long hostKb = -1;
    long helperKb = -1;
};
TreePeak MeasureTree(const std::function<bool()>& body) {
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    std::fflush(stdout);
    const pid_t host = fork();
    if (host == 0) {
        const long before = SelfPeakKb();
        TreePeak peak;
        peak.success = body();
        peak.hostKb = SelfPeakKb() - before;
        peak.helperKb = ChildrenPeakKb();
        write(channel[1], &peak, sizeof peak);
        _exit(0);
    }
    close(channel[1]);
    TreePeak peak;
    if (read(channel[0], &peak, sizeof peak) != sizeof peak)
        peak = {};
    close(channel[0]);
    waitpid(host, nullptr, 0);
    return peak;
}

// The host never parses a template beyond 16 MB: it is refused before it is read, saying why.
TEST_F(HostileTemplate, TemplateOver16MbIsRefusedBeforeItIsRead) {
    InstallTemplate(Padded(TemplateWith("<p>report</p>"), 17));
    const TreePeak peak = MeasureTree([&] {
        auto request = Request();
        return !MakeReport(request) && request.xslText.empty() && boxes.boxes.size() == 1 &&
               boxes.boxes[0].text == u"Не удалось загрузить шаблон отчёта.\nThe template is larger than 16 "
                                      u"MB and was not read.";
    });
    EXPECT_TRUE(peak.success) << "refused with its box";
    EXPECT_LT(peak.hostKb + peak.helperKb, 8 * kMegabyteKb);
    std::printf("17 MB template: peak growth of the host %ld KB, helper %ld KB\n", peak.hostKb,
                peak.helperKb);
}

// Megabytes of comments buy a template no memory: padded with 10 MB (which bought 320 MB before),
// the bombs stop where they stop without padding, their helper under 400 MB.
TEST_F(HostileTemplate, PaddingDoesNotRaiseATemplatesMemoryLimit) {
    for (uint32_t id = 1; id <= 50; ++id)
        measurements[id] = Measurement(FormatText(u"/data/%d.vlx", id), u"проба", WithCartridge);
    for (const std::string& bomb : {CopyOfDoubling(24), StringDoubling(35)}) {
        InstallTemplate(Padded(bomb, 10));
        const TreePeak peak = MeasureTree([&] {
            auto request = Request();
            return !MakeReport(request) && boxes.boxes.size() == 1 && StoppedByABound(boxes.boxes[0].text);
        });
        EXPECT_TRUE(peak.success) << "stopped by a bound";
        EXPECT_LT(peak.helperKb, 400 * kMegabyteKb);
        std::printf("padded bomb: peak growth of the host %ld KB, helper %ld KB\n", peak.hostKb,
                    peak.helperKb);
    }
}

// A template that sends a megabyte a hundred times with xsl:message: the host's standard error gets at
// most the first 64 KB, and the report is made.
TEST_F(HostileTemplate, MessagesReachTheHostsStandardErrorOnlyUpTo64Kb) {
    InstallTemplate(TemplateWith(
        "<xsl:call-template name=\"say\"><xsl:with-param name=\"n\" "
        "select=\"100\"/></xsl:call-template><p>done</p>",
        "<xsl:variable name=\"big\" select=\"str:padding(1048576, 'm')\"/>"
        "<xsl:template name=\"say\"><xsl:param name=\"n\"/><xsl:if test=\"$n &gt; 0\">"
        "<xsl:message><xsl:value-of select=\"$big\"/></xsl:message>"
        "<xsl:call-template name=\"say\"><xsl:with-param name=\"n\" select=\"$n - 1\"/></xsl:call-template>"
        "</xsl:if></xsl:template>",
        " xmlns:str=\"http://exslt.org/strings\""));
    const std::string captured = scratch.Path("stderr.txt");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int file = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(file, 0);
    dup2(file, STDERR_FILENO);
    auto request = Request();
    const bool made = MakeReport(request);
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(file);
    EXPECT_TRUE(made);
    const auto written = std::filesystem::file_size(captured);
    EXPECT_GT(written, 0u);
    EXPECT_LE(written, 64u * 1024);
    std::printf("100 messages of 1 MB: %ju bytes on the host's standard error\n",
                static_cast<uintmax_t>(written));
}

// Seconds of processor time a process has used.
double CpuSeconds(pid_t pid) {
    const std::string stat = ScratchFolder::Read("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    unsigned long user = 0, system = 0;
    if (close == std::string::npos ||
        std::sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user,
                    &system) != 2)
        return 0;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A helper dies with its host: one stopped on standby, which would otherwise stay stopped for ever, and
// one busy with a transformation, which would otherwise go on until its processor limit.
TEST_F(HostileTemplate, HelperDiesWithItsHost) {
    for (const bool running : {false, true}) {
        if (running) // about 4 s of processor time, past the helper's 2 s
            InstallTemplate(TemplateWith(
                "<xsl:variable name=\"s\" select=\"str:padding(20000, 'a')\"/>"
                "<xsl:for-each select=\"str:tokenize(str:padding(6000, 'a'), '')\">"
                "<xsl:value-of select=\"string-length(translate(translate($s, 'a', 'b'), 'b', 'c'))\"/>"
                "</xsl:for-each>",
                "", " xmlns:str=\"http://exslt.org/strings\""));
        else
            InstallDeliveredTemplate();
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        std::fflush(stdout);
        const pid_t host = fork();
        ASSERT_GE(host, 0);
        if (host == 0) {
            auto request = Request();
            // Without running, the report is made and leaves a helper waiting for the next one.
            const char made = MakeReport(request) ? 1 : 0;
            write(ready[1], &made, 1);
            for (;;)
                pause();
        }
        close(ready[1]);
        std::vector<pid_t> helpers;
        if (running) {
            for (int i = 0; i < 500 && (helpers.empty() || CpuSeconds(helpers[0]) < 0.2); ++i) {
                usleep(10'000);
                helpers = HelpersOf(host);
            }
        } else {
            char made = 0;
            ASSERT_EQ(read(ready[0], &made, 1), 1);
            EXPECT_EQ(made, 1);
            helpers = HelpersOf(host);
        }
        close(ready[0]);
        ASSERT_EQ(helpers.size(), 1u) << (running ? "running" : "on standby");
        if (!running)
            kill(helpers[0], SIGSTOP);
        kill(host, SIGKILL);
        waitpid(host, nullptr, 0);
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            ended = Ended(helpers[0]);
            if (!ended)
                usleep(10'000);
        }
        EXPECT_TRUE(ended) << "the helper " << (running ? "running" : "on standby") << " outlived its host";
        if (!ended)
            kill(helpers[0], SIGKILL);
    }
}

// A report too large to be taken back from the helper says so, instead of blaming the memory limit.
TEST_F(HostileTemplate, ReportLargerThanTheReadBackIsToldAsTooLarge) {
    auto request = Request();
    // The answer carries the result as UTF-16 text and as its file; a file in UTF-32 makes 16 million
    // characters (6 bytes each) too large, with little work and memory on the way, so that the answer's
    // size is what stops the helper. Two text nodes: the parser takes none longer than 10 million.
    const std::u16string half = u"<a>" + std::u16string(8 << 20, u'x') + u"</a>";
    request.xmlText = u"<root>" + half + half + u"</root>";
    request.xslText = Utf8ToUtf16(
        TemplateWith("<xsl:value-of select=\"root\"/>", "<xsl:output method=\"text\" encoding=\"UTF-32\"/>"));
    try {
        TransformReport(request);
        ADD_FAILURE() << "a report of 96 million bytes was taken back";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Error(), -2147220727);
        EXPECT_EQ(ComErrorText(error.Error()),
                  u"The report was too large: the transformation made more than can be taken back.");
    }
    EXPECT_TRUE(request.outputPath.empty());
}
