// atmocalc-report: transforms one report document with one template, apart from the program that makes
// the report, which starts it under limits of memory and time (report/HelperProtocol.h says what goes in
// and out). Whatever a template does to it - running out of memory, crashing the libraries, running too
// long - ends here, as a failed transformation.
#include "AllocationFailure.h"

#include "report/HelperProtocol.h"

#include "platform/system/OpenFile.h"
#include "platform/xml/ComInit.h"
#include "platform/xml/XmlDocument.h"

#include <libexslt/exslt.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::unique_ptr<XmlDocument> Parsed(std::u16string_view text) {
    std::unique_ptr<XmlDocument> document;
    bool loaded = false;
    if (FAILED(CreateXmlDocument(&document)) || FAILED(document->loadXML(text, &loaded)) || !loaded)
        return nullptr;
    return document;
}

// Writes the answer - the step reached and its code, after Done the result's text and the bytes of its
// file - and ends the program. Its documents are not taken apart first: the system frees all of its
// memory at once, and the report waits for the end of the program.
[[noreturn]] void Answer(HelperStep step, HRESULT code, std::u16string_view text = {},
                         std::string_view bytes = {}) {
    std::string answer;
    AppendNumber(answer, static_cast<int32_t>(step));
    AppendNumber(answer, code);
    if (step == HelperStep::Done) {
        AppendText(answer, text);
        AppendBytes(answer, bytes);
    }
    std::_Exit(WriteStandardOutput(answer) == 0 ? 0 : kHelperBadInput);
}

[[noreturn]] void Transform(std::u16string_view xml, std::u16string_view xsl) {
    const auto source = Parsed(xml);
    if (!source)
        Answer(HelperStep::SourceNotParsed, S_FALSE);
    const auto stylesheet = Parsed(xsl);
    std::unique_ptr<XmlDocument> result;
    if (!stylesheet || FAILED(CreateXmlDocument(&result)))
        Answer(HelperStep::StylesheetNotParsed, S_FALSE);
    HRESULT hr = source->transformNodeToObject(*stylesheet, *result);
    if (FAILED(hr))
        Answer(HelperStep::Failed, hr);
    std::u16string text;
    std::string bytes;
    if (FAILED(hr = result->get_xml(&text)) || FAILED(hr = result->SavedBytes(&bytes)))
        Answer(HelperStep::ResultNotRead, hr);
    Answer(HelperStep::Done, S_OK, text, bytes);
}

} // namespace

int main() {
    ExitOnAllocationFailure();
    // The extensions a host may have registered for its own use are all there, so that a template meets
    // the same refusals (exsl:document) whatever host the report runs in.
    exsltRegisterAll();

    std::string input;
    if (!ReadStandardInput(&input))
        return kHelperBadInput;
    std::u16string xml;
    std::u16string xsl;
    MessageReader reader(input);
    if (!reader.Text(&xml) || !reader.Text(&xsl) || !reader.AtEnd())
        return kHelperBadInput;
    input = std::string(); // the texts are copied; their message need not stay

    CoInitialize(); // the first initialisation of a fresh thread, which always succeeds
    Transform(xml, xsl);
}
