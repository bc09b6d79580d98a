// The "passport" element of an assay file's XML part.
#pragma once

#include "assay/AssayPassport.h"

#include <pugixml.hpp>
#include <string_view>

// Reads the passport element (or a null node, when the file has none) into the passport: columns and
// params are replaced, a scalar member changes only when its element is present.
void ReadPassport(pugi::xml_node element, AssayPassport& passport);
// Appends the "passport" element with every scalar, then the columns, then the params. A param
// with an empty name (what text placed directly inside the element reads as) is not written.
void WritePassport(pugi::xml_node parent, const AssayPassport& passport);
// True when the param can be written: its name is empty (then it is left out) or an element name
// that reads back as itself.
bool IsWritableParam(const PassportParam& param);
