// SPDX-License-Identifier: MIT
// secs: run a shell command and print how many whole seconds it took.
//
// The arguments are joined into one command line for /bin/sh, each after a
// blank: the leading blank keeps a first word that starts with a dash from
// reading as the shell's own option, and the text ends as the user's does
// (a closing here-document delimiter, a final backslash).
// The command keeps the tool's standard input, output and error; the seconds
// come last on standard output, with no line end. secs then ends the way the
// shell ended: with its exit code, or killed by the same signal.

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <exception>
#include <iostream>
#include <new>
#include <streambuf>
#include <string>
#include <typeinfo>

#include "../../libssrc/core/1/seconds_timer.h"
#include "logline.h"

using namespace ZW37::Veldmark::Corelibrary1::CppVersion1998;

// Leaves no core file of ours: a zero limit and, where the system pipes cores
// to a collector (which ignores the limit), not dumpable either.
static void DisableCoreDumps()
{
#if defined(PR_SET_DUMPABLE)
    (void)prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
    struct rlimit core;
    if (getrlimit(RLIMIT_CORE, &core) == 0) {
        core.rlim_cur = 0;
        (void)setrlimit(RLIMIT_CORE, &core);
    }
}

// Throwing std::bad_alloc takes memory too. Where none is left even for
// that, the C++ runtime calls std::terminate, whose default aborts and leaves
// a core. secs says the memory line instead and ends with 255 at once, since
// a handler of std::terminate must not return.
static void NoMemoryToThrow()
{
    Logline() << "failed to allocate memory (" << std::bad_alloc().what() << ")!\n";
    _exit(255);
}

// While this object lives, std::cout writes straight to standard output, and
// each write goes out whole or fails with errno set. A command can leave the
// descriptor non-blocking: node.js does, for one. When the reader is behind,
// a write then fails with EAGAIN, or takes only part of the text. This buffer
// waits until the descriptor can take more, as a blocking write would have
// waited, and writes the rest.
class Wholewrites : public std::streambuf {
public:
    Wholewrites() : previous(std::cout.rdbuf(this)) {}
    ~Wholewrites()
    {
        std::cout.rdbuf(previous);
    }

protected:
    std::streamsize xsputn(const char* text, std::streamsize size)
    {
        std::streamsize done = 0;
        struct pollfd out = {1, POLLOUT, 0};
        while (done < size) {
            const ssize_t written = write(1, text + done, static_cast<size_t>(size - done));
            if (written > 0) {
                done += written;
            } else if (written == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) ||
                       poll(&out, 1, -1) < 0) {
                break;
            }
        }
        return done;
    }
    int_type overflow(int_type c)
    {
        const char one = traits_type::to_char_type(c);
        if (traits_type::eq_int_type(c, traits_type::eof()) || xsputn(&one, 1) == 1) {
            return traits_type::not_eof(c);
        }
        return traits_type::eof();
    }

private:
    std::streambuf* previous;
};

int main(int argc, char** argv)
{
    (void)std::set_terminate(NoMemoryToThrow);
    try {
        Insecondstimer timer;
        std::string commandToPerform;
        for (unsigned int argNumber = 1; argNumber < static_cast<unsigned int>(argc); ++argNumber) {
            commandToPerform += " ";
            commandToPerform += argv[argNumber];
        }

        // Started with SIGCHLD ignored (some service managers do that),
        // system() could not collect the shell's status; the command gets the
        // default, as it would from a shell.
        (void)signal(SIGCHLD, SIG_DFL);

        // The clock starts only once the text is complete, so building it
        // is not part of the measurement.
        timer.Run();
        errno = 0;
        const int res = system(commandToPerform.c_str());
        const int runError = errno;
        timer.Pause();

        // A shell that could not be started (a text over the kernel's 128 KiB
        // limit for one argument, say) reads as exit status 127, the same as a
        // command the shell cannot find; only errno tells them apart. -1 means
        // no child could be made or waited for.
        if (res == -1 || (runError != 0 && WIFEXITED(res) && WEXITSTATUS(res) == 127)) {
            Logline() << "failed to run the command (" << strerror(runError) << ")!\n";
            return 255;
        }

        // Past the caller's file-size limit, the number's write would raise
        // SIGXFSZ, which kills secs and loses the shell's status. Ignored,
        // the write fails with EFBIG instead, and secs says so as it does for
        // any failed write. The command has run with the caller's disposition.
        (void)signal(SIGXFSZ, SIG_IGN);
        Wholewrites wholeWrites;
        std::cout << timer.GetInsecondsinterval();
        if (!std::cout.flush()) {
            const int writeError = errno;
            Logline() << "failed to write the elapsed seconds (" << strerror(writeError) << ")!\n";
            return 255;
        }

        // Die of the shell's signal, so a calling shell sees what it would
        // have seen for the command alone (and Ctrl-C stops its loop).
        if (WIFSIGNALED(res)) {
            const int sig = WTERMSIG(res);
            DisableCoreDumps();
            (void)signal(sig, SIG_DFL);
            sigset_t only;
            (void)sigemptyset(&only);
            (void)sigaddset(&only, sig);
            (void)sigprocmask(SIG_UNBLOCK, &only, NULL);
            (void)raise(sig);
            return 128 + sig;
        }
        return WEXITSTATUS(res);
    } catch (const std::bad_alloc& e) {
        Logline() << "failed to allocate memory (" << e.what() << ")!\n";
    } catch (const std::exception& e) {
        Logline() << "notexpectederror " << e.what() << ": cppexceptiontype-" << typeid(e).name()
                  << "\n";
    } catch (...) {
        Logline() << "unknownerror\n";
    }
    return -1;
}
