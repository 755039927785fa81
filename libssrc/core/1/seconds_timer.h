// SPDX-License-Identifier: MIT
// A stopwatch with whole-second resolution, header-only.
//
// Copyright (c) 2026 The secs developers
//
// Permission is hereby granted, free of charge, to any person obtaining a copy
// of this software and associated documentation files (the "Software"), to deal
// in the Software without restriction, including without limitation the rights
// to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
// copies of the Software, and to permit persons to whom the Software is
// furnished to do so, subject to the following conditions:
//
// The above copyright notice and this permission notice shall be included in all
// copies or substantial portions of the Software.
//
// THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
// IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
// FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
// AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
// LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
// OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
// SOFTWARE.
//
// It sums the seconds of the calendar clock (libc's time()) over any number of
// run/pause intervals. Each interval is the difference of two truncated
// readings, so a run of d seconds counts as the whole part of d or one more.
//
// It holds time_t. Where that has 32 bits the clock runs out in 2038. On
// glibc for 32-bit CPUs, build with -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64
// (glibc 2.34 or later), and build every file that uses the class so, since
// files that disagree see two layouts of one class. FreeBSD on i386 keeps a
// 32-bit time_t, with no such switch.
#ifndef VELDMARK_CORE_1_SECONDS_TIMER_H
#define VELDMARK_CORE_1_SECONDS_TIMER_H

// The stopwatch's version. It is its own, apart from the version of secs.
// The major number changes when a program that uses the stopwatch may break.
// The minor number changes when something is added.
// The patch number changes when a behaviour is fixed.
// A change to a comment or to the layout changes none of them.
// The build's CMake and pkg-config packages take their version from these
// lines. VELDMARK_CORE_VERSION is one number to compare in #if:
// 10000 * major + 100 * minor + patch.
#define VELDMARK_CORE_VERSION_MAJOR 1
#define VELDMARK_CORE_VERSION_MINOR 0
#define VELDMARK_CORE_VERSION_PATCH 0
#define VELDMARK_CORE_VERSION                                                                      \
    (VELDMARK_CORE_VERSION_MAJOR * 10000 + VELDMARK_CORE_VERSION_MINOR * 100 +                     \
     VELDMARK_CORE_VERSION_PATCH)

#include <time.h>

namespace ZW37 {
namespace Veldmark {
namespace Corelibrary1 {
namespace CppVersion1998 {

class Insecondstimer {
public:
    // A new timer is paused with a total of 0.
    Insecondstimer() : state(paused)
    {
        Reset();
    }

    // Running already: nothing happens, so the time counted so far stays.
    void Run()
    {
        if (state != running) {
            startStamp = time(NULL);
            state = running;
        }
    }

    // Paused already: nothing happens and the clock is not read.
    void Pause()
    {
        if (state == running) {
            sum += time(NULL) - startStamp;
            state = paused;
        }
    }

    // Leaves the state alone: a running timer counts on from now.
    void Reset()
    {
        sum = 0;
        startStamp = time(NULL);
    }

    // Reads the clock only while running. The clock is taken as it comes:
    // set back during a run, the total shrinks and may turn negative.
    time_t GetInsecondsinterval() const
    {
        return state != paused ? sum + (time(NULL) - startStamp) : sum;
    }

    // Returns nothing, so assignments do not chain. Copying the plain fields
    // is safe onto itself. Copy a timer this way (b = a): a copy made by
    // construction, Insecondstimer b(a), warns under -Wextra from C++11 on
    // (-Wdeprecated-copy), as this assignment is declared by hand.
    // NOLINTNEXTLINE(misc-unconventional-assign-operator,cert-oop54-cpp)
    void operator=(const Insecondstimer& other)
    {
        state = other.state;
        startStamp = other.startStamp;
        sum = other.sum;
    }

private:
    enum { paused = 0, running = 1 } state;
    time_t startStamp; // when the timer last started running or was reset
    time_t sum;        // seconds of the intervals closed by Pause since the last reset
};

} // namespace CppVersion1998
} // namespace Corelibrary1
} // namespace Veldmark
} // namespace ZW37

#endif
