#include "AllocationFailure.h"

#include "report/HelperProtocol.h"

#include <libxml/xmlmemory.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

// The libraries go on after a failed allocation as best they can, and some of their paths then make a
// wrong result or read through a null pointer; ending here leaves neither.
[[noreturn]] void OutOfMemory() {
    _exit(kHelperOutOfMemory);
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
    char* copy = strdup(text);
    if (!copy)
        OutOfMemory();
    return copy;
}

} // namespace

void ExitOnAllocationFailure() {
    xmlMemSetup(std::free, CheckedMalloc, CheckedRealloc, CheckedStrdup);
    std::set_new_handler(OutOfMemory);
}
