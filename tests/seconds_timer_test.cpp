// SPDX-License-Identifier: MIT
// The stopwatch on a fake clock: this file's time() wins over libc's at link
// time, so every reading is known and counted, and nothing sleeps.
#include <veldmark/core/1/seconds_timer.h>

#include <gtest/gtest.h>

#include <vector>

static time_t fakeNow = 0;
static int clockReads = 0;

#ifndef __THROW // glibc marks its C functions noexcept, other libcs do not
#define __THROW
#endif
extern "C" time_t time(time_t* out) __THROW
{
    ++clockReads;
    return out != nullptr ? (*out = fakeNow) : fakeNow;
}

namespace {
using ZW37::Veldmark::Corelibrary1::CppVersion1998::Insecondstimer;

// At `clock`, do `op` (Run, Pause, Zero with Reset, Get the total, or go on
// with a Copy made by assignment onto the other timer); it may read the clock
// `reads` times and leaves `total`.
struct Step {
    time_t clock;
    char op;
    int reads;
    time_t total;
};

// Each scenario starts with two new timers at 0 and works on the first.
const struct {
    const char* name;
    std::vector<Step> steps;
} scenarios[] = {
    {"a second run keeps the first stamp",
     {{10, 'R', 1, 0}, {13, 'R', 0, 3}, {15, 'P', 1, 5}, {20, 'G', 0, 5}, {21, 'P', 0, 5}}},
    {"time while paused is not counted",
     {{0, 'R', 1, 0}, {2, 'P', 1, 2}, {10, 'G', 0, 2}, {10, 'R', 1, 2}, {13, 'P', 1, 5}}},
    {"reset while running counts on from the reset",
     {{0, 'R', 1, 0}, {4, 'Z', 1, 0}, {6, 'G', 1, 2}, {9, 'P', 1, 5}}},
    {"reset while paused zeroes and stays paused",
     {{0, 'R', 1, 0}, {5, 'P', 1, 5}, {7, 'Z', 1, 0}, {20, 'G', 0, 0}, {20, 'R', 1, 0}}},
    {"a clock set back shrinks the total",
     {{100, 'R', 1, 0}, {90, 'G', 1, -10}, {95, 'P', 1, -5}, {200, 'G', 0, -5}}},
    // Copied onto the second timer, then back onto the first, which has a
    // total, a stamp and a state of its own.
    {"a copy replaces the state, the stamp and the total",
     {{1, 'R', 1, 0}, {3, 'P', 1, 2}, {4, 'C', 0, 2}, {5, 'R', 1, 2}, {7, 'C', 0, 4}}},
};

TEST(Insecondstimer, FollowsItsStateTable)
{
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        fakeNow = 0;
        clockReads = 0;
        Insecondstimer timers[2];
        Insecondstimer* timer = &timers[0];
        EXPECT_EQ(clockReads, 2);
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE(step.clock);
            fakeNow = step.clock;
            clockReads = 0;
            if (step.op == 'R') {
                timer->Run();
            } else if (step.op == 'P') {
                timer->Pause();
            } else if (step.op == 'Z') {
                timer->Reset();
            } else if (step.op == 'C') {
                Insecondstimer* other = timer == &timers[0] ? &timers[1] : &timers[0];
                *other = *timer;
                timer = other;
            } else {
                (void)timer->GetInsecondsinterval();
            }
            EXPECT_EQ(clockReads, step.reads);
            EXPECT_EQ(timer->GetInsecondsinterval(), step.total);
        }
    }
}

} // namespace
