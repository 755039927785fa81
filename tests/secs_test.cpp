// SPDX-License-Identifier: MIT
// secs as a black box, under whatever /bin/sh is. Each case is a line of
// shell that ends by exec'ing secs, so the wait status seen here is secs's
// own, core flag included. In a cross build secs runs through the emulator.
#include <gtest/gtest.h>

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

struct Case {
    const char* shell; // $secs, $hooked and $no_* name the builds; $big is 70,000 bytes
    const char* out;   // stdout, as a regex
    const char* err;   // stderr, as a regex; {} stands for this libc's strerror(error)
    int status;        // the exit code, or minus the signal that killed secs
    int error = 0;
    // A shell test for what the case relies on; where it fails, the case is skipped.
    const char* needs = "";
};

const Case cases[] = {
    // Each argument goes in after one blank and the shell parses the text
    // afresh; the text ends as the user's does; the command's output comes first.
    {"exec $secs", "[01]", "", 0},
    {"echo in >in; exec $secs 'cat; echo err >&2' <in", "in\n[01]", "err\n", 0},
    {"exec $secs echo \"'a\" \"b'\"", "a b\n[01]", "", 0},
    {"exec $secs 'echo a\\'", "a\\\\?\n[01]", "", 0},
    {"exec $secs sleep 1", "[1-9]", "", 0},
    // Across 2038-01-19 03:14:07 UTC.
    {"export SECS_TEST_CLOCK=2147483646; exec $hooked true", "1", "", 0},
    // No options of its own: a leading dash is a command name like any other.
    {"exec $secs --help", "[01]", ".+\n", 127},
    {"export SECS_TEST_STALE_ERRNO=1; exec $hooked no-such-command", "[01]", ".+\n", 127},
    // Ctrl-C reaches secs and the command: secs waits, then dies of it too.
    // Sent to secs alone, INT is ignored; TERM ends secs at once, with no number.
    {"exec $secs 'exec env kill -s INT $PPID $$'", "[01]", "", -SIGINT},
    {"exec $secs 'kill -s INT $PPID; exit 3'", "[01]", "", 3},
    {"exec $secs 'kill -s TERM $PPID; exit 3'", "", "", -SIGTERM},
    // A signal its caller blocked still kills secs once the command died of it.
    {"exec env --block-signal=INT $secs \"SECS_TEST_RAISE_INT=1 exec $hooked\"", "[01]", "",
     -SIGINT, 0, "env --block-signal=INT true"},
    {"trap '' TERM; exec $secs 'exec env --default-signal=TERM kill -s TERM $$'", "[01]", "",
     -SIGTERM, 0, "env --default-signal=TERM true"},
    {"exec env --ignore-signal=CHLD $secs 'exit 3'", "[01]", "", 3, 0,
     "env --ignore-signal=CHLD true"},
    // Either of its two guards keeps the core away alone; the hard limit is the user's.
    // qemu-user dumps a core its own way.
    {"exec $no_setrlimit 'exec env kill -s QUIT $$'", "[01]", "", -SIGQUIT, 0,
     "[ -z \"$run\" ] && [ -e /proc/sys/kernel/core_pattern ]"},
    {"exec $no_prctl 'exec env kill -s QUIT $$'", "[01]", "", -SIGQUIT, 0,
     "[ -z \"$run\" ] && ! grep -qs '^|' /proc/sys/kernel/core_pattern"},
    // What kept it from running the command or reporting is said, each line in
    // one write (the hooked build shows each between < and >), so logs never mix.
    {"exec $secs 'exit 3' >/dev/full", "", "failed to write the elapsed seconds \\({}\\)!\n", 255,
     ENOSPC, "[ -c /dev/full ]"},
    // The reader gone (it opened the pipe, and has ended).
    {"mkfifo p; true <p & exec >p; wait $!; exec $secs true", "", "", -SIGPIPE},
    // A library preloaded into each process (libfaketime) may open a file on fd 1.
    {"exec $hooked true >&-", "", "<failed to write the elapsed seconds \\({}\\)!\n>", 255, EBADF,
     "! sh -c 'exec 3>&1' >&- 2>/dev/null"},
    // The joined text " : 0...0" of 131,072 bytes is past Linux's limit for
    // one argument. qemu-user forks for vfork: a failed exec never reaches system().
    {"exec $secs : $(printf %0131069d 0)", "", "failed to run the command \\({}\\)!\n", 255, E2BIG,
     "[ -z \"$run\" ] && ! (/bin/sh -c \" : $(printf %0131069d 0)\")"},
    // An exception while the command is assembled: nothing runs.
    {"export SECS_TEST_THROW=bad_alloc; exec $hooked echo ran : $big", "",
     "<failed to allocate memory \\(std::bad_alloc\\)!\n>", 255},
    {"export SECS_TEST_THROW=runtime_error; exec $hooked echo ran : $big", "",
     "<notexpectederror injected: cppexceptiontype-.*runtime_error.*\n>", 255},
    {"export SECS_TEST_THROW=int; exec $hooked echo ran : $big", "", "<unknownerror\n>", 255},
};

