#include "report/Report.h"
#include "report/ReportStage.h"

bool MakeReport(ReportRequest& request) {
    if (!LoadReportTemplate(request))
        return false;
    try {
        Bstr xml;
        BuildReportXml(request, &xml);
        request.xmlText = std::move(xml);
        TransformReport(request);
        return true;
    } catch (const std::exception& failure) { // the stage has uninitialised COM by now
        ShowStageFailure(kReportStageTexts, failure);
        return false;
    }
}
