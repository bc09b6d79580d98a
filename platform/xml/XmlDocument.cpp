#include "XmlDocument.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/system/OpenFile.h"
#include "platform/text/Utf.h"
#include "platform/xml/CodePageEncoding.h"
#include "platform/xml/ComInit.h"
#include "platform/xml/XmlParse.h"
#include "platform/xml/XsltTransform.h"

#include <libxml/encoding.h>
#include <libxml/xmlsave.h>
#include <libxslt/imports.h>
#include <libxslt/xsltutils.h>

#include <new>

namespace {

// Collects what the library writes a piece at a time.
int CollectBytes(void* context, const char* bytes, int length) {
    try {
        static_cast<std::string*>(context)->append(bytes, static_cast<size_t>(length));
        return length;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

// The text of a document: a result as its stylesheet's output method says, any other document as XML in
// UTF-8. A result is in UTF-8 too unless inOwnEncoding, when it is in the encoding its stylesheet names,
// as a file of it is written. False when memory runs out.
bool Serialise(xmlDocPtr doc, xsltStylesheetPtr style, bool inOwnEncoding, std::string* text) {
    EnsureCodePageEncodings();
    if (style) {
        const xmlChar* encoding = nullptr;
        XSLT_GET_IMPORT_PTR(encoding, style, encoding)
        xmlCharEncodingHandlerPtr encoder =
            inOwnEncoding && encoding ? xmlFindCharEncodingHandler(reinterpret_cast<const char*>(encoding))
                                      : nullptr;
        if (encoder && xmlStrEqual(BAD_CAST encoder->name, BAD_CAST "UTF-8"))
            encoder = nullptr;
        xmlOutputBufferPtr out = xmlOutputBufferCreateIO(CollectBytes, nullptr, text, encoder);
        if (!out)
            return false;
        const bool written = xsltSaveResultTo(out, doc, style) >= 0;
        return xmlOutputBufferClose(out) >= 0 && written;
    }
    xmlSaveCtxtPtr save = xmlSaveToIO(CollectBytes, nullptr, text, "UTF-8", 0);
    if (!save)
        return false;
    const bool written = xmlSaveDoc(save, doc) >= 0;
    return xmlSaveClose(save) >= 0 && written;
}

bool IsUtf8(const xmlChar* encoding) {
    return !encoding ||
           xmlParseCharEncoding(reinterpret_cast<const char*>(encoding)) == XML_CHAR_ENCODING_UTF8;
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
        if (doc && !Serialise(doc, outputStyle.get(), false, &text))
            return nullptr;
        utf8Text = std::move(text);
    }
    return &*utf8Text;
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
        // Opening does not wait, and only a regular file is read: a pipe or a device in the file's
        // place could block the caller for ever or never end.
        const FileHandle file = OpenFileForReading(path);
        return Loaded(file ? ParseXmlFile(file.get(), Utf16ToUtf8(path).c_str()) : nullptr, isSuccessful);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT XmlDocument::loadXML(std::u16string_view text, bool* isSuccessful) {
    return Loaded(ParseXmlText(text), isSuccessful);
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

HRESULT XmlDocument::SavedBytes(std::string* bytes) const {
    if (!doc)
        return XML_E_NOTLOADED;
    try {
        // A UTF-8 text is written as get_xml made it; another encoding is made by the library.
        if (!outputStyle || IsUtf8(outputStyle->encoding)) {
            const std::string* text = Utf8Text();
            if (!text)
                return E_OUTOFMEMORY;
            *bytes = *text;
            return S_OK;
        }
        std::string encoded;
        if (!Serialise(doc, outputStyle.get(), true, &encoded))
            return E_OUTOFMEMORY;
        *bytes = std::move(encoded);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT XmlDocument::save(std::u16string_view path, SaveMode mode) const {
    try {
        std::string bytes;
        const HRESULT hr = SavedBytes(&bytes);
        if (FAILED(hr))
            return hr;
        const int error = WriteNewFile(path, bytes, mode == SaveMode::Replace);
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
