// SPDX-License-Identifier: MIT
// secs as a black box. Each case is a line of shell that ends by exec'ing
// secs, so the wait status seen here is secs's own, core flag included.
#include <gtest/gtest.h>

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string Slurp(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

struct Case {
    const char* shell; // $secs, $hooked and $no_* name the builds; $big is 70000 x's
    const char* out;   // stdout, as a regex
    const char* err;   // stderr, as a regex; {ENOSPC} and the like stand for this libc's strerror
    int status;        // the exit code, or minus the signal that killed secs
    const char* needs; // a shell test for what the case relies on; where it fails, the case is skipped
};

const Case cases[] = {
    // Each argument goes in after one blank and the shell parses the text
    // afresh; the text ends as the user's does; the command's output comes first.
    {"exec $secs", "[01]", "", 0, ""},
    {"exec $secs 'echo a; echo b'", "a\nb\n[01]", "", 0, ""},
    {"exec $secs echo \"'a\" \"b'\"", "a b\n[01]", "", 0, ""},
    {"exec $secs 'echo a\\'", "a\\\\\n[01]", "", 0, ""},
    {"echo from stdin >in; exec $secs cat <in", "from stdin\n[01]", "", 0, ""},
    {"exec $secs 'echo out; echo err >&2'", "out\n[01]", "err\n", 0, ""},
    {"exec $secs sleep 1", "[1-9]", "", 0, ""},
    {"{ took=$($secs 'printf x >&3'); } 3>&1; echo \"|$took|\"", "x\\|[01]\\|\n", "", 0, ""},
    // No options of its own: a leading dash is a command name like any other.
    {"exec $secs --help", "[01]", ".*--help.*not found\n", 127, ""},
    // secs ends as the shell ended, and dumps no core of its own.
    {"exec $secs 'exit 3'", "[01]", "", 3, ""},
    {"export SECS_TEST_STALE_ERRNO=1; exec $hooked no-such-command", "[01]", ".*not found\n", 127, ""},
    {"exec $secs 'kill -TERM $$'", "[01]", "", -SIGTERM, ""},
    {"exec $secs 'kill -INT $$'", "[01]", "", -SIGINT, ""},
    {"exec $secs 'kill -QUIT $$'", "[01]", "", -SIGQUIT, ""},
    // Either of its two guards keeps the core away alone; the hard limit is the user's.
    {"exec $no_setrlimit 'kill -QUIT $$'", "[01]", "", -SIGQUIT, "[ -e /proc/sys/kernel/core_pattern ]"},
    {"exec $no_prctl 'kill -QUIT $$'", "[01]", "", -SIGQUIT, "! grep -qs '^|' /proc/sys/kernel/core_pattern"},
    {"trap '' TERM; exec $secs 'exec env --default-signal=TERM sh -c \"kill -TERM \\$\\$\"'", "[01]", "", -SIGTERM,
     "env --default-signal=TERM true"},
    // dash unblocks what it inherited only once it has run an outside command.
    {"export SECS_TEST_BLOCK_QUIT=1; exec $hooked 'env true; kill -QUIT $$'", "[01]", "", -SIGQUIT, ""},
    {"exec env --ignore-signal=CHLD $secs 'exit 3'", "[01]", "", 3, "env --ignore-signal=CHLD true"},
    // What kept it from running the command or reporting is said, not
    // hidden, each line in one write (the hooked build shows each write
    // between < and >), so that runs sharing a log never break into its lines.
    {"exec $secs true >/dev/full", "", "failed to write the elapsed seconds \\({ENOSPC}\\)!\n", 255, "[ -c /dev/full ]"},
    {"exec $hooked true >&-", "", "<failed to write the elapsed seconds \\({EBADF}\\)!\n>", 255, ""},
    {"exec $secs : $big $big", "", "failed to run the command \\({E2BIG}\\)!\n", 255, "! (/bin/sh -c \": $big $big\")"},
    {"exec $no_system true", "", "failed to run the command \\({EAGAIN}\\)!\n", 255, ""},
    // An exception while the command is assembled: nothing runs.
    {"export SECS_TEST_THROW=bad_alloc; exec $hooked 'touch ran;' : $big", "",
     "<failed to allocate memory \\(std::bad_alloc\\)!\n>", 255, ""},
    {"export SECS_TEST_THROW=runtime_error; exec $hooked 'touch ran;' : $big", "",
     "<notexpectederror injected: cppexceptiontype-.*runtime_error.*\n>", 255, ""},
    {"export SECS_TEST_THROW=int; exec $hooked 'touch ran;' : $big", "", "<unknownerror\n>", 255, ""},
};

// Test names show the line of shell.
void PrintTo(const Case& c, std::ostream* out) { *out << c.shell; }

// The error texts as this platform's libc words them, escaped for a regex.
std::string WithStrerror(std::string pattern)
{
    const struct {
        const char* token;
        int number;
    } errors[] = {{"{ENOSPC}", ENOSPC}, {"{EBADF}", EBADF}, {"{E2BIG}", E2BIG}, {"{EAGAIN}", EAGAIN}};
    for (const auto& e : errors) {
        const std::string::size_type at = pattern.find(e.token);
        if (at != std::string::npos) {
            const std::string text = std::regex_replace(strerror(e.number), std::regex("[][(){}.*+?^$|\\\\]"), "\\$&");
            pattern.replace(at, strlen(e.token), text);
        }
    }
    return pattern;
}

class Secs : public testing::TestWithParam<Case> {};

TEST_P(Secs, RunsTimesAndEndsAsTheShellDid)
{
    const Case& c = GetParam();
    SCOPED_TRACE(c.shell);
    std::string scratch = testing::TempDir() + "secs_test.XXXXXX";
    ASSERT_NE(mkdtemp(&scratch[0]), nullptr);
    // Only builtins before secs starts; cores allowed, so that one written by
    // secs itself would show.
    const std::string setup = "cd '" + scratch + "' && ulimit -c \"$(ulimit -Hc)\" && "
        "secs='" SECS "' hooked='" SECS_HOOKED "' no_setrlimit='" SECS_NO_SETRLIMIT "' no_prctl='" SECS_NO_PRCTL
        "' no_system='" SECS_NO_SYSTEM "' big=$(printf %070000d 0) && ";
    if (c.needs[0] != '\0' && system((setup + "exec >/dev/null 2>&1 && " + c.needs).c_str()) != 0) {
        EXPECT_EQ(system(("rm -rf '" + scratch + "'").c_str()), 0);
        GTEST_SKIP() << "this platform does not pass: " << c.needs;
    }
    const int status = system((setup + "exec </dev/null >out 2>err && " + c.shell).c_str());
    ASSERT_TRUE(WIFEXITED(status) || WIFSIGNALED(status));
    EXPECT_FALSE(WCOREDUMP(status));
    const int seen = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    EXPECT_EQ(seen, c.status);
    const std::string out = Slurp(scratch + "/out"), err = Slurp(scratch + "/err");
    EXPECT_TRUE(std::regex_match(out, std::regex(c.out))) << "stdout: " << out;
    EXPECT_TRUE(std::regex_match(err, std::regex(WithStrerror(c.err)))) << "stderr: " << err;
    EXPECT_NE(access((scratch + "/ran").c_str(), F_OK), 0) << "the command ran";
    EXPECT_EQ(system(("rm -rf '" + scratch + "'").c_str()), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, Secs, testing::ValuesIn(cases));

} // namespace
