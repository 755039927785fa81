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
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

// As the shell alone ends, for a case whose output, error text and ending
// are the shell's own: secs must add its number and nothing else.
const int asShell = 1000;

struct Case {
    const char* shell;      // $secs, $hooked and $no_* name the builds; $big is 70000 x's
    const char* out;        // stdout, as a regex (after the shell's own, for asShell)
    const char* err;        // stderr, as a regex; {} stands for this libc's strerror(error)
    int status;             // the exit code, minus the signal that killed secs, or asShell
    int error = 0;
    const char* needs = ""; // a shell test for what the case relies on; where it fails, it is skipped
};

const Case cases[] = {
    // Each argument goes in after one blank and the shell parses the text
    // afresh; the text ends as the user's does; the command's output comes first.
    {"exec $secs", "[01]", "", 0},
    {"echo in >in; exec $secs 'cat; echo err >&2' <in", "in\n[01]", "err\n", 0},
    {"exec $secs echo \"'a\" \"b'\"", "a b\n[01]", "", 0},
    {"exec $secs 'echo a\\'", "[01]", "", asShell},
    {"exec $secs sleep 1", "[1-9]", "", 0},
    {"{ took=$($secs 'printf x >&3'); } 3>&1; echo \"|$took|\"", "x\\|[01]\\|\n", "", 0},
    {"export SECS_TEST_CLOCK=2147483646; exec $hooked true", "1", "", 0}, // across 2038-01-19 03:14:07 UTC
    // No options of its own: a leading dash is a command name like any other.
    {"exec $secs --help", "[01]", "", asShell},
    // secs ends as the shell ended, and dumps no core of its own.
    {"exec $secs 'exit 3'", "[01]", "", 3},
    {"export SECS_TEST_STALE_ERRNO=1; exec $hooked no-such-command", "[01]", "", asShell},
    {"exec $secs 'kill -TERM $$'", "[01]", "", asShell},
    // Ctrl-C reaches the whole job, secs and the command: secs waits out the
    // command, then dies of it too. Sent to secs alone, INT is ignored while
    // the command runs, but a fatal signal such as TERM ends secs at once,
    // with no number.
    {"exec $secs 'exec env kill -s INT $PPID $$'", "[01]", "", -SIGINT},
    {"exec $secs 'kill -s INT $PPID; exit 3'", "[01]", "", 3},
    {"exec $secs 'kill -s TERM $PPID; exit 3'", "", "", -SIGTERM},
    // A signal its caller blocked still kills secs once the command died of it.
    {"exec env --block-signal=INT $secs \"SECS_TEST_RAISE_INT=1 exec $hooked\"", "[01]", "", -SIGINT, 0,
     "env --block-signal=INT true"},
    {"trap '' TERM; exec $secs 'exec env --default-signal=TERM kill -s TERM $$'", "[01]", "", -SIGTERM, 0,
     "env --default-signal=TERM true"},
    {"exec env --ignore-signal=CHLD $secs 'exit 3'", "[01]", "", 3, 0, "env --ignore-signal=CHLD true"},
    // Either of its two guards keeps the core away alone; the hard limit is the user's.
    {"exec $no_setrlimit 'exec env kill -s QUIT $$'", "[01]", "", -SIGQUIT, 0,
     "[ -z \"$run\" ] && [ -e /proc/sys/kernel/core_pattern ] # qemu-user dumps a core its own way"},
    {"exec $no_prctl 'exec env kill -s QUIT $$'", "[01]", "", -SIGQUIT, 0,
     "[ -z \"$run\" ] && ! grep -qs '^|' /proc/sys/kernel/core_pattern # qemu-user dumps a core its own way"},
    // What kept it from running the command or reporting is said, not
    // hidden, each line in one write (the hooked build shows each write
    // between < and >), so that runs sharing a log never break into its lines.
    {"exec $secs 'exit 3' >/dev/full", "", "failed to write the elapsed seconds \\({}\\)!\n", 255, ENOSPC, "[ -c /dev/full ]"},
    // The reader gone (it opened the pipe, and has ended): SIGPIPE, or where
    // the caller ignores that, the line.
    {"mkfifo p; true <p & exec >p; wait $!; exec $secs true", "", "", -SIGPIPE},
    {"mkfifo p; true <p & exec >p; wait $!; exec env --ignore-signal=PIPE $secs true", "",
     "failed to write the elapsed seconds \\({}\\)!\n", 255, EPIPE, "env --ignore-signal=PIPE true"},
    {"exec $hooked true >&-", "", "<failed to write the elapsed seconds \\({}\\)!\n>", 255, EBADF,
     "! sh -c 'exec 3>&1' >&- 2>/dev/null # a library preloaded into each process (libfaketime) may open a file on it"},
    // The joined text " : 0...0": 131,071 bytes run; 131,072 are past Linux's limit for one argument.
    {"exec $secs : $(printf %0131068d 0)", "[01]", "", 0},
    {"exec $secs : $(printf %0131069d 0)", "", "failed to run the command \\({}\\)!\n", 255, E2BIG,
     "[ -z \"$run\" ] && ! (/bin/sh -c \" : $(printf %0131069d 0)\") # qemu-user forks for vfork: a failed exec never reaches system()"},
    {"exec $no_system true", "", "<failed to run the command \\({}\\)!\n>", 255, EAGAIN},
    // An exception while the command is assembled: nothing runs.
    {"export SECS_TEST_THROW=bad_alloc; exec $hooked 'touch ran;' : $big", "", "<failed to allocate memory \\(std::bad_alloc\\)!\n>", 255},
    {"export SECS_TEST_THROW=runtime_error; exec $hooked 'touch ran;' : $big", "",
     "<notexpectederror injected: cppexceptiontype-.*runtime_error.*\n>", 255},
    {"export SECS_TEST_THROW=int; exec $hooked 'touch ran;' : $big", "", "<unknownerror\n>", 255},
};

