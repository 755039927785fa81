// SPDX-License-Identifier: MIT
// Linked into a test build of secs: with SECS_TEST_THROW set, operator new
// refuses every block over 64 KiB by throwing what it names (bad_alloc,
// runtime_error or int), so a long command drives the tool's exception
// handlers while it is being assembled.
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

void* operator new(std::size_t size)
{
    const char* kind = std::getenv("SECS_TEST_THROW");
    if (kind != nullptr && size > 64 * 1024) {
        if (std::strcmp(kind, "runtime_error") == 0) throw std::runtime_error("injected");
        if (std::strcmp(kind, "int") == 0) throw 1;
        throw std::bad_alloc();
    }
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
