// The writer that collects the serialised report document in a COM string.
#pragma once

#include "report/ReportRequest.h"

#include <pugixml.hpp>

// Appends every block pugixml writes (UTF-16LE bytes) to the target string. A block that cannot be
// added (no memory, or a length beyond the string's limit) is dropped and the target stays as it was;
// the text then lacks that piece and fails to parse later.
class xml_writer_source : public pugi::xml_writer {
public:
    explicit xml_writer_source(Bstr* target) : target(target) {}
    void write(const void* data, size_t size) override;

private:
    Bstr* target;
};
