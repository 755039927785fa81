// The stopwatch on a fake clock: this file's time() wins over libc's at link
// time, so every reading is known and counted, and nothing sleeps.
#include <veldmark/core/1/seconds_timer.h>

#include <gtest/gtest.h>

#include <vector>

namespace {
time_t fakeNow = 0;
int clockReads = 0;
} // namespace

extern "C" time_t time(time_t* out) noexcept
{
    ++clockReads;
    if (out != nullptr) {
        *out = fakeNow;
    }
    return fakeNow;
}

namespace {
using ZW37::Veldmark::Corelibrary1::CppVersion1998::Insecondstimer;

enum Op { run, pause, reset, get };

struct Step {
    time_t clock; // the clock when op is done
    Op op;
    int reads;    // clock readings op may take
    time_t total; // the total right after op
};

struct Scenario {
    const char* name;
    time_t createdAt;
    std::vector<Step> steps;
};

void Perform(Insecondstimer& timer, Op op)
{
    switch (op) {
    case run: timer.Run(); break;
    case pause: timer.Pause(); break;
    case reset: timer.Reset(); break;
    case get: (void)timer.GetInsecondsinterval(); break;
    }
}

const Scenario scenarios[] = {
    {"a new timer is paused at 0", 100, {{105, get, 0, 0}}},
    {"pause without run counts nothing", 0, {{5, pause, 0, 0}, {10, get, 0, 0}}},
    {"a second run keeps the first stamp", 0,
     {{10, run, 1, 0}, {13, run, 0, 3}, {15, pause, 1, 5}, {20, get, 0, 5}, {21, pause, 0, 5}}},
    {"time while paused is not counted", 0,
     {{0, run, 1, 0}, {2, pause, 1, 2}, {10, get, 0, 2}, {10, run, 1, 2}, {13, pause, 1, 5}}},
    {"reading a running timer changes nothing", 0,
     {{0, run, 1, 0}, {3, get, 1, 3}, {3, get, 1, 3}, {7, get, 1, 7}, {8, pause, 1, 8}}},
    {"reset while running counts on from the reset", 0,
     {{0, run, 1, 0}, {4, reset, 1, 0}, {6, get, 1, 2}, {9, pause, 1, 5}}},
    {"reset while paused zeroes and stays paused", 0,
     {{0, run, 1, 0}, {5, pause, 1, 5}, {7, reset, 1, 0}, {20, get, 0, 0}, {20, run, 1, 0}, {23, pause, 1, 3}}},
    {"a clock set back shrinks the total", 100,
     {{100, run, 1, 0}, {90, get, 1, -10}, {95, pause, 1, -5}, {200, get, 0, -5}}},
};

TEST(Insecondstimer, FollowsItsStateTable)
{
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        fakeNow = scenario.createdAt;
        clockReads = 0;
        Insecondstimer timer;
        EXPECT_EQ(clockReads, 1);
        EXPECT_EQ(timer.GetInsecondsinterval(), 0);
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE(step.clock);
            fakeNow = step.clock;
            clockReads = 0;
            Perform(timer, step.op);
            EXPECT_EQ(clockReads, step.reads);
            EXPECT_EQ(timer.GetInsecondsinterval(), step.total);
        }
    }
}

TEST(Insecondstimer, AssignmentCopiesStateStampAndTotal)
{
    fakeNow = 0;
    Insecondstimer copy; // stamped at 0
    fakeNow = 10;
    Insecondstimer running, paused;
    running.Run();
    copy = running;
    fakeNow = 14;
    EXPECT_EQ(copy.GetInsecondsinterval(), 4);
    copy.Pause();
    copy = paused;
    fakeNow = 20;
    EXPECT_EQ(copy.GetInsecondsinterval(), 0);
}
} // namespace
