// What the two report stages share (module-internal).
#pragma once

#include "report/ReportFailure.h"

#include "platform/xml/XmlDocument.h"

#include <exception>
#include <memory>
#include <string_view>

// The component model for one stage: initialised on construction (ReportFailure "Failed to initialize
// COM environment." when that fails) and uninitialised once when the stage ends, however it ends.
class ComStage {
public:
    ComStage();
    ~ComStage();
    ComStage(const ComStage&) = delete;
    ComStage& operator=(const ComStage&) = delete;
};

// Throws ComError for a failure code.
void ThrowIfFailed(HRESULT hr);

// A new document; throws ReportFailure with failureText when it cannot be created.
std::unique_ptr<XmlDocument> CreateDocument(const char* failureText);

// The two texts of a stage's error box: with the failure text, and with a code and its text.
struct StageTexts {
    std::u16string_view withText; // "...\n%s"
    std::u16string_view withCode; // "Ошибка %d. ...\n%s"
};
inline constexpr StageTexts kTemplateStageTexts{u"Не удалось загрузить шаблон отчёта.\n%s",
                                                u"Ошибка %d. Не удалось загрузить шаблон отчёта.\n%s"};
inline constexpr StageTexts kReportStageTexts{u"Не удалось создать отчёт.\n%s",
                                              u"Ошибка %d. Не удалось создать отчёт.\n%s"};

// Shows the error box of a failed stage.
void ShowStageFailure(const StageTexts& texts, const std::exception& failure);
