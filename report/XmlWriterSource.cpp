#include "XmlWriterSource.h"

#include <exception>

void xml_writer_source::write(const void* data, size_t size) {
    // A lone byte cannot be a UTF-16 unit; pugixml writes whole units.
    if (!data || (size <= 1 && !target->empty()))
        return;
    const size_t count = size / 2;
    const size_t old = target->size();
    if (count > target->max_size() - old)
        return;
    try {
        target->resize(old + count);
    } catch (const std::exception&) {
        return;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < count; ++i)
        (*target)[old + i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
}
