// SPDX-License-Identifier: MIT
// Linked, with throwing.cpp, into the POSIX test builds of secs. Each write to std::clog
// comes out on stderr between < and >, so a line written in pieces shows.
// Each variable sets up a state that a shell cannot:
// - SECS_TEST_STALE_ERRNO: errno is already set when secs starts.
// - SECS_TEST_RAISE_INT: secs dies of SIGINT at once, whatever the signal mask.
// - SECS_TEST_FULL: standard output is non-blocking and full, as node.js may leave a pipe.
// - SECS_TEST_CLOCK=S: the clock reads S, then S+1 and so on. Where time_t cannot hold a
//   reading, it gives -1, as glibc's time() does.
// The build NO_SETRLIMIT cannot lower the core limit, and says so if asked to change the
// hard one. NO_PRCTL cannot make itself undumpable, as on macOS and the BSDs.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <iostream>

namespace {
class Marking : public std::streambuf {
protected:
    std::streamsize xsputn(const char* text, std::streamsize size) override
    {
        char open[] = "<", close[] = ">";
        iovec parts[] = {
            {open, 1}, {const_cast<char*>(text), static_cast<size_t>(size)}, {close, 1}};
        return writev(2, parts, 3) == size + 2 ? size : 0;
    }
} marking;

struct Setup {
    Setup()
    {
        std::clog.rdbuf(&marking);
        if (getenv("SECS_TEST_STALE_ERRNO") != nullptr)
            errno = EINVAL;
        if (getenv("SECS_TEST_RAISE_INT") != nullptr) {
            sigset_t interrupt;
            sigemptyset(&interrupt);
            sigaddset(&interrupt, SIGINT);
            sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
            raise(SIGINT);
        }
        if (getenv("SECS_TEST_FULL") != nullptr) {
            fcntl(1, F_SETFL, fcntl(1, F_GETFL) | O_NONBLOCK);
            static const char block[4096] = {};
            for (int blocks = 0; blocks < 1024 && write(1, block, sizeof block) > 0; ++blocks) {
            }
        }
    }
} setup;
} // namespace

#ifndef __THROW // glibc marks its C functions noexcept, other libcs do not
#define __THROW
#endif

extern "C" time_t time(time_t* out) __THROW
{
    timeval now;
    gettimeofday(&now, nullptr);
    time_t reading = now.tv_sec;
    if (const char* start = getenv("SECS_TEST_CLOCK")) {
        static long long next = strtoll(start, nullptr, 10);
        reading = static_cast<time_t>(next);
        if (reading != next++) {
            errno = EOVERFLOW;
            reading = -1;
        }
    }
    return out != nullptr ? (*out = reading) : reading;
}

#if defined(NO_SETRLIMIT)
// AddressSanitizer's runtime sets the core limit itself, before it can check anyone.
extern "C" __attribute__((no_sanitize_address)) int setrlimit(int resource,
                                                              const struct rlimit* limit) __THROW
{
    struct rlimit now;
    if (getrlimit(resource, &now) == 0 && limit->rlim_max != now.rlim_max)
        fputs("secs changed a hard limit\n", stderr);
    return 0;
}
#elif defined(NO_PRCTL) && defined(__linux__)
extern "C" int prctl(int, ...) __THROW
{
    return 0;
}
#endif
