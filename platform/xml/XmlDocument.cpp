#include "XmlDocument.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"
#include "platform/xml/ComInit.h"
#include "platform/xml/XmlParse.h"
#include "platform/xml/XsltTransform.h"

#include <libxml/encoding.h>
#include <libxslt/xsltutils.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <new>

namespace {

// The document's text in UTF-8: a result as its stylesheet's output method says, any other document as
// XML. False when memory runs out.
bool SerialiseUtf8(xmlDocPtr doc, xsltStylesheetPtr style, std::string* bytes) {
    if (!style) {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpMemoryEnc(doc, &text, &size, "UTF-8");
        if (!text)
            return false;
        bytes->assign(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
        xmlFree(text);
        return true;
    }
    xmlOutputBufferPtr out = xmlAllocOutputBuffer(nullptr);
    if (!out)
        return false;
    const bool written = xsltSaveResultTo(out, doc, style) >= 0;
    if (written)
        bytes->assign(reinterpret_cast<const char*>(xmlOutputBufferGetContent(out)),
                      xmlOutputBufferGetSize(out));
    xmlOutputBufferClose(out);
    return written;
}

// A result's text in the encoding its stylesheet names, when that is not UTF-8. False when memory runs
// out or the encoding is unknown.
bool SerialiseInOutputEncoding(xmlDocPtr doc, xsltStylesheetPtr style, std::string* bytes) {
    xmlChar* text = nullptr;
    int size = 0;
    if (xsltSaveResultToString(&text, &size, doc, style) != 0)
        return false;
    if (text) // an empty text comes as null
        bytes->assign(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
    xmlFree(text);
    return true;
}

bool IsUtf8(const xmlChar* encoding) {
    return !encoding ||
           xmlParseCharEncoding(reinterpret_cast<const char*>(encoding)) == XML_CHAR_ENCODING_UTF8;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

} // namespace

XmlDocument::~XmlDocument() {
    xmlFreeDoc(doc);
}

void XmlDocument::Replace(_xmlDoc* newDoc, std::shared_ptr<_xsltStylesheet> newStyle) {
    xmlFreeDoc(doc);
    doc = newDoc;
    outputStyle = std::move(newStyle);
    utf8Text.reset();
}

const std::string* XmlDocument::Utf8Text() const {
    if (!utf8Text) {
        std::string text;
        if (doc && !SerialiseUtf8(doc, outputStyle.get(), &text))
            return nullptr;
        utf8Text = std::move(text);
    }
    return &*utf8Text;
}

HRESULT XmlDocument::put_async(bool) {
    return S_OK;
}

HRESULT XmlDocument::LoadBytes(std::string_view bytes, const char* url, const char* encoding,
                               bool* isSuccessful) {
    Replace(ParseXml(bytes, url, encoding), nullptr);
    *isSuccessful = doc != nullptr;
    return doc ? S_OK : S_FALSE;
}

HRESULT XmlDocument::load(std::u16string_view path, bool* isSuccessful) {
    try {
        const std::string name = Utf16ToUtf8(path);
        std::string bytes;
        if (!ReadWholeFile(name, &bytes)) {
            Replace(nullptr, nullptr);
            *isSuccessful = false;
            return S_FALSE;
        }
        return LoadBytes(bytes, name.c_str(), nullptr, isSuccessful);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT XmlDocument::loadXML(std::u16string_view text, bool* isSuccessful) {
    try {
        return LoadBytes(Utf16ToUtf8(text), nullptr, "UTF-8", isSuccessful);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT XmlDocument::get_xml(std::u16string* xml) const {
    try {
        const std::string* text = Utf8Text();
        if (!text)
            return E_OUTOFMEMORY;
        *xml = Utf8ToUtf16(*text);
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
        std::string converted;
        const std::string* bytes = &converted;
        if (!outputStyle || IsUtf8(outputStyle->encoding))
            bytes = Utf8Text();
        else if (!SerialiseInOutputEncoding(doc, outputStyle.get(), &converted))
            bytes = nullptr;
        if (!bytes)
            return E_OUTOFMEMORY;
        const int error =
            mode == SaveMode::CreateNew ? WriteNewFile(path, *bytes) : ReplaceFile(path, *bytes);
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
