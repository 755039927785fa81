// secs as a black box: each case runs the built tool in a scratch directory
// and checks its standard output, standard error and wait status.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum Stdout { captured, deviceFull, closedFd };

struct Invocation {
    const char* program = SECS;
    std::vector<std::string> args;
    std::string input;
    Stdout stdoutTo = captured;
    bool ignoreChildren = false; // start secs with SIGCHLD ignored
    const char* throwKind = nullptr; // for the refusing-new build
};

struct Outcome {
    std::string out;
    std::string err;
    int status;
};

std::string scratch;

std::string Slurp(const std::string& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void Redirect(const std::string& path, int flags, int fd)
{
    const int opened = open(path.c_str(), flags, 0600);
    if (opened < 0 || dup2(opened, fd) < 0) {
        _exit(121);
    }
    close(opened);
}

Outcome Spawn(const Invocation& how)
{
    const std::string in = scratch + "/in", out = scratch + "/out", err = scratch + "/err";
    std::ofstream(in.c_str(), std::ios::binary) << how.input;
    std::vector<char*> argv(1, const_cast<char*>(how.program));
    for (const std::string& arg : how.args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(scratch.c_str()) != 0) {
            _exit(120);
        }
        Redirect(in, O_RDONLY, 0);
        if (how.stdoutTo == closedFd) {
            close(1);
        } else {
            Redirect(how.stdoutTo == deviceFull ? "/dev/full" : out, O_WRONLY | O_CREAT | O_TRUNC, 1);
        }
        Redirect(err, O_WRONLY | O_CREAT | O_TRUNC, 2);
        // Allow cores, so that one written by secs itself would show.
        struct rlimit core;
        getrlimit(RLIMIT_CORE, &core);
        core.rlim_cur = core.rlim_max;
        setrlimit(RLIMIT_CORE, &core);
        if (how.ignoreChildren) {
            signal(SIGCHLD, SIG_IGN);
        }
        if (how.throwKind != nullptr) {
            setenv("SECS_TEST_THROW", how.throwKind, 1);
        }
        execv(how.program, argv.data());
        _exit(122);
    }
    Outcome outcome;
    waitpid(pid, &outcome.status, 0);
    outcome.out = how.stdoutTo == captured ? Slurp(out) : "";
    outcome.err = Slurp(err);
    std::remove(out.c_str());
    return outcome;
}

// The seconds secs printed after the command's own output, or -1 when
// stdout is not that output followed by a bare number.
long SecondsAfter(const std::string& out, const std::string& commandOutput)
{
    if (out.compare(0, commandOutput.size(), commandOutput) != 0) {
        return -1;
    }
    const std::string number = out.substr(commandOutput.size());
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return -1;
    }
    return std::stol(number);
}

class Secs : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string pattern = testing::TempDir() + "secs_test.XXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        scratch = pattern;
    }
    static void TearDownTestSuite()
    {
        ASSERT_EQ(system(("rm -rf '" + scratch + "'").c_str()), 0);
    }
};

struct PassThrough {
    std::vector<std::string> args;
    std::string input;
    std::string out;     // the command's own output, ahead of the seconds
    std::string errPart; // in the shell's diagnostics; empty: no stderr at all
    int exitCode;        // anyFailure: any status but 0
};

const int anyFailure = -1;

