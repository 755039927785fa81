// SPDX-License-Identifier: MIT
// secs on Windows: run a command through cmd.exe and print how many whole
// seconds it took.
//
// The arguments come as UTF-16 and are joined as on POSIX. The text goes to
// the system's own cmd.exe, not COMSPEC's (as secs never runs SHELL), as
// cmd.exe /d /s /c "<text>": /s with the outer quotes hands cmd the text
// exactly, where it would strip its first and last quote, and /d skips the
// AutoRun commands, as sh -c reads no start-up file. secs ends with the
// command's exit code, all 32 bits: an NTSTATUS code such as 0xC0000005
// says on Windows what a signal says on POSIX.

#include <windows.h>

#include <errno.h>
#include <string.h>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <typeinfo>

#include "../../libssrc/core/1/seconds_timer.h"
#include "logline.h"

using namespace ZW37::Veldmark::Corelibrary1::CppVersion1998;

namespace {

// Ctrl-C and Ctrl-Break reach every process on the console: the command ends
// as it will, secs lives on to report. (SetConsoleCtrlHandler(NULL, TRUE)
// would be inherited by the command, which would then ignore them.)
BOOL WINAPI Outlive(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

// The system's words for an error, on one line, without the closing stop.
std::string Reason(DWORD error)
{
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  error, 0, text, sizeof text, NULL);
    while (length > 0 && strchr(" .\r\n", text[length - 1]) != NULL) {
        --length;
    }
    return std::string(text, length);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        Insecondstimer timer;
        std::wstring commandToPerform;
        for (int argNumber = 1; argNumber < argc; ++argNumber) {
            commandToPerform += L" ";
            commandToPerform += argv[argNumber];
        }
        wchar_t folder[MAX_PATH];
        const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH);
        std::wstring line = L"\"" + std::wstring(folder, folderLength) +
                            L"\\cmd.exe\" /d /s /c \"" + commandToPerform + L"\"";

        // CreateProcessW takes 32,767 units, its NUL included (wine would run
        // a longer line cut short); cmd's own 8,191 are cmd's to enforce.
        if (line.size() >= 32767) {
            Logline() << "failed to run the command (" << Reason(ERROR_FILENAME_EXCED_RANGE).c_str()
                      << ")!\n";
            return 255;
        }
        (void)SetConsoleCtrlHandler(Outlive, TRUE);
        STARTUPINFOW startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child;

        timer.Run();
        if (!CreateProcessW(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &child)) {
            const DWORD runError = GetLastError();
            Logline() << "failed to run the command (" << Reason(runError).c_str() << ")!\n";
            return 255;
        }
        DWORD res = 0;
        (void)WaitForSingleObject(child.hProcess, INFINITE);
        (void)GetExitCodeProcess(child.hProcess, &res);
        timer.Pause();
        (void)CloseHandle(child.hThread);
        (void)CloseHandle(child.hProcess);

        std::cout << timer.GetInsecondsinterval();
        if (!std::cout.flush()) {
            const int writeError = errno;
            Logline() << "failed to write the elapsed seconds (" << strerror(writeError) << ")!\n";
            return 255;
        }
        return static_cast<int>(res);
    } catch (const std::bad_alloc& e) {
        Logline() << "failed to allocate memory (" << e.what() << ")!\n";
    } catch (const std::exception& e) {
        Logline() << "notexpectederror " << e.what() << ": cppexceptiontype-" << typeid(e).name()
                  << "\n";
    } catch (...) {
        Logline() << "unknownerror\n";
    }
    // Not main's -1 on POSIX: Windows would report it whole, as 0xFFFFFFFF.
    return 255;
}
