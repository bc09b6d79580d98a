#include "AllocationFailure.h"

#include "report/HelperProtocol.h"

#include <libxml/xmlmemory.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The libraries go on after a failed allocation as best they can, and some of their paths then make a
// wrong result or read through a null pointer; ending here leaves neither.
[[noreturn]] void OutOfMemory() {
    std::_Exit(kHelperOutOfMemory);
}

void* CheckedMalloc(size_t size) {
    void* block = std::malloc(size);
    if (!block && size != 0)
        OutOfMemory();
    return block;
}

void* CheckedRealloc(void* block, size_t size) {
    void* moved = std::realloc(block, size);
    if (!moved && size != 0)
        OutOfMemory();
    return moved;
}

char* CheckedStrdup(const char* text) {
    const size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(CheckedMalloc(size));
    std::memcpy(copy, text, size);
    return copy;
}

} // namespace

void ExitOnAllocationFailure() {
    xmlMemSetup(std::free, CheckedMalloc, CheckedRealloc, CheckedStrdup);
    std::set_new_handler(OutOfMemory);
}
