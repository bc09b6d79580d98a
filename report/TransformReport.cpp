#include "report/Report.h"
#include "report/ReportStage.h"

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

} // namespace

void TransformReport(ReportRequest& request) {
    ComStage com;
    auto source = CreateDocument("Failed to create Source Document instance.");
    auto result = CreateDocument("Failed to create Result Document instance.");
    auto stylesheet = CreateDocument("Failed to create Stylesheet Document instance.");

    bool loaded = false;
    ThrowIfFailed(source->put_async(false));
    ThrowIfFailed(source->loadXML(request.xmlText, &loaded));
    if (!loaded)
        throw ReportFailure("Error parsing Source Document instance.");
    ThrowIfFailed(stylesheet->put_async(false));
    ThrowIfFailed(stylesheet->loadXML(request.xslText, &loaded));
    if (!loaded)
        throw ReportFailure("Error parsing Stylesheet Document instance.");
    ThrowIfFailed(result->put_async(false));

    ThrowIfFailed(source->transformNodeToObject(*stylesheet, *result));
    if (FAILED(result->get_xml(&request.resultText)))
        throw ReportFailure("Failed to load result document.");

    // outputPath names the file only once it is written, so no caller can open a half-made report.
    if (request.targetPath.empty()) {
        std::u16string path = NewReportPath();
        ThrowIfFailed(result->save(path, SaveMode::CreateNew));
        request.outputPath = std::move(path);
    } else {
        ThrowIfFailed(result->save(request.targetPath, SaveMode::Replace));
        request.outputPath = request.targetPath;
    }

    source.reset();
    stylesheet.reset();
    result.reset();
}
