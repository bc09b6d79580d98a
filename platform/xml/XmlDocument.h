// An XML document in the manner of the platform's DOM document version 6.0, over libxml2 and libxslt,
// with the same secure defaults: no document type declarations (so no entity expansion and no external
// entities), no network, no document(), no xsl:import or xsl:include, no file written or read by a
// stylesheet, and bounded depth and work. Every operation returns a result code (see HResult.h).
#pragma once

#include "platform/system/HResult.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct _xmlDoc;
struct _xsltStylesheet;

enum class SaveMode {
    CreateNew, // a new file; an existing file or link at the path fails with HResultFromErrno(EEXIST)
    Replace,   // replaces an existing regular file only with a complete new one that keeps its mode and
               // group; a link at the path fails with HResultFromErrno(ELOOP), anything else that is not a
               // regular file (a folder, a pipe) with HResultFromErrno(EEXIST)
};

class XmlDocument {
public:
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Loading always completes before load and loadXML return, whatever the flag says; it is accepted
    // for callers written for the asynchronous model. S_OK.
    HRESULT put_async(bool async);

    // Reads and parses the file at path. S_OK with *isSuccessful true; S_FALSE with false when the file
    // is missing, unreadable or not a regular file (refused at once, without waiting on a pipe), not
    // well-formed, nested too deeply or has a document type declaration, and the document is then empty.
    // XML_E_TOOLARGE with false when the file holds more than maxBytes, of which nothing is read then (a
    // file that grows past maxBytes while it is read does not parse).
    HRESULT load(std::u16string_view path, bool* isSuccessful, uint64_t maxBytes = UINT64_MAX);
    // Parses a text the same way; its encoding declaration, if any, is ignored.
    HRESULT loadXML(std::u16string_view text, bool* isSuccessful);

    // S_OK with the document's text in *xml: XML for a loaded document, the output a stylesheet asked for
    // (HTML, text or XML) for the result of a transformation; the empty text for an empty document.
    // E_OUTOFMEMORY.
    HRESULT get_xml(std::u16string* xml) const;

    // Transforms this document with stylesheet into output, replacing what output held. S_OK; otherwise
    // output is left as it was and the code says why: XML_E_NOTLOADED when this document or the
    // stylesheet is empty, XML_E_STYLESHEET, XML_E_FORBIDDEN, XML_E_LIMIT, XML_E_TRANSFORM (see
    // XsltTransform.h for what each means), E_OUTOFMEMORY.
    HRESULT transformNodeToObject(const XmlDocument& stylesheet, XmlDocument& output) const;

    // Writes the document's text to path (a result in the encoding its stylesheet names, any other
    // document in UTF-8), in a file readable only by its owner. S_OK; XML_E_NOTLOADED for an empty
    // document; HResultFromErrno of the file failure, when nothing is left behind of the new file.
    HRESULT save(std::u16string_view path, SaveMode mode = SaveMode::CreateNew) const;
    // The bytes save writes, in *bytes. S_OK; XML_E_NOTLOADED for an empty document; E_OUTOFMEMORY.
    HRESULT SavedBytes(std::string* bytes) const;

private:
    friend HRESULT CreateXmlDocument(std::unique_ptr<XmlDocument>* document);
    XmlDocument() = default;

    void Replace(_xmlDoc* newDoc, std::shared_ptr<_xsltStylesheet> newStyle);
    HRESULT Loaded(_xmlDoc* newDoc, bool* isSuccessful);
    const std::string* Utf8Text() const;

    _xmlDoc* doc = nullptr;
    std::shared_ptr<_xsltStylesheet> outputStyle; // the stylesheet that made this document, if any
    mutable std::optional<std::string> utf8Text;  // the text once made: get_xml and save both need it
};

// Creates an empty document in *document. S_OK; CO_E_NOTINITIALIZED when this thread has not
// initialised the component model (ComInit.h); E_OUTOFMEMORY.
HRESULT CreateXmlDocument(std::unique_ptr<XmlDocument>* document);
