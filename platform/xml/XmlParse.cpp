#include "XmlParse.h"

#include "platform/text/Utf.h"
#include "platform/xml/CodePageEncoding.h"

#include <libxml/parser.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

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

// Runs read (one of the library's xmlCtxtRead functions) on a parser that refuses document types.
template <typename Read> xmlDocPtr ParseSafely(Read read) {
    EnsureCodePageEncodings();
    std::unique_ptr<xmlParserCtxt, ParserDeleter> parser(xmlNewParserCtxt());
    if (!parser)
        return nullptr;
    ParseState state;
    parser->_private = &state;
    parser->sax->internalSubset = RefuseDoctype;
    xmlDocPtr doc = read(parser.get());
    if (doc && (state.doctypeSeen || !parser->wellFormed || doc->intSubset || doc->extSubset)) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    return doc;
}

// The bytes of a text, handed to the parser a piece at a time.
struct TextReader {
    const char* next;
    size_t left;

    static int Read(void* context, char* buffer, int size) {
        auto* reader = static_cast<TextReader*>(context);
        const size_t count = std::min(reader->left, static_cast<size_t>(size));
        std::memcpy(buffer, reader->next, count);
        reader->next += count;
        reader->left -= count;
        return static_cast<int>(count);
    }
};

// The bytes of a file, handed to the parser a piece at a time; -1 tells it of a read error.
int ReadFromFile(void* context, char* buffer, int size) {
    auto* file = static_cast<std::FILE*>(context);
    const size_t count = std::fread(buffer, 1, static_cast<size_t>(size), file);
    return count == 0 && std::ferror(file) ? -1 : static_cast<int>(count);
}

} // namespace

xmlDocPtr ParseXmlText(std::u16string_view text) {
    // The parser reads UTF-8 several times faster than UTF-16.
    const std::string bytes = Utf16ToUtf8(text);
    TextReader reader{bytes.data(), bytes.size()};
    return ParseSafely([&](xmlParserCtxtPtr parser) {
        return xmlCtxtReadIO(parser, TextReader::Read, nullptr, &reader, nullptr, "UTF-8",
                             kParseOptions | XML_PARSE_IGNORE_ENC);
    });
}

xmlDocPtr ParseXmlFile(std::FILE* file, const char* url) {
    return ParseSafely([&](xmlParserCtxtPtr parser) {
        return xmlCtxtReadIO(parser, ReadFromFile, nullptr, file, url, nullptr, kParseOptions);
    });
}
