// SPDX-License-Identifier: MIT
// Linked into a test build of secs. Every write that reaches std::clog comes
// out on stderr between < and >, so a line written in more than one piece
// shows as such, every time. And each of these environment variables starts
// secs in a state a shell cannot set up:
//   SECS_TEST_THROW=bad_alloc|runtime_error|int  operator new refuses every
//       block over 64 KiB by throwing that, so a long command drives the
//       exception handlers while it is being assembled;
//   SECS_TEST_STALE_ERRNO      errno is already set when main starts;
//   SECS_TEST_RAISE_INT        it dies of SIGINT at once, whatever mask it
//       inherited: a command for secs that unblocks it, as programs may;
//   SECS_TEST_CLOCK=S          the clock reads S, S+1, S+2 ... seconds since
//       the epoch, and, as glibc's does where time_t cannot hold that, -1.
#include <errno.h>
#include <signal.h>
#include <sys/time.h>
#include <sys/uio.h>
#include <time.h>

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
        if (std::getenv("SECS_TEST_STALE_ERRNO") != nullptr) errno = EINVAL;
        if (std::getenv("SECS_TEST_RAISE_INT") != nullptr) {
            sigset_t interrupt;
            sigemptyset(&interrupt);
            sigaddset(&interrupt, SIGINT);
            sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
            raise(SIGINT);
        }
    }
} setup;
} // namespace

#ifndef __THROW // glibc marks its C functions noexcept, other libcs do not
#define __THROW
#endif

extern "C" time_t time(time_t* out) __THROW
{
    time_t now;
    if (const char* start = std::getenv("SECS_TEST_CLOCK")) {
        static long long reading = std::strtoll(start, nullptr, 10);
        const long long at = reading++;
        now = static_cast<time_t>(at);
        if (now != at) {
            errno = EOVERFLOW;
            now = -1;
        }
    } else {
        timeval real;
        gettimeofday(&real, nullptr);
        now = real.tv_sec;
    }
    return out != nullptr ? (*out = now) : now;
}

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
