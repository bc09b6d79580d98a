#include "PathName.h"

std::u16string_view PathFindFileName(std::u16string_view path) {
    const size_t separator = path.find_last_of(u"/\\");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}
