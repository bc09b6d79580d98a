// The passport of an assay: the descriptive part of an assay file, read and written with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ColumnInfo {  // one chromatographic column
    int32_t channel = 0;
    std::u16string name;
    std::u16string brand;
    int32_t type = 0;
    double diameter = 0;
    double length = 0;
    std::u16string carrier;
    std::u16string phase;
    double percent = 0;
    int32_t unit = 0;
    double fraction0 = 0;
    double fraction1 = 0;
    double film = 0;
    std::u16string part;
    std::u16string serial;
};

struct PassportParam {  // any further passport element, kept as texts
    std::u16string name;   // the element's name
    std::u16string title;
    std::u16string value;
};

struct AssayPassport {
    std::u16string filePath;  // set by LoadFromFile and SaveToFile; not in the XML
    std::u16string assayid = u"00000000-0000-0000-0000-000000000000";
    std::u16string series;
    int64_t andate = 0;       // host time stamp, neither converted nor compared
    double duration = 0;
    std::u16string sample;
    std::u16string method;
    bool graduation = false;
    int64_t date = 0;         // host time stamp
    bool defect = false;
    std::u16string mixture;
    std::vector<ColumnInfo> columns;
    std::vector<PassportParam> params;
};
