#include "XsltTransform.h"

#include <libxml/xpathInternals.h>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <new>
#include <string>

namespace {

// Far beyond what a report needs (a report of 1000 chromatograms takes about 22,000 instructions and
// 105,000 XPath steps), and small enough that a runaway stylesheet stops within a fraction of a second.
constexpr int kMaxTemplateDepth = 500;
constexpr unsigned long kInstructionLimit = 1'000'000;
constexpr unsigned long kXPathStepLimit = 10'000'000;

// libxslt loads xsl:import and xsl:include through one process-wide loader and checks them only
// against the process-wide security settings, so the loader is the one place to refuse them. Ours
// refuses while this thread compiles or runs one of our stylesheets and hands every other load to the
// loader it replaced, so the host's own use of the library is served as before.
thread_local bool sandboxed = false;
thread_local bool loadRefused = false;

std::mutex loaderMutex;
xsltDocLoaderFunc delegateLoader = nullptr;

xmlDocPtr SandboxLoader(const xmlChar* uri, xmlDictPtr dict, int options, void* context, xsltLoadType type) {
    if (sandboxed) {
        loadRefused = true;
        return nullptr;
    }
    xsltDocLoaderFunc delegate;
    {
        std::lock_guard lock(loaderMutex);
        delegate = delegateLoader;
    }
    return delegate(uri, dict, options, context, type);
}

void InstallSandboxLoader() {
    std::lock_guard lock(loaderMutex);
    if (xsltDocDefaultLoader != SandboxLoader) { // first use, or someone installed another loader since
        delegateLoader = xsltDocDefaultLoader;
        xsltSetLoaderFunc(SandboxLoader);
    }
}

class SandboxScope {
public:
    SandboxScope() {
        InstallSandboxLoader();
        sandboxed = true;
        loadRefused = false;
    }
    ~SandboxScope() { sandboxed = false; }
    SandboxScope(const SandboxScope&) = delete;
    SandboxScope& operator=(const SandboxScope&) = delete;
};

struct TransformState {
    bool forbidden = false;
    bool limitReached = false;
};

TransformState* StateOf(xsltTransformContextPtr context) {
    return context ? static_cast<TransformState*>(context->_private) : nullptr;
}

// Every file and network access of a running stylesheet ends here.
int RefuseAccess(xsltSecurityPrefsPtr, xsltTransformContextPtr context, const char*) {
    if (TransformState* state = StateOf(context))
        state->forbidden = true;
    return 0;
}

xsltSecurityPrefsPtr SandboxSecurity() {
    static const xsltSecurityPrefsPtr prefs = [] {
        xsltSecurityPrefsPtr p = xsltNewSecurityPrefs();
        if (p)
            for (xsltSecurityOption option :
                 {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                  XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
                xsltSetSecurityPrefs(p, option, RefuseAccess);
        return p;
    }();
    return prefs;
}

// document() in any form, also document('') of the stylesheet itself, is refused.
void RefuseDocumentFunction(xmlXPathParserContextPtr parser, int argumentCount) {
    for (int i = 0; i < argumentCount; ++i)
        xmlXPathFreeObject(valuePop(parser));
    auto* context = static_cast<xsltTransformContextPtr>(parser->context->extra);
    if (TransformState* state = StateOf(context)) {
        state->forbidden = true;
        context->state = XSLT_STATE_STOPPED;
    }
    xmlXPathSetError(parser, XPATH_EXPR_ERROR);
}

// Errors of the running transformation, passed on to the library's error channel. The depth and
// instruction limits announce themselves only through them.
void NoteTransformError(void* data, const char* format, ...) {
    auto* context = static_cast<xsltTransformContextPtr>(data);
    if (context->depth >= context->maxTemplateDepth || context->varsNr >= context->maxTemplateVars ||
        (context->opLimit != 0 && context->opCount >= context->opLimit))
        StateOf(context)->limitReached = true;
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    // Called from the library's own frames, which no exception may cross: out of memory, the message
    // is dropped, and the transformation's own failure still tells.
    try {
        if (length > 0) {
            std::string message(static_cast<size_t>(length), '\0');
            std::vsnprintf(message.data(), message.size() + 1, format, args);
            xsltGenericError(xsltGenericErrorContext, "%s", message.c_str());
        }
    } catch (const std::bad_alloc&) {
    }
    va_end(args);
}

struct StylesheetDeleter {
    void operator()(xsltStylesheetPtr style) const { xsltFreeStylesheet(style); }
};
struct ContextDeleter {
    void operator()(xsltTransformContextPtr context) const { xsltFreeTransformContext(context); }
};
struct DocDeleter {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};

} // namespace

HRESULT TransformXml(xmlDocPtr source, xmlDocPtr stylesheet, xmlDocPtr* result,
                     CompiledStylesheet* compiled) {
    SandboxScope sandbox;

    // The stylesheet is compiled from a copy: compiling changes the tree it is given and the compiled
    // stylesheet owns it.
    std::unique_ptr<xmlDoc, DocDeleter> copy(xmlCopyDoc(stylesheet, 1));
    std::unique_ptr<xsltStylesheet, StylesheetDeleter> style(xsltNewStylesheet());
    if (!copy || !style)
        return E_OUTOFMEMORY;
    if (xsltParseStylesheetUser(style.get(), copy.get()) != 0)
        return loadRefused ? XML_E_FORBIDDEN : XML_E_STYLESHEET; // the copy stays ours on failure
    copy.release();
    if (loadRefused) // an xsl:import or xsl:include the library chose to skip
        return XML_E_FORBIDDEN;

    std::unique_ptr<xsltTransformContext, ContextDeleter> context(
        xsltNewTransformContext(style.get(), source));
    if (!context || !SandboxSecurity())
        return E_OUTOFMEMORY;
    TransformState state;
    context->_private = &state;
    xsltSetCtxtSecurityPrefs(SandboxSecurity(), context.get());
    xsltSetTransformErrorFunc(context.get(), context.get(), NoteTransformError);
    context->maxTemplateDepth = kMaxTemplateDepth;
    context->opLimit = kInstructionLimit;
    context->xpathCtxt->opLimit = kXPathStepLimit;
    xmlXPathRegisterFunc(context->xpathCtxt, BAD_CAST "document", nullptr); // drops the library's own
    xmlXPathRegisterFunc(context->xpathCtxt, BAD_CAST "document", RefuseDocumentFunction);

    std::unique_ptr<xmlDoc, DocDeleter> output(
        xsltApplyStylesheetUser(style.get(), source, nullptr, nullptr, nullptr, context.get()));
    const bool xpathLimitReached = context->xpathCtxt->opCount >= context->xpathCtxt->opLimit;
    if (state.forbidden || loadRefused)
        return XML_E_FORBIDDEN;
    if (state.limitReached || xpathLimitReached)
        return XML_E_LIMIT;
    if (!output || context->state != XSLT_STATE_OK)
        return XML_E_TRANSFORM;

    context.reset();
    *result = output.release();
    *compiled = CompiledStylesheet(style.release(), StylesheetDeleter());
    return S_OK;
}
