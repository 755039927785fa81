// Linked into a test build of secs: operator new refuses every block over
// 64 KiB, so a long command drives the tool's exception handlers while it is
// being assembled. SECS_TEST_THROW picks what is thrown: bad_alloc (the
// default), runtime_error or int.
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

void* operator new(std::size_t size)
{
    if (size > 64 * 1024) {
        const char* what = std::getenv("SECS_TEST_THROW");
        if (what != nullptr && std::strcmp(what, "runtime_error") == 0) {
            throw std::runtime_error("injected");
        }
        if (what != nullptr && std::strcmp(what, "int") == 0) {
            throw 1;
        }
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