TEST_F(Secs, HandsTheJoinedArgumentsToTheShellAndEndsAsItEnded)
{
    const PassThrough cases[] = {
        {{}, "", "", "", 0},
        {{"echo a; echo b"}, "", "a\nb\n", "", 0},
        {{"echo", "a  b"}, "", "a b\n", "", 0},
        {{"printf", "[%s]", "x\\"}, "", "[x ]", "", 0}, // the trailing blank, escaped
        {{"cat"}, "from stdin\n", "from stdin\n", "", 0},
        {{"echo out; echo err >&2"}, "", "out\n", "err", 0},
        {{"exit 3"}, "", "", "", 3},
        {{"exit", "255"}, "", "", "", 255},
        {{"no-such-command-for-secs"}, "", "", "not found", 127},
        // No options of its own: the shell gets "--help " and, as it starts
        // with a dash, may read it as its own options.
        {{"--help"}, "", "", "sh: ", anyFailure},
    };
    for (const PassThrough& c : cases) {
        Invocation how;
        how.args = c.args;
        how.input = c.input;
        SCOPED_TRACE(c.args.empty() ? "(no arguments)" : c.args[0]);
        const Outcome got = Spawn(how);
        const long seconds = SecondsAfter(got.out, c.out);
        EXPECT_TRUE(seconds == 0 || seconds == 1) << "stdout: " << got.out;
        if (c.errPart.empty()) {
            EXPECT_EQ(got.err, "");
        } else {
            EXPECT_NE(got.err.find(c.errPart), std::string::npos) << got.err;
        }
        ASSERT_TRUE(WIFEXITED(got.status));
        if (c.exitCode == anyFailure) {
            EXPECT_NE(WEXITSTATUS(got.status), 0);
        } else {
            EXPECT_EQ(WEXITSTATUS(got.status), c.exitCode);
        }
    }
}

TEST_F(Secs, DiesOfTheShellsSignalWithoutACoreOfItsOwn)
{
    const int signals[] = {SIGTERM, SIGINT, SIGQUIT};
    for (const int sig : signals) {
        Invocation how;
        how.args = {"kill -" + std::to_string(sig) + " $$"};
        SCOPED_TRACE(how.args[0]);
        const Outcome got = Spawn(how);
        EXPECT_NE(SecondsAfter(got.out, ""), -1) << "stdout: " << got.out;
        ASSERT_TRUE(WIFSIGNALED(got.status));
        EXPECT_EQ(WTERMSIG(got.status), sig);
        EXPECT_FALSE(WCOREDUMP(got.status));
    }
}

struct Failure {
    std::vector<std::string> args;
    Stdout stdoutTo;
    bool ignoreChildren;
    std::string err;
};

TEST_F(Secs, ReportsWhatKeptItFromRunningOrReporting)
{
    const std::string half(70 * 1024, 'x'); // two make one shell argument over 128 KiB
    const Failure cases[] = {
        {{"true"}, deviceFull, false, "failed to write the elapsed seconds (No space left on device)!\n"},
        {{"true"}, closedFd, false, "failed to write the elapsed seconds (Bad file descriptor)!\n"},
        {{":", half, half}, captured, false, "failed to run the command (Argument list too long)!\n"},
        {{"true"}, captured, true, "failed to run the command (No child processes)!\n"},
    };
    for (const Failure& c : cases) {
        Invocation how;
        how.args = c.args;
        how.stdoutTo = c.stdoutTo;
        how.ignoreChildren = c.ignoreChildren;
        SCOPED_TRACE(c.err);
        const Outcome got = Spawn(how);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(got.err, c.err);
        ASSERT_TRUE(WIFEXITED(got.status));
        EXPECT_EQ(WEXITSTATUS(got.status), 255);
    }
}

TEST_F(Secs, AnExceptionWhileAssemblingRunsNothing)
{
    const struct {
        const char* kind;
        const char* err;
    } cases[] = {
        {"bad_alloc", "failed to allocate memory (std::bad_alloc)!\n"},
        {"runtime_error", "notexpectederror injected: cppexceptiontype-St13runtime_error\n"},
        {"int", "unknownerror\n"},
    };
    const std::string marker = scratch + "/ran";
    for (const auto& c : cases) {
        Invocation how;
        how.program = SECS_REFUSING_NEW;
        how.args = {"touch ran;", ":", std::string(100 * 1024, 'x')};
        how.throwKind = c.kind;
        SCOPED_TRACE(c.kind);
        const Outcome got = Spawn(how);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(got.err, c.err);
        ASSERT_TRUE(WIFEXITED(got.status));
        EXPECT_EQ(WEXITSTATUS(got.status), 255);
        EXPECT_NE(access(marker.c_str(), F_OK), 0) << "the command ran";
        std::remove(marker.c_str());
    }
}

TEST_F(Secs, CountsTheSecondsTheCommandTook)
{
    Invocation how;
    how.args = {"sleep", "1"};
    const long seconds = SecondsAfter(Spawn(how).out, "");
    EXPECT_GE(seconds, 1);
    EXPECT_LE(seconds, 10);
}

} // namespace
