#include "report/Report.h"

#include "platform/system/UserDateTime.h"
#include "platform/text/Format.h"

std::u16string FormatDateTime(int64_t time) {
    // Times before 1970 are shown as they are: this system converts them. Only a moment beyond the
    // system's range of years gives the empty text, which is better than a made-up date.
    const auto local = ToLocalTime(time);
    if (!local)
        return {};
    return FormatText(u"%s %s", FormatUserShortDate(*local), FormatUserTime(*local));
}
