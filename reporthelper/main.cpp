// atmocalc-report: transforms one report document with one template, apart from the program that makes
// the report, which starts it under limits of memory and time (report/HelperProtocol.h says what goes in
// and out). Whatever a template does to it - running out of memory, crashing the libraries, running too
// long - ends here, as a failed transformation.
#include "AllocationFailure.h"

#include "report/HelperProtocol.h"

#include "platform/xml/ComInit.h"
#include "platform/xml/XmlDocument.h"

#include <libexslt/exslt.h>

#include <cerrno>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

bool ReadAll(int fd, std::string* bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        bytes->append(buffer, static_cast<size_t>(got));
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(count));
    }
    return true;
}

std::unique_ptr<XmlDocument> Parsed(std::u16string_view text) {
    std::unique_ptr<XmlDocument> document;
    bool loaded = false;
    if (FAILED(CreateXmlDocument(&document)) || FAILED(document->loadXML(text, &loaded)) || !loaded)
        return nullptr;
    return document;
}

// The answer to one report document and template: the step reached, its code, and after Done the
// result's text and the bytes of its file.
std::string Transform(std::u16string_view xml, std::u16string_view xsl) {
    std::string answer;
    const auto source = Parsed(xml);
    if (!source) {
        AppendNumber(answer, static_cast<int32_t>(HelperStep::SourceNotParsed));
        AppendNumber(answer, S_FALSE);
        return answer;
    }
    const auto stylesheet = Parsed(xsl);
    std::unique_ptr<XmlDocument> result;
    if (!stylesheet || FAILED(CreateXmlDocument(&result))) {
        AppendNumber(answer, static_cast<int32_t>(HelperStep::StylesheetNotParsed));
        AppendNumber(answer, S_FALSE);
        return answer;
    }
    HRESULT hr = source->transformNodeToObject(*stylesheet, *result);
    if (FAILED(hr)) {
        AppendNumber(answer, static_cast<int32_t>(HelperStep::Failed));
        AppendNumber(answer, hr);
        return answer;
    }
    std::u16string text;
    std::string bytes;
    if (FAILED(result->get_xml(&text)) || FAILED(hr = result->SavedBytes(&bytes))) {
        AppendNumber(answer, static_cast<int32_t>(HelperStep::ResultNotRead));
        AppendNumber(answer, hr);
        return answer;
    }
    AppendNumber(answer, static_cast<int32_t>(HelperStep::Done));
    AppendNumber(answer, S_OK);
    AppendText(answer, text);
    AppendBytes(answer, bytes);
    return answer;
}

} // namespace

int main() {
    ExitOnAllocationFailure();
    // The extensions a host may have registered for its own use are all there, so that a template meets
    // the same refusals (exsl:document) whatever host the report runs in.
    exsltRegisterAll();

    std::string input;
    if (!ReadAll(STDIN_FILENO, &input))
        return kHelperBadInput;
    std::u16string xml;
    std::u16string xsl;
    MessageReader reader(input);
    if (!reader.Text(&xml) || !reader.Text(&xsl) || !reader.AtEnd())
        return kHelperBadInput;
    input = std::string(); // the texts are copied; their message need not stay

    CoInitialize(); // the first initialisation of a fresh thread, which always succeeds
    const std::string answer = Transform(xml, xsl);
    CoUninitialize();
    return WriteAll(STDOUT_FILENO, answer) ? 0 : kHelperBadInput;
}
