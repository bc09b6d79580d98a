#include "report/ReportHelper.h"

#include "report/HelperProtocol.h"
#include "report/ReportFailure.h"

#include "platform/system/LimitedProcess.h"
#include "platform/system/ModuleFolder.h"
#include "platform/system/OpenFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/text/Utf.h"

#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr uint64_t kMegabyte = 1 << 20;
// What the helper maps before it reads anything (the program and its libraries), the allowance a template
// gets beyond its inputs, and what the parsed inputs take per UTF-16 unit of their texts.
constexpr uint64_t kHelperSpace = 64 * kMegabyte;
constexpr uint64_t kAllowance = 256 * kMegabyte;
constexpr uint64_t kBytesPerInputUnit = 32;
constexpr unsigned kCpuSeconds = 2;
constexpr int kWallMilliseconds = 20'000;
// An answer carries the result twice (its text and its file); 96 MB holds a report of 32 MB.
constexpr size_t kMaxAnswer = 96 * kMegabyte;

// A new process's heap is cold: every page the transformation touches is a fault. Grown in large steps
// of huge pages, and never handed back in between, it costs a fraction of that.
const std::vector<std::string> kHelperEnvironment{"GLIBC_TUNABLES=glibc.malloc.hugetlb=1:glibc.malloc.top_"
                                                  "pad=67108864:glibc.malloc.mmap_threshold=268435456"};

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
    *error = helper->Start(path, kHelperEnvironment);
    return helper;
}

void StartStandby(const std::string& path) {
    auto helper = std::make_unique<LimitedProcess>();
    if (helper->Start(path, kHelperEnvironment) != 0)
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

TransformedReport TransformInHelper(const Bstr& xmlText, const Bstr& xslText) {
    std::string input;
    AppendText(input, xmlText);
    AppendText(input, xslText);
    const uint64_t units = xmlText.size() + xslText.size();
    const ProcessLimits limits{kHelperSpace + kAllowance + kBytesPerInputUnit * units, kCpuSeconds,
                               kWallMilliseconds, kMaxAnswer};
    const std::string helper = ReportHelperPath();
    int error = 0;
    std::unique_ptr<LimitedProcess> process = TakeHelper(helper, &error);
    const ProcessOutcome outcome =
        error == 0 ? process->Run(input, limits) : ProcessOutcome{ProcessOutcome::NotStarted, error, {}};
    process.reset();
    if (outcome.kind != ProcessOutcome::NotStarted)
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
        ThrowCode(XML_E_MEMORY);
    }
    ThrowCode(XML_E_ABORTED);
}
