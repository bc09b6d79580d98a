#include "SystemErrorText.h"

#include <array>
#include <utility>

namespace {

// Texts of the codes that are not system error numbers; the wording follows the system the texts were
// written for, where it has one.
constexpr std::array<std::pair<HRESULT, const char16_t*>, 11> kMessages{{
    {E_FAIL, u"Unspecified error"},
    {RPC_E_CHANGED_MODE, u"Cannot change thread mode after it is set."},
    {CO_E_NOTINITIALIZED, u"CoInitialize has not been called."},
    {XML_E_NOTLOADED, u"The XML document is empty."},
    {XML_E_STYLESHEET, u"The stylesheet is not a valid XSLT 1.0 stylesheet."},
    {XML_E_TRANSFORM, u"The stylesheet failed during the transformation."},
    {XML_E_FORBIDDEN, u"The stylesheet tried to read or write a file or a network resource."},
    {XML_E_LIMIT, u"The transformation exceeded its limit of depth or work."},
    {XML_E_MEMORY, u"The transformation exceeded its memory limit."},
    {XML_E_TIMEOUT, u"The transformation exceeded its time limit."},
    {XML_E_ABORTED, u"The transformation ended abnormally."},
}};

} // namespace

std::optional<std::u16string> SystemErrorText(HRESULT code) {
    if (const int error = ErrnoFromHResult(code))
        return SystemErrorNumberText(error);
    for (const auto& [known, text] : kMessages)
        if (known == code)
            return std::u16string(text);
    return std::nullopt;
}
