// Parts of path texts, for paths written with either separator.
#pragma once

#include <string_view>

// The file name part of a path: the text after the last "/" or "\", or the whole path when it has none.
std::u16string_view PathFindFileName(std::u16string_view path);
