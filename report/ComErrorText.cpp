#include "report/Report.h"

#include "platform/system/SystemErrorText.h"
#include "platform/text/Format.h"

#include <cstdint>

std::u16string ComErrorText(HRESULT code) {
    if (auto text = SystemErrorText(code))
        return *std::move(text);
    const auto value = static_cast<uint32_t>(code);
    if (value > 0x80040200u && value <= 0x8004FFFFu)
        return FormatText(u"IDispatch error #%d", value - 0x80040200u);
    return FormatText(u"Unknown error 0x%0lX", code);
}
