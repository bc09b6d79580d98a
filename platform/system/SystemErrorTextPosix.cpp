#include "SystemErrorText.h"

#include "platform/text/Utf.h"

#include <array>
#include <cstring>
#include <locale.h>
#include <string.h>
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

std::optional<std::u16string> ErrnoText(int error) {
    // An unknown number has no name; strerror would make up "Unknown error N" for it.
    if (!strerrordesc_np(error))
        return std::nullopt;
    // The user's language, with the text delivered in UTF-8 whatever the user's character set.
    locale_t user = newlocale(LC_MESSAGES_MASK, "", static_cast<locale_t>(0));
    if (user) {
        if (locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", user))
            user = utf8;
        else {
            freelocale(user);
            user = static_cast<locale_t>(0);
        }
    }
    if (!user)
        return Utf8ToUtf16(strerrordesc_np(error));
    std::u16string text = Utf8ToUtf16(strerror_l(error, user));
    freelocale(user);
    return text;
}

} // namespace

std::optional<std::u16string> SystemErrorText(HRESULT code) {
    if (const int error = ErrnoFromHResult(code))
        return ErrnoText(error);
    for (const auto& [known, text] : kMessages)
        if (known == code)
            return std::u16string(text);
    return std::nullopt;
}
