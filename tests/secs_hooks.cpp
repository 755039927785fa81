// SPDX-License-Identifier: MIT
// Linked into a test build of secs. Every write that reaches std::clog comes
// out on stderr between < and >, so a line written in more than one piece
// shows as such, every time. And each of these environment variables starts
// secs in a state a shell cannot set up:
//   SECS_TEST_THROW=bad_alloc|runtime_error|int  operator new refuses every
//       block over 64 KiB by throwing that, so a long command drives the
//       exception handlers while it is being assembled;
//   SECS_TEST_STALE_ERRNO      errno is already set when main starts;
//   SECS_TEST_BLOCK_QUIT       SIGQUIT is blocked when main starts.
#include <errno.h>
#include <signal.h>
#include <sys/uio.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <stdexcept>

namespace {
class Marking : public std::streambuf {
protected:
    std::streamsize xsputn(const char* text, std::streamsize size) override
    {
        char open[] = "<", close[] = ">";
        iovec parts[] = {{open, 1}, {const_cast<char*>(text), static_cast<size_t>(size)}, {close, 1}};
        return writev(2, parts, 3) == size + 2 ? size : 0;
    }
} marking;

struct Setup {
    Setup()
    {
        std::clog.rdbuf(&marking);
        if (std::getenv("SECS_TEST_BLOCK_QUIT") != nullptr) {
            sigset_t quit;
            sigemptyset(&quit);
            sigaddset(&quit, SIGQUIT);
            sigprocmask(SIG_BLOCK, &quit, nullptr);
        }
        if (std::getenv("SECS_TEST_STALE_ERRNO") != nullptr) errno = EINVAL;
    }
} setup;
} // namespace

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
