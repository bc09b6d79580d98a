#include "report/Report.h"
#include "report/ReportStage.h"

#include "platform/system/Environment.h"
#include "platform/text/Format.h"

namespace {
constexpr uint64_t kMaxTemplateBytes = 16 << 20; // the delivered template has about 40 KB
}

std::u16string TemplateFolder() {
    const auto publicFolder = GetEnvironmentText("PUBLIC");
    if (!publicFolder)
        return {};
    return FormatText(u"%s/Documents", *publicFolder) + u"/Veltra4/atmocalc/templates";
}

bool LoadReportTemplate(ReportRequest& request) {
    std::u16string path = request.templatePath;
    if (path.empty()) {
        const std::u16string folder = TemplateFolder();
        if (folder.empty())
            return false;
        path = folder + u"/Report.xsl";
    }
    try {
        ComStage com;
        const auto document = CreateDocument("Failed to create XSLT Document instance.");
        ThrowIfFailed(document->put_async(false));
        bool loaded = false;
        // The template is untrusted: one larger than any real one is refused before the host reads it.
        const HRESULT hr = document->load(path, &loaded, kMaxTemplateBytes);
        if (hr == XML_E_TOOLARGE)
            throw ReportFailure("The template is larger than 16 MB and was not read.");
        ThrowIfFailed(hr);
        if (!loaded)
            throw ReportFailure("Error parsing XSLT Document instance.");
        if (FAILED(document->get_xml(&request.xslText)))
            throw ReportFailure("Failed to save result document.");
        return true;
    } catch (const std::exception& failure) { // COM is uninitialised by now
        ShowStageFailure(kTemplateStageTexts, failure);
        return false;
    }
}
