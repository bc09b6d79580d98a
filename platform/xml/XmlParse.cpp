#include "XmlParse.h"

#include <libxml/parser.h>

#include <climits>
#include <memory>

namespace {

// NONET keeps the network out; entity substitution (NOENT), DTD loading and attribute defaults, and the
// relaxed limits of HUGE stay off, so the parser's own depth and size limits hold. CDATA becomes plain
// text, so that nothing of a document can reach an HTML result unescaped.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOCDATA;

struct ParseState {
    bool doctypeSeen = false;
};

// Called at "<!DOCTYPE name ...", before the internal subset is read: stops the parse right there.
void RefuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    static_cast<ParseState*>(parser->_private)->doctypeSeen = true;
    xmlStopParser(parser);
}

struct ParserDeleter {
    void operator()(xmlParserCtxtPtr parser) const { xmlFreeParserCtxt(parser); }
};

} // namespace

xmlDocPtr ParseXml(std::string_view bytes, const char* url, const char* encoding) {
    if (bytes.size() > static_cast<size_t>(INT_MAX))
        return nullptr;
    std::unique_ptr<xmlParserCtxt, ParserDeleter> parser(xmlNewParserCtxt());
    if (!parser)
        return nullptr;
    ParseState state;
    parser->_private = &state;
    parser->sax->internalSubset = RefuseDoctype;
    int options = kParseOptions;
    if (encoding)
        options |= XML_PARSE_IGNORE_ENC;
    xmlDocPtr doc =
        xmlCtxtReadMemory(parser.get(), bytes.data(), static_cast<int>(bytes.size()), url, encoding, options);
    if (doc && (state.doctypeSeen || !parser->wellFormed || doc->intSubset || doc->extSubset)) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    return doc;
}
