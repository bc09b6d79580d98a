#include "calc/MeasurementSet.h"

#include "platform/text/CaseMapping.h"

#include <array>
#include <utility>

std::u16string SampleTypeName(SampleType type) {
    switch (type) {
    case Undetermined:
        return u"не определено";
    case WithCartridge:
        return u"с патроном";
    case WithoutCartridge:
        return u"без патрона";
    case Calibration:
        return u"градуировочная";
    }
    return {};
}

SampleType ClassifySample(std::u16string_view sample) {
    // The order matters: "без патрона" contains "патрон", and a name that mentions calibration is a
    // calibration run whatever else it says.
    static constexpr std::array<std::pair<std::u16string_view, SampleType>, 6> tests{{
        {u"градуир", Calibration},
        {u"калибр", Calibration},
        {u"без патрон", WithoutCartridge},
        {u"б/п", WithoutCartridge},
        {u"патрон", WithCartridge},
        {u"с/п", WithCartridge},
    }};
    const std::u16string lower = LowerText(sample);
    for (const auto& [fragment, type] : tests)
        if (lower.find(fragment) != std::u16string::npos)
            return type;
    return Undetermined;
}
