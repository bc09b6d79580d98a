// The transformation of a document by a stylesheet, shut off from everything outside the two documents
// (module-internal).
#pragma once

#include "platform/system/HResult.h"

#include <libxml/tree.h>
#include <libxslt/xsltInternals.h>

#include <memory>

// A compiled stylesheet; a result keeps the one that made it, whose output settings (method, encoding,
// document type) say how the result is written.
using CompiledStylesheet = std::shared_ptr<xsltStylesheet>;

// Compiles a copy of stylesheet and applies it to source. S_OK with the new *result and *compiled;
// otherwise nothing is stored and the code says why:
//   XML_E_STYLESHEET  the stylesheet does not compile;
//   XML_E_FORBIDDEN   it tried to read a file or a network resource (document(), xsl:import, xsl:include),
//                     or to write or create one (xsl:document, exsl:document and the like);
//   XML_E_LIMIT       it went deeper than 500 templates, ran more than 1,000,000 instructions or
//                     more than 10,000,000 XPath steps;
//   XML_E_TRANSFORM   it failed otherwise while running (xsl:message terminate="yes", an XPath error);
//   E_OUTOFMEMORY.
// The library's diagnostics go to its error channels as usual; its process-wide settings are left as
// the host has them.
HRESULT TransformXml(xmlDocPtr source, xmlDocPtr stylesheet, xmlDocPtr* result, CompiledStylesheet* compiled);
