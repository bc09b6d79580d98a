#include "XmlParse.h"

#include "platform/text/Utf.h"
#include "platform/xml/CodePageEncoding.h"

#include <libxml/parser.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
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

// The bytes of a file, handed to the parser a piece at a time up to a bound: a file that grows past it
// while it is read ends the parse with a read error, as does any other read error (-1).
struct BoundedFileReader {
    std::FILE* file;
    uint64_t left; // one more than the bytes still accepted

    static int Read(void* context, char* buffer, int size) {
        auto* reader = static_cast<BoundedFileReader*>(context);
        if (reader->left == 0)
            return -1;
        const size_t wanted =
            static_cast<size_t>(std::min<uint64_t>(reader->left, static_cast<uint64_t>(size)));
        const size_t count = std::fread(buffer, 1, wanted, reader->file);
        if (count == 0 && std::ferror(reader->file))
            return -1;
        reader->left -= count;
        return static_cast<int>(count);
    }
};

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

xmlDocPtr ParseXmlFile(std::FILE* file, const char* url, uint64_t maxBytes) {
    BoundedFileReader reader{file, maxBytes == UINT64_MAX ? maxBytes : maxBytes + 1};
    return ParseSafely([&](xmlParserCtxtPtr parser) {
        return xmlCtxtReadIO(parser, BoundedFileReader::Read, nullptr, &reader, url, nullptr, kParseOptions);
    });
}
