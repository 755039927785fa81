// SPDX-License-Identifier: MIT
// Linked into a test build of secs: with SECS_TEST_THROW=bad_alloc,
// runtime_error or int, operator new refuses every block over 16 KiB by
// throwing that, so a long command drives the exception handlers while it
// is being assembled. With SECS_TEST_THROW=terminate it calls std::terminate
// instead, as the C++ runtime does when no memory is left to throw bad_alloc.
// Built as C++14: C++98's operator new may throw only bad_alloc.
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>

void* operator new(std::size_t size)
{
    const char* kind = std::getenv("SECS_TEST_THROW");
    if (kind != nullptr && size > 16 * 1024) {
        if (std::strcmp(kind, "runtime_error") == 0)
            throw std::runtime_error("injected");
        if (std::strcmp(kind, "int") == 0)
            throw 1;
        if (std::strcmp(kind, "terminate") == 0)
            std::terminate();
        throw std::bad_alloc();
    }
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
