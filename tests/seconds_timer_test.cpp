// SPDX-License-Identifier: MIT
// The stopwatch on a fake clock: this file's time() wins over libc's at link
// time, so every reading is known and counted, and nothing sleeps.
#include <veldmark/core/1/seconds_timer.h>

#include <gtest/gtest.h>

#include <vector>
#if __cplusplus >= 202002L
#include <concepts>
#include <iterator>
#include <type_traits>
#endif

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
// with a Copy made by assignment); it may read the clock `reads` times and
// leaves `total`.
struct Step {
    time_t clock;
    char op;
    int reads;
    time_t total;
};

const struct {
    const char* name;
    time_t createdAt;
    std::vector<Step> steps;
} scenarios[] = {
    {"a new timer is paused at 0", 100, {{105, 'G', 0, 0}}},
    {"pause without run counts nothing", 0, {{5, 'P', 0, 0}, {10, 'G', 0, 0}}},
    {"a second run keeps the first stamp", 0,
     {{10, 'R', 1, 0}, {13, 'R', 0, 3}, {15, 'P', 1, 5}, {20, 'G', 0, 5}, {21, 'P', 0, 5}}},
    {"time while paused is not counted", 0,
     {{0, 'R', 1, 0}, {2, 'P', 1, 2}, {10, 'G', 0, 2}, {10, 'R', 1, 2}, {13, 'P', 1, 5}}},
    {"reading a running timer changes nothing", 0,
     {{0, 'R', 1, 0}, {3, 'G', 1, 3}, {3, 'G', 1, 3}, {7, 'G', 1, 7}, {8, 'P', 1, 8}}},
    {"reset while running counts on from the reset", 0,
     {{0, 'R', 1, 0}, {4, 'Z', 1, 0}, {6, 'G', 1, 2}, {9, 'P', 1, 5}}},
    {"reset while paused zeroes and stays paused", 0,
     {{0, 'R', 1, 0}, {5, 'P', 1, 5}, {7, 'Z', 1, 0}, {20, 'G', 0, 0}, {20, 'R', 1, 0}, {23, 'P', 1, 3}}},
    {"a clock set back shrinks the total", 100,
     {{100, 'R', 1, 0}, {90, 'G', 1, -10}, {95, 'P', 1, -5}, {200, 'G', 0, -5}}},
    {"a copy takes the state, the stamp and the total", 0,
     {{10, 'R', 1, 0}, {12, 'P', 1, 2}, {13, 'R', 1, 2}, {14, 'C', 0, 3}, {16, 'G', 1, 5}, {17, 'P', 1, 6}}},
};

#if __cplusplus >= 202002L
// The assignment returns nothing: assignments do not chain, and C++20 finds the class neither
// copyable, movable nor trivially copyable: ranges algorithms that permute refuse it, swap takes it.
template <class T>
concept ChainsAssignments = requires(T a, T b, T c) { a = b = c; };
static_assert(!ChainsAssignments<Insecondstimer>);
static_assert(!std::copyable<Insecondstimer> && !std::movable<Insecondstimer>);
static_assert(!std::is_trivially_copyable_v<Insecondstimer>);
static_assert(std::is_swappable_v<Insecondstimer> && !std::permutable<std::vector<Insecondstimer>::iterator>);
#endif

TEST(Insecondstimer, FollowsItsStateTable)
{
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        fakeNow = scenario.createdAt;
        clockReads = 0;
        Insecondstimer timers[2];
        Insecondstimer* timer = &timers[0];
        EXPECT_EQ(clockReads, 2);
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE(step.clock);
            fakeNow = step.clock;
            clockReads = 0;
            switch (step.op) {
            case 'R': timer->Run(); break;
            case 'P': timer->Pause(); break;
            case 'Z': timer->Reset(); break;
            case 'C': timers[1] = *timer, timer = &timers[1]; break;
            default: (void)timer->GetInsecondsinterval();
            }
            EXPECT_EQ(clockReads, step.reads);
            EXPECT_EQ(timer->GetInsecondsinterval(), step.total);
        }
    }
}

} // namespace