// Test names show the line of shell.
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.shell;
}

std::string Slurp(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

// The builds under test, each run through the emulator of a cross build.
std::string Programs()
{
    const std::string run = SECS_RUN;
    std::string programs = "run='" + run + "' secs='" + run + " " SECS "'";
    for (const char* build : {"hooked", "no_setrlimit", "no_prctl"}) {
        programs += std::string(" ") + build + "='" + run + " " SECS_BUILDS + build + "'";
    }
    return programs;
}

// Runs a line of shell in a directory of its own, the builds named.
Outcome RunLine(const char* line)
{
    Outcome seen;
    std::string scratch = testing::TempDir() + "secs_test.XXXXXX";
    if (mkdtemp(&scratch[0]) == nullptr) {
        return seen;
    }
    const std::string setUp = "cd '" + scratch + "' && " + Programs() +
                              " big=$(printf %070000d 0) && exec </dev/null >out 2>err && ";
    seen.status = system((setUp + line).c_str());
    seen.out = Slurp(scratch + "/out");
    seen.err = Slurp(scratch + "/err");
    EXPECT_EQ(system(("rm -rf '" + scratch + "'").c_str()), 0);
    return seen;
}

class Secs : public testing::TestWithParam<Case> {};

// Each line starts as from a user's shell, whatever the runner set up: every
// signal at its default, none blocked; cores allowed, so that one of secs's shows.
const struct AsAUser {
    AsAUser()
    {
        for (int sig = 1; sig < NSIG; ++sig) {
            signal(sig, SIG_DFL);
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        rlimit core;
        getrlimit(RLIMIT_CORE, &core);
        core.rlim_cur = core.rlim_max;
        setrlimit(RLIMIT_CORE, &core);
    }
} asAUser;

TEST_P(Secs, RunsTimesAndEndsAsTheShellDid)
{
    const Case& c = GetParam();
    if (c.needs[0] != '\0' && RunLine(c.needs).status != 0) {
        GTEST_SKIP() << "this platform does not pass: " << c.needs;
    }
    const Outcome seen = RunLine(c.shell);
    std::string err = c.err;
    if (c.error != 0) {
        err.replace(err.find("{}"), 2, strerror(c.error));
    }
    ASSERT_TRUE(WIFEXITED(seen.status) || WIFSIGNALED(seen.status));
    EXPECT_FALSE(WCOREDUMP(seen.status));
    EXPECT_EQ(WIFEXITED(seen.status) ? WEXITSTATUS(seen.status) : -WTERMSIG(seen.status), c.status);
    EXPECT_TRUE(std::regex_match(seen.out, std::regex(c.out))) << "stdout: " << seen.out;
    EXPECT_TRUE(std::regex_match(seen.err, std::regex(err))) << "stderr: " << seen.err;
}

INSTANTIATE_TEST_SUITE_P(Table, Secs, testing::ValuesIn(cases));

} // namespace
