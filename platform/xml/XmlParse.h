// Parsing of documents the way the XML documents of this layer accept them (module-internal).
//
// A text or file is refused when it is not well-formed, nests too deeply, or carries a document type
// declaration (refused before any of it is read, so no entity of it is ever expanded or loaded).
// Nothing is read from the network or another file. The parser reads its input as it goes, without a
// copy of its own. What is wrong with a text goes to the library's error channel.
#pragma once

#include <libxml/tree.h>

#include <cstdio>
#include <string_view>

// The document of a text, whatever encoding its declaration names; null when it is refused. Throws
// std::bad_alloc.
xmlDocPtr ParseXmlText(std::u16string_view text);

// The document read from an open file (encoding from its byte-order mark and declaration), with url as
// its base; null when it is refused or cannot be read. The file stays open.
xmlDocPtr ParseXmlFile(std::FILE* file, const char* url);
