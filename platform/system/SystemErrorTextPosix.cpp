#include "SystemErrorText.h"

#include "platform/text/Utf.h"

#include <cstring>
#include <locale.h>
#include <string.h>

std::optional<std::u16string> SystemErrorNumberText(int error) {
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
