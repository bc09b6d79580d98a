#include "report/Report.h"
#include "report/ReportHelper.h"
#include "report/ReportStage.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/system/TempFile.h"
#include "platform/text/Utf.h"

namespace {

// The report's name beside a new, empty temporary file: "vlxA1B2.TMP" gives "vlxA1B2.TMP.html".
std::u16string NewReportPath() {
    const std::u16string folder = TempFolder();
    std::u16string temporary;
    if (const int error = CreateTempFile(folder, u"vlx", &temporary))
        throw ReportFailure("Failed to create a temporary file in \"" + Utf16ToUtf8(folder) +
                            "\": " + Utf16ToUtf8(SystemErrorText(HResultFromErrno(error)).value_or(u"")));
    return temporary + u".html";
}

void ThrowIfWriteFailed(int error) {
    if (error != 0)
        throw ComError(HResultFromErrno(error));
}

} // namespace

void TransformReport(ReportRequest& request) {
    ComStage com;
    TransformedReport report = TransformInHelper(request.xmlText, request.xslText);
    request.resultText = std::move(report.text);

    // outputPath names the file only once it is written, so no caller can open a half-made report.
    if (request.targetPath.empty()) {
        std::u16string path = NewReportPath();
        ThrowIfWriteFailed(WriteNewFile(path, report.bytes, false));
        request.outputPath = std::move(path);
    } else {
        ThrowIfWriteFailed(WriteNewFile(request.targetPath, report.bytes, true));
        request.outputPath = request.targetPath;
    }
}
