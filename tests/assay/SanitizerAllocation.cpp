// Under AddressSanitizer a failed operator new reports "out of memory" and ends the process instead of
// throwing std::bad_alloc, so no test could see how the assay reader meets memory that runs out. In a
// sanitizer build the assay tests therefore route the ordinary operator new and delete through malloc
// and free (which the sanitizer still checks for overflows, use after free and leaks), throwing
// std::bad_alloc when malloc gives nothing, and malloc is told to give nothing rather than end the
// process. Only the check of new against free is lost, in this test program alone.
#if defined(__SANITIZE_ADDRESS__)

#include <cstdlib>
#include <new>

// Looked up by the sanitizer at start, so it must be visible outside this program.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

#endif
