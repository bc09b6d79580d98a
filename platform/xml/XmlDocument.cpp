#include "XmlDocument.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"
#include "platform/xml/ComInit.h"
#include "platform/xml/XmlParse.h"
#include "platform/xml/XsltTransform.h"

#include <libxml/xmlsave.h>
#include <libxslt/xsltutils.h>

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {

// Collects a serialisation, which the library writes as UTF-8 a piece at a time, as UTF-16 text. A
// character split between two pieces waits for the rest of it.
struct Utf16Collector {
    std::u16string* text;
    std::string pending;

    static int Write(void* context, const char* bytes, int length) {
        auto* collector = static_cast<Utf16Collector*>(context);
        try {
            collector->pending.append(bytes, static_cast<size_t>(length));
            collector->text->append(Utf8ToUtf16(collector->TakeComplete()));
            return length;
        } catch (const std::bad_alloc&) {
            return -1;
        }
    }

    // Removes and returns the pending bytes up to the last character that is complete.
    std::string TakeComplete() {
        size_t end = pending.size();
        size_t lead = end;
        while (lead > 0 && end - lead < 4 && (static_cast<unsigned char>(pending[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0) {
            const auto first = static_cast<unsigned char>(pending[lead - 1]);
            const size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
            if (end - (lead - 1) < length)
                end = lead - 1;
        }
        std::string complete = pending.substr(0, end);
        pending.erase(0, end);
        return complete;
    }
};

// The text of a result as its stylesheet's output method says, any other document as XML, into text.
bool SerialiseAsText(xmlDocPtr doc, xsltStylesheetPtr style, std::u16string* text) {
    Utf16Collector collector{text, {}};
    if (style) {
        xmlOutputBufferPtr out = xmlOutputBufferCreateIO(Utf16Collector::Write, nullptr, &collector, nullptr);
        if (!out)
            return false;
        const bool written = xsltSaveResultTo(out, doc, style) >= 0;
        if (xmlOutputBufferClose(out) < 0 || !written)
            return false;
    } else {
        xmlSaveCtxtPtr save = xmlSaveToIO(Utf16Collector::Write, nullptr, &collector, "UTF-8", 0);
        if (!save)
            return false;
        const bool written = xmlSaveDoc(save, doc) >= 0;
        if (xmlSaveClose(save) < 0 || !written)
            return false;
    }
    text->append(Utf8ToUtf16(collector.pending)); // a broken last character, as U+FFFD
    return true;
}

// Writes the text of a document into an open file: a result in the encoding its stylesheet names, any
// other document in UTF-8. Returns 0, or the errno value of the failure.
int SerialiseToFile(xmlDocPtr doc, xsltStylesheetPtr style, int fd) {
    errno = 0;
    bool written;
    if (style) {
        written = xsltSaveResultToFd(fd, doc, style) >= 0;
    } else {
        xmlSaveCtxtPtr save = xmlSaveToFd(fd, "UTF-8", 0);
        written = save && xmlSaveDoc(save, doc) >= 0;
        written = save && xmlSaveClose(save) >= 0 && written;
    }
    return written ? 0 : errno != 0 ? errno : EIO;
}

} // namespace

XmlDocument::~XmlDocument() {
    xmlFreeDoc(doc);
}

void XmlDocument::Replace(_xmlDoc* newDoc, std::shared_ptr<_xsltStylesheet> newStyle) {
    xmlFreeDoc(doc);
    doc = newDoc;
    outputStyle = std::move(newStyle);
}

HRESULT XmlDocument::put_async(bool) {
    return S_OK;
}

HRESULT XmlDocument::Loaded(_xmlDoc* newDoc, bool* isSuccessful) {
    Replace(newDoc, nullptr);
    *isSuccessful = doc != nullptr;
    return doc ? S_OK : S_FALSE;
}

HRESULT XmlDocument::load(std::u16string_view path, bool* isSuccessful) {
    try {
        const std::string name = Utf16ToUtf8(path);
        const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
        xmlDocPtr loaded = fd >= 0 ? ParseXmlFile(fd, name.c_str()) : nullptr;
        if (fd >= 0)
            close(fd);
        return Loaded(loaded, isSuccessful);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT XmlDocument::loadXML(std::u16string_view text, bool* isSuccessful) {
    return Loaded(ParseXmlText(text), isSuccessful);
}

HRESULT XmlDocument::get_xml(std::u16string* xml) const {
    try {
        std::u16string text;
        if (doc && !SerialiseAsText(doc, outputStyle.get(), &text))
            return E_OUTOFMEMORY;
        *xml = std::move(text);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT XmlDocument::transformNodeToObject(const XmlDocument& stylesheet, XmlDocument& output) const {
    if (!doc || !stylesheet.doc)
        return XML_E_NOTLOADED;
    xmlDocPtr result = nullptr;
    CompiledStylesheet compiled;
    const HRESULT hr = TransformXml(doc, stylesheet.doc, &result, &compiled);
    if (SUCCEEDED(hr))
        output.Replace(result, std::move(compiled));
    return hr;
}

HRESULT XmlDocument::save(std::u16string_view path, SaveMode mode) const {
    if (!doc)
        return XML_E_NOTLOADED;
    try {
        NewFile file;
        int error = file.Create(path, mode == SaveMode::Replace);
        if (error == 0)
            error = SerialiseToFile(doc, outputStyle.get(), file.Descriptor());
        if (error == 0)
            error = file.Commit();
        return error == 0 ? S_OK : HResultFromErrno(error);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CreateXmlDocument(std::unique_ptr<XmlDocument>* document) {
    APTTYPE type;
    if (FAILED(CoGetApartmentType(&type)))
        return CO_E_NOTINITIALIZED;
    document->reset(new (std::nothrow) XmlDocument());
    return *document ? S_OK : E_OUTOFMEMORY;
}
