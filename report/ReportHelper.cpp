#include "report/ReportHelper.h"

#include "report/HelperProtocol.h"
#include "report/ReportFailure.h"

#include "platform/system/LimitedProcess.h"
#include "platform/system/SystemErrorText.h"
#include "platform/text/Utf.h"

#include <climits>
#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

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

// The folder of the binary module this code is linked into, without a trailing "/"; empty when unknown.
std::string ModuleFolder() {
    Dl_info info;
    link_map* module = nullptr;
    if (dladdr1(reinterpret_cast<void*>(&ModuleFolder), &info, reinterpret_cast<void**>(&module),
                RTLD_DL_LINKMAP) == 0 ||
        !module)
        return {};
    // The main program has no name of its own in the list of modules.
    char* resolved = realpath(module->l_name[0] ? module->l_name : "/proc/self/exe", nullptr);
    if (!resolved)
        return {};
    std::string path(resolved);
    std::free(resolved);
    return path.substr(0, path.rfind('/'));
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
    const std::string folder = ModuleFolder();
    const std::string beside = folder + "/atmocalc-report";
    const std::string installed = folder + "/../lib/atmocalc/atmocalc-report";
    return access(beside.c_str(), F_OK) != 0 && access(installed.c_str(), F_OK) == 0 ? installed : beside;
}

TransformedReport TransformInHelper(const Bstr& xmlText, const Bstr& xslText) {
    std::string input;
    AppendText(input, xmlText);
    AppendText(input, xslText);
    const uint64_t units = xmlText.size() + xslText.size();
    const ProcessLimits limits{kHelperSpace + kAllowance + kBytesPerInputUnit * units, kCpuSeconds,
                               kWallMilliseconds, kMaxAnswer};
    const std::string helper = ReportHelperPath();
    ProcessOutcome outcome = RunLimitedProcess(helper, input, limits);
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
        ThrowCode(outcome.value == SIGXCPU ? XML_E_TIMEOUT : XML_E_ABORTED);
    case ProcessOutcome::TimedOut:
        ThrowCode(XML_E_TIMEOUT);
    case ProcessOutcome::OutputTooLarge:
        ThrowCode(XML_E_MEMORY);
    }
    ThrowCode(XML_E_ABORTED);
}
