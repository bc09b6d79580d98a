// The report's transformation, run in the helper program atmocalc-report under limits of memory and
// time, so that no template can take the host's process down with it (module-internal).
#pragma once

#include "report/ReportRequest.h"

#include <string>

// The helper: atmocalc-report in the folder of the binary module that holds the report (the plug-in, or
// the program it is linked into), else in <that folder>/../lib/atmocalc/; the first when neither exists.
std::string ReportHelperPath();

struct TransformedReport {
    Bstr text;         // the result's text
    std::string bytes; // the result as its file holds it, in the encoding the template names
};

// Transforms the report document xmlText with the template xslText in a helper, with at most 256 MB
// beyond what the document needs and a fixed 32 MB for the template, 2 s of processor time and 20 s in
// all; the first 64 KB of what the helper writes to its standard error go on to this process's, the rest
// is dropped. Throws ReportFailure with the text of the step that failed (the helper cannot be started, a
// text does not parse, the result cannot be read), ComError with the transformation's own code, or with
// XML_E_MEMORY, XML_E_TIMEOUT, XML_E_RESULTTOOLARGE or XML_E_ABORTED (the helper needed more memory or
// time, made a result of more than 96 MB with its file, or ended otherwise without an answer), or
// std::bad_alloc. Each helper serves one report; with startStandby, the next one is started as this one
// ends and waits, limited only once it has its input, so that the next report does not wait for it to
// load. A helper dies with the process that started it.
TransformedReport TransformInHelper(const Bstr& xmlText, const Bstr& xslText, bool startStandby);
