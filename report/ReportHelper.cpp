#include "report/ReportHelper.h"

#include "report/HelperProtocol.h"
#include "report/ReportFailure.h"

#include "platform/system/LimitedProcess.h"
#include "platform/system/ModuleFolder.h"
#include "platform/system/OpenFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/text/Utf.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr uint64_t kMegabyte = 1 << 20;
// What the helper maps before it reads anything (the program and its libraries), the allowance a template
// gets beyond its inputs, what the parsed report document takes per UTF-16 unit of its text, and what
// the template's own text may take. The template is counted by a small fixed amount, not by its size:
// otherwise a template could raise its own limit by carrying megabytes of comments. It is at most 16 MB
// (LoadReportTemplate), and the 256 MB hold that much of it parsed as well.
constexpr uint64_t kHelperSpace = 64 * kMegabyte;
constexpr uint64_t kAllowance = 256 * kMegabyte;
constexpr uint64_t kBytesPerDocumentUnit = 32;
constexpr uint64_t kTemplateAllowance = 32 * kMegabyte;
constexpr unsigned kCpuSeconds = 2;
constexpr int kWallMilliseconds = 20'000;
// An answer carries the result twice (its text and its file); 96 MB holds a report of 32 MB.
constexpr size_t kMaxAnswer = 96 * kMegabyte;
// What is kept of the helper's standard error (a template's xsl:message goes there) and passed on to
// this process's; a template that sends more cannot flood a desktop session's log.
constexpr size_t kMaxErrors = 64 * 1024;

// A new process's heap is cold: every page the transformation touches is a fault. Grown in large steps,
// and never handed back in between, it costs a fraction of that. Not in huge pages: on a machine whose
// memory is fragmented the kernel compacts memory to find each one, at the helper's expense, and that
// system time varied from 0.4 to 1.4 s for the same report against the 2 s processor limit (small pages:
// 0.5 to 0.7 s).
// The helper also learns which process started it, so that it can tell whether that one is still there
// (HelperProtocol.h).
std::vector<std::string> HelperEnvironment() {
    return {"GLIBC_TUNABLES=glibc.malloc.hugetlb=0:glibc.malloc.top_pad=67108864:glibc.malloc.mmap_threshold="
            "268435456",
            std::string(kHelperParentVariable) + "=" + std::to_string(CurrentProcessId())};
}

// The helper for the next report, started as the last one ended, so that a report does not wait for the
// program to load its libraries. It serves one report, like every helper; it is killed when the module
// goes.
std::mutex standbyMutex;
std::unique_ptr<LimitedProcess> standby;

// A started helper at path: the one on standby when it is still waiting there, else a new one.
std::unique_ptr<LimitedProcess> TakeHelper(const std::string& path, int* error) {
    {
        std::lock_guard lock(standbyMutex);
        if (standby && standby->Program() == path && standby->Waiting())
            return std::move(standby);
        standby.reset();
    }
    auto helper = std::make_unique<LimitedProcess>();
    *error = helper->Start(path, HelperEnvironment());
    return helper;
}

void StartStandby(const std::string& path) {
    auto helper = std::make_unique<LimitedProcess>();
    if (helper->Start(path, HelperEnvironment()) != 0)
        return; // the next report starts its own and says why it cannot
    std::lock_guard lock(standbyMutex);
    standby = std::move(helper);
}

[[noreturn]] void ThrowCode(HRESULT code) {
    throw ComError(code);
}

TransformedReport ReadAnswer(std::string_view answer) {
    MessageReader reader(answer);
    int32_t step = 0;
    int32_t code = 0;
    if (!reader.Number(&step) || !reader.Number(&code))
        ThrowCode(XML_E_ABORTED);
    switch (static_cast<HelperStep>(step)) {
    case HelperStep::Done: {
        TransformedReport report;
        if (!reader.Text(&report.text) || !reader.Bytes(&report.bytes) || !reader.AtEnd())
            ThrowCode(XML_E_ABORTED);
        return report;
    }
    case HelperStep::SourceNotParsed:
        throw ReportFailure("Error parsing Source Document instance.");
    case HelperStep::StylesheetNotParsed:
        throw ReportFailure("Error parsing Stylesheet Document instance.");
    case HelperStep::Failed:
        ThrowCode(FAILED(code) ? code : XML_E_ABORTED);
    case HelperStep::ResultNotRead:
        throw ReportFailure("Failed to load result document.");
    }
    ThrowCode(XML_E_ABORTED);
}

} // namespace

std::string ReportHelperPath() {
    const std::u16string folder = ModuleFolder();
    const std::u16string program = ProgramFileName(u"atmocalc-report");
    const std::u16string beside = folder + u"/" + program;
    const std::u16string installed = folder + u"/../lib/atmocalc/" + program;
    return Utf16ToUtf8(!PathExists(beside) && PathExists(installed) ? installed : beside);
}

TransformedReport TransformInHelper(const Bstr& xmlText, const Bstr& xslText, bool startStandby) {
    std::string input;
    AppendText(input, xmlText);
    AppendText(input, xslText);
    const ProcessLimits limits{kHelperSpace + kAllowance + kBytesPerDocumentUnit * xmlText.size() +
                                   kTemplateAllowance,
                               kCpuSeconds, kWallMilliseconds, kMaxAnswer, kMaxErrors};
    const std::string helper = ReportHelperPath();
    int error = 0;
    std::unique_ptr<LimitedProcess> process = TakeHelper(helper, &error);
    const ProcessOutcome outcome =
        error == 0 ? process->Run(input, limits) : ProcessOutcome{ProcessOutcome::NotStarted, error, {}, {}};
    process.reset();
    if (!outcome.errors.empty())
        std::fwrite(outcome.errors.data(), 1, outcome.errors.size(), stderr);
    if (outcome.kind != ProcessOutcome::NotStarted && startStandby)
        StartStandby(helper);
    switch (outcome.kind) {
    case ProcessOutcome::NotStarted:
        throw ReportFailure("Failed to start the report helper \"" + helper + "\": " +
                            Utf16ToUtf8(SystemErrorText(HResultFromErrno(outcome.value)).value_or(u"")));
    case ProcessOutcome::Exited:
        if (outcome.value == kHelperOutOfMemory)
            ThrowCode(XML_E_MEMORY);
        if (outcome.value != 0)
            ThrowCode(XML_E_ABORTED);
        return ReadAnswer(outcome.output);
    case ProcessOutcome::Lost: // no status to go by, but a whole answer is one
        return ReadAnswer(outcome.output);
    case ProcessOutcome::Signalled:
        ThrowCode(EndedAtProcessorLimit(outcome) ? XML_E_TIMEOUT : XML_E_ABORTED);
    case ProcessOutcome::TimedOut:
        ThrowCode(XML_E_TIMEOUT);
    case ProcessOutcome::OutputTooLarge:
        ThrowCode(XML_E_RESULTTOOLARGE);
    }
    ThrowCode(XML_E_ABORTED);
}
