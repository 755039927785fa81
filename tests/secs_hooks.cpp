// SPDX-License-Identifier: MIT
// Linked into the test builds of secs. Every write that reaches std::clog
// comes out on stderr between < and >, so a line written in more than one
// piece shows as such, every time. Each of these environment variables
// starts secs in a state a shell cannot set up:
//   SECS_TEST_THROW=bad_alloc|runtime_error|int  operator new refuses every
//       block over 64 KiB by throwing that, so a long command drives the
//       exception handlers while it is being assembled;
//   SECS_TEST_STALE_ERRNO      errno is already set when main starts;
//   SECS_TEST_RAISE_INT        it dies of SIGINT at once, whatever mask it
//       inherited: a command for secs that unblocks it, as programs may;
//   SECS_TEST_CLOCK=S          the clock reads S, S+1, S+2 ... seconds since
//       the epoch, and, as glibc's does where time_t cannot hold that, -1.
// And in a build defined so, one call into the system does not do its work,
// to show what each of secs's steps is there for:
//   NO_SETRLIMIT  the core file limit cannot be lowered (as when cores go to
//                 a collector that ignores it); asked to change the hard
//                 limit, which is the user's, it says so on stderr
//   NO_PRCTL      the process cannot be made undumpable (as where there is
//                 no such flag: macOS, the BSDs)
//   NO_SYSTEM     no child can be made: system() fails with -1 (glibc
//                 reports a shell it cannot start as 127, musl as -1)
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
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

#if defined(NO_SETRLIMIT)
// AddressSanitizer's runtime sets the core limit itself, before it is ready
// to check anyone's code.
extern "C" __attribute__((no_sanitize_address)) int setrlimit(int resource, const struct rlimit* limit) __THROW
{
    struct rlimit now;
    if (getrlimit(resource, &now) == 0 && limit->rlim_max != now.rlim_max) fputs("secs changed a hard limit\n", stderr);
    return 0;
}
#elif defined(NO_PRCTL) && defined(__linux__)
extern "C" int prctl(int, ...) __THROW { return 0; }
#elif defined(NO_SYSTEM)
extern "C" int system(const char*)
{
    errno = EAGAIN;
    return -1;
}
#endif
