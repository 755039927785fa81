// SPDX-License-Identifier: MIT
// secs as a black box, under whatever /bin/sh is. Each case is a line of shell that ends by
// exec'ing secs, through a cross build's emulator where there is one. So the wait status that
// the table sees is secs's own.
#include <gtest/gtest.h>

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>

#include <fstream>
#include <sstream>
#include <string>

#include "output.h"

namespace {

struct Case {
    // The line of shell. The words secs, hooked, no_setrlimit and no_prctl run those builds,
    // and $big is 70,000 bytes.
    const char* shell;
    const char* out;        // stdout, as a regex; {N}: the number, N or more (output.h)
    const char* err = "";   // stderr, as a regex; {} stands for this libc's strerror(error)
    int status = 0;         // the exit code, or minus the signal that killed secs
    const char* needs = ""; // a shell test for what the case relies on, else it is skipped
    int error = 0;
};

// Each argument goes in after a blank, and the shell parses the text afresh. The text ends as the
// user's does. The command's output comes before the number.
const Case running[] = {
    {"secs", "{0}"},
    {"echo in >in; secs 'cat; echo err >&2' <in", "in\n{0}", "err\n"},
    {"secs echo \"'a\" \"b'\"", "a b\n{0}"},
    {"secs 'echo a\\'", "a\\\\?\n{0}"},
    // No options of its own: a leading dash is a command name like any other.
    {"secs --help", "{0}", ".+\n", 127},
    {"secs sleep 1", "{1}"},
    // Across 2038-01-19 03:14:07 UTC, on the hooked build's clock, which reads S, S+1 ...
    {"export SECS_TEST_CLOCK=2147483646; hooked true", "1"},
};

const Case exitAndSignals[] = {
    {"export SECS_TEST_STALE_ERRNO=1; hooked no-such-command", "{0}", ".+\n", 127},
    // Ctrl-C reaches secs and the command: secs waits, then dies of it too.
    // Sent to secs alone, INT is ignored; TERM ends secs at once, with no number.
    {"secs 'exec env kill -s INT $PPID $$'", "{0}", "", -SIGINT},
    {"secs 'kill -s INT $PPID; exit 3'", "{0}", "", 3},
    {"secs 'kill -s TERM $PPID; exit 3'", "", "", -SIGTERM},
    // A signal its caller blocked still kills secs once the command died of it.
    {"exec env --block-signal=INT $run \"$secs\" 'SECS_TEST_RAISE_INT=1 exec $run \"$hooked\"'",
     "{0}", "", -SIGINT, "env --block-signal=INT true"},
    {"trap '' TERM; secs 'exec env --default-signal=TERM kill -s TERM $$'", "{0}", "", -SIGTERM,
     "env --default-signal=TERM true"},
    {"exec env --ignore-signal=CHLD $run \"$secs\" 'exit 3'", "{0}", "", 3,
     "env --ignore-signal=CHLD true"},
    // The reader gone (it opened the pipe, and has ended).
    {"mkfifo p; true <p & exec >p; wait $!; secs true", "", "", -SIGPIPE},
};

// Either guard keeps the core away on its own, and the hard limit stays the user's. qemu-user
// dumps a core its own way, so these do not run under it.
const Case cores[] = {
    {"no_setrlimit 'exec env kill -s QUIT $$'", "{0}", "", -SIGQUIT,
     "[ -z \"$run\" ] && [ -e /proc/sys/kernel/core_pattern ]"},
    {"no_prctl 'exec env kill -s QUIT $$'", "{0}", "", -SIGQUIT,
     "[ -z \"$run\" ] && ! grep -qs '^|' /proc/sys/kernel/core_pattern"},
};

// Each diagnostic is one write, so a line in a shared log is never broken by another run's.
// The hooked build shows each write between < and >.
const Case diagnostics[] = {
    {"secs 'exit 3' >/dev/full", "", "failed to write the elapsed seconds \\({}\\)!\n", 255,
     "[ -c /dev/full ]", ENOSPC},
    // A library preloaded into each process (libfaketime) may open a file on fd 1.
    {"hooked true >&-", "", "<failed to write the elapsed seconds \\({}\\)!\n>", 255,
     "! sh -c 'exec 3>&1' >&- 2>/dev/null", EBADF},
    // The text " : 0...0" is 131,072 bytes, past Linux's limit for one argument. qemu-user
    // hides a failed exec from system(), so this does not run under it.
    {"secs : $(printf %0131069d 0)", "", "failed to run the command \\({}\\)!\n", 255,
     "[ -z \"$run\" ] && ! (/bin/sh -c \" : $(printf %0131069d 0)\")", E2BIG},
    // A command left the pipe non-blocking and full: secs waits for the reader.
    {"mkfifo p; (sleep 1; cat) <p >/dev/null & exec >p; export SECS_TEST_FULL=1; hooked true", ""},
    // Past the caller's file-size limit, the number fails to go out. A command that SIGXFSZ
    // kills still kills secs with it.
    {"printf %1024s x; ulimit -f 1; secs 'exit 3'", " +x",
     "failed to write the elapsed seconds \\({}\\)!\n", 255, "ulimit -f 1", EFBIG},
    {"ulimit -c 0; ulimit -f 1; secs 'exec printf %04096d 0 >big'", "{0}", "", -SIGXFSZ,
     "ulimit -f 1"},
};

// An exception while the command is assembled: nothing runs.
const Case exceptions[] = {
    {"export SECS_TEST_THROW=bad_alloc; hooked echo ran : $big", "",
     "<failed to allocate memory \\(std::bad_alloc\\)!\n>", 255},
    {"export SECS_TEST_THROW=runtime_error; hooked echo ran : $big", "",
     "<notexpectederror injected: cppexceptiontype-.*runtime_error.*\n>", 255},
    {"export SECS_TEST_THROW=int; hooked echo ran : $big", "", "<unknownerror\n>", 255},
    // No memory left even to throw bad_alloc: the same line, and no abort.
    {"export SECS_TEST_THROW=terminate; hooked echo ran : $big", "",
     "<failed to allocate memory \\(std::bad_alloc\\)!\n>", 255},
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

const char* const builds[] = {"secs", "hooked", "no_setrlimit", "no_prctl"};

struct Outcome {
    int status = -1;
    std::string out, err;
    long seconds = 0; // as many as the table saw pass
};

// Runs a line of shell in a directory of its own, where a function of each build's name execs it.
Outcome RunLine(const char* line)
{
    Outcome seen;
    std::string scratch = testing::TempDir() + "secs_test.XXXXXX";
    if (mkdtemp(&scratch[0]) == nullptr) {
        return seen;
    }
    setenv("scratch", scratch.c_str(), 1);
    std::string setUp = "cd \"$scratch\" && big=$(printf %070000d 0) && exec </dev/null >out 2>err";
    for (const char* build : builds) {
        setUp += std::string(" && ") + build + "() { exec $run \"$" + build + "\" \"$@\"; }";
    }
    // time() may lag gettimeofday() by a tick. secs reads one or the other, so every reading
    // it takes lies between these two.
    const time_t start = time(nullptr);
    seen.status = system((setUp + " && " + line).c_str());
    timeval end;
    gettimeofday(&end, nullptr);
    seen.seconds = static_cast<long>(end.tv_sec - start);
    seen.out = Slurp(scratch + "/out");
    seen.err = Slurp(scratch + "/err");
    EXPECT_EQ(system("rm -rf \"$scratch\""), 0);
    return seen;
}

class Secs : public testing::TestWithParam<Case> {};

// Each line starts as from a user's shell, whatever the runner set up: every signal at its
// default, none blocked, and cores allowed, so that a core of secs's would show.
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
        // The builds under test, for the lines to name, each path a word of its own.
        setenv("run", SECS_RUN, 1);
        for (const char* build : builds) {
            const std::string path = build == builds[0] ? SECS : SECS_BUILDS + std::string(build);
            setenv(build, path.c_str(), 1);
        }
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
    EXPECT_TRUE(std::regex_match(seen.err, std::regex(err))) << "stderr: " << seen.err;
    ExpectOutput(seen.out, c.out, seen.seconds);
}

INSTANTIATE_TEST_SUITE_P(Running, Secs, testing::ValuesIn(running));
INSTANTIATE_TEST_SUITE_P(ExitAndSignals, Secs, testing::ValuesIn(exitAndSignals));
INSTANTIATE_TEST_SUITE_P(Cores, Secs, testing::ValuesIn(cores));
INSTANTIATE_TEST_SUITE_P(Diagnostics, Secs, testing::ValuesIn(diagnostics));
INSTANTIATE_TEST_SUITE_P(Exceptions, Secs, testing::ValuesIn(exceptions));

} // namespace
