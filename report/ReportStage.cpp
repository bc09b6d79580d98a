#include "report/ReportStage.h"

#include "report/Report.h"

#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"
#include "platform/xml/ComInit.h"

ComStage::ComStage() {
    if (FAILED(CoInitialize()))
        throw ReportFailure("Failed to initialize COM environment.");
}

ComStage::~ComStage() {
    CoUninitialize();
}

void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr))
        throw ComError(hr);
}

std::unique_ptr<XmlDocument> CreateDocument(const char* failureText) {
    std::unique_ptr<XmlDocument> document;
    if (FAILED(CreateXmlDocument(&document)))
        throw ReportFailure(failureText);
    return document;
}

void ShowStageFailure(const StageTexts& texts, const std::exception& failure) {
    const auto* comError = dynamic_cast<const ComError*>(&failure);
    const std::u16string text =
        comError ? FormatText(texts.withCode, comError->Error(), ComErrorText(comError->Error()))
                 : FormatText(texts.withText, Utf8ToUtf16(failure.what()));
    ShowMessageBox(nullptr, text, u"atmocalc", MB_OK | MB_ICONERROR);
}
