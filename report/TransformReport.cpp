#include "report/Report.h"
#include "report/ReportHelper.h"
#include "report/ReportStage.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/system/TempFile.h"
#include "platform/text/Utf.h"

namespace {

// How many temporary names a report tries when the ".html" beside each is taken: in a shared temporary
// folder anyone may make such files, and a new name costs only one more empty file.
constexpr int kReportNameAttempts = 32;

[[noreturn]] void ThrowWriteFailed(const std::u16string& path, int error) {
    const std::string refusal = ReplacementRefusalText(path, error);
    if (!refusal.empty())
        throw ReportFailure(refusal);
    throw ComError(HResultFromErrno(error));
}

// Writes the report beside a new, empty temporary file: "vlxA1B2.TMP" gives "vlxA1B2.TMP.html". A name
// whose ".html" exists already keeps its temporary file, so that the next attempt gets another name.
std::u16string WriteNewReport(std::string_view bytes) {
    const std::u16string folder = TempFolder();
    int error = 0;
    for (int attempt = 0; attempt < kReportNameAttempts; ++attempt) {
        std::u16string temporary;
        if ((error = CreateTempFile(folder, u"vlx", &temporary)) != 0)
            throw ReportFailure("Failed to create a temporary file in \"" + Utf16ToUtf8(folder) +
                                "\": " + Utf16ToUtf8(SystemErrorText(HResultFromErrno(error)).value_or(u"")));
        std::u16string path = temporary + u".html";
        if ((error = WriteNewFile(path, bytes, false)) == 0)
            return path;
        if (error != kNameTakenError)
            break;
    }
    throw ComError(HResultFromErrno(error));
}

} // namespace

void TransformReport(ReportRequest& request) {
    ComStage com;
    TransformedReport report =
        TransformInHelper(request.xmlText, request.xslText, request.startStandbyHelper);
    request.resultText = std::move(report.text);

    // outputPath names the file only once it is written, so no caller can open a half-made report.
    if (request.targetPath.empty()) {
        request.outputPath = WriteNewReport(report.bytes);
    } else {
        if (const int error = WriteNewFile(request.targetPath, report.bytes, true))
            ThrowWriteFailed(request.targetPath, error);
        request.outputPath = request.targetPath;
    }
}
