// SPDX-License-Identifier: MIT
// Linked into test builds of secs in which one call into the system does
// not do its work, so that the table can show what each of secs's steps
// is there for. The build defines one of:
//   STUB_SETRLIMIT  the core file limit cannot be lowered (as when cores go
//                   to a collector that ignores it); asked to change the
//                   hard limit, which is the user's, it says so on stderr
//   STUB_PRCTL      the process cannot be made undumpable (as where there
//                   is no such flag: macOS, the BSDs)
//   STUB_SYSTEM     no child can be made: system() fails with -1 (glibc
//                   reports a shell it cannot start as 127, musl as -1)
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#ifndef __THROW // glibc marks its C functions noexcept, other libcs do not
#define __THROW
#endif

#if defined(STUB_SETRLIMIT)
// AddressSanitizer's runtime sets the core limit itself, before it is ready
// to check anyone's code.
extern "C" {
#if defined(__GNUC__)
__attribute__((no_sanitize_address))
#endif
int setrlimit(int resource, const struct rlimit* limit) __THROW
{
    struct rlimit now;
    if (getrlimit(resource, &now) == 0 && limit->rlim_max != now.rlim_max) {
        fputs("secs changed a hard limit\n", stderr);
    }
    return 0;
}
}
#elif defined(STUB_PRCTL) && defined(__linux__)
extern "C" int prctl(int, ...) __THROW { return 0; }
#elif defined(STUB_SYSTEM)
extern "C" int system(const char*)
{
    errno = EAGAIN;
    return -1;
}
#endif