// Test names show the line of shell.
void PrintTo(const Case& c, std::ostream* out) { *out << c.shell; }

std::string Escaped(const std::string& text) { return std::regex_replace(text, std::regex(R"([\\\[\](){}.*+?^$|])"), "\\$&"); }

std::string Slurp(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

struct Outcome {
    int status = -1;
    std::string out, err;
    bool ran = false;
};

// Runs a line of shell in a directory of its own, with the names of the
// builds bound as `programs` says.
Outcome RunLine(const std::string& programs, const char* line)
{
    Outcome seen;
    std::string scratch = testing::TempDir() + "secs_test.XXXXXX";
    if (mkdtemp(&scratch[0]) == nullptr) return seen;
    seen.status = system(("cd '" + scratch + "' && " + programs + " big=$(printf %070000d 0) && exec </dev/null >out 2>err && " + line).c_str());
    seen.out = Slurp(scratch + "/out");
    seen.err = Slurp(scratch + "/err");
    seen.ran = access((scratch + "/ran").c_str(), F_OK) == 0;
    EXPECT_EQ(system(("rm -rf '" + scratch + "'").c_str()), 0);
    return seen;
}

int Ending(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status); }

// The builds under test, each run through the emulator of a cross build; or
// the shell alone, given what secs would give it (tests/sh-c).
std::string Programs(bool alone)
{
    const std::string run = SECS_RUN;
    std::string programs = "run='" + run + "' secs='" + (alone ? SECS_SH_C : run + " " SECS) + "'";
    for (const char* build : {"hooked", "no_setrlimit", "no_prctl", "no_system"})
        programs += std::string(" ") + build + "='" + (alone ? SECS_SH_C : run + " " SECS_BUILDS + build) + "'";
    return programs;
}

class Secs : public testing::TestWithParam<Case> {};

// Each line starts as from a user's shell, whatever the test runner set up:
// every signal at its default, none blocked; and cores allowed, so that one
// written by secs itself would show.
const struct AsAUser {
    AsAUser()
    {
        for (int sig = 1; sig < NSIG; ++sig) signal(sig, SIG_DFL);
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
    if (c.needs[0] != '\0' && RunLine(Programs(false), c.needs).status != 0) GTEST_SKIP() << "this platform does not pass: " << c.needs;
    const Outcome seen = RunLine(Programs(false), c.shell);
    std::string out = c.out, err = c.err;
    if (c.error != 0) err.replace(err.find("{}"), 2, Escaped(strerror(c.error)));
    int ending = c.status;
    if (c.status == asShell) {
        const Outcome shell = RunLine(Programs(true), c.shell);
        out = Escaped(shell.out) + out;
        err = Escaped(shell.err) + err;
        ending = Ending(shell.status);
    }
    ASSERT_TRUE(WIFEXITED(seen.status) || WIFSIGNALED(seen.status));
    EXPECT_FALSE(WCOREDUMP(seen.status));
    EXPECT_EQ(Ending(seen.status), ending);
    EXPECT_TRUE(std::regex_match(seen.out, std::regex(out))) << "stdout: " << seen.out;
    EXPECT_TRUE(std::regex_match(seen.err, std::regex(err))) << "stderr: " << seen.err;
    EXPECT_FALSE(seen.ran) << "the command ran";
}

INSTANTIATE_TEST_SUITE_P(Table, Secs, testing::ValuesIn(cases));

} // namespace
