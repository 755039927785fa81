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
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <exception>
#include <iostream>
#include <new>
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

int main(int argc, char** argv)
{
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
