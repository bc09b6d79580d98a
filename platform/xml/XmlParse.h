// Parsing of documents the way the XML documents of this layer accept them (module-internal).
#pragma once

#include <libxml/tree.h>

#include <string_view>

// Parses bytes into a new document, or gives null when they are not an acceptable document: not
// well-formed, nested too deeply, or carrying a document type declaration (refused before any of it is
// read, so no entity of it is ever expanded or loaded). Nothing is read from the network or a file.
// With encoding given, the text is taken in that encoding whatever its declaration says; otherwise the
// encoding is detected from the byte-order mark and the declaration. What is wrong with a text goes to
// the library's error channel, as the library reports it.
xmlDocPtr ParseXml(std::string_view bytes, const char* url, const char* encoding);
