// SPDX-License-Identifier: MIT
// secs on Windows as a black box: each case is the command line secs starts
// with, its output and error going to files, its exit code read whole. Run as
// "helper", this program is also the command the cases run: it prints its
// arguments, exits with a code, crashes, or sends a console event.
#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <regex>
#include <string>

namespace {

const DWORD asCmd = 1; // as cmd.exe ends, given the same text alone: its output, error and code first

struct Case {
    const wchar_t* args;   // secs's arguments as typed at cmd; $helper names this program, $spaced a copy
                           // in a folder with a blank; $fillN pads secs's line for CreateProcessW to N units
    const char* out;       // stdout (UTF-8), as a regex
    const char* err;       // stderr, as a regex; {} stands for the system's words for `error`
    DWORD status;          // secs's exit code, or asCmd
    long long wine = -1;   // the exit code under wine, where wine is not Windows
    char stdoutIs = 'f';   // a file, 'c'losed, or a 'p'ipe with no reader
    const wchar_t* env = L"="; // NAME=value, set for secs; SECS_TEST_THROW starts secs_throwing instead
    int error = 0;         // a Windows error, or minus an errno
};

const Case join[] = {
    {L"exit 3", "[01]", "", 3},
    {L"", "[01]", "", 0},
    {L"\"echo a& echo b\"", "a\r\nb\r\n[01]", "", 0},
    // The quotes inside the one argument reach cmd; those of the argument list do not.
    {L"\"\\\"$spaced\\\" helper args \\\"a b\\\"\"", "a b\\|[01]", "", 0},
    {L"\"$spaced\" helper args \"a b\"", "[01]", "", asCmd},
    {L"$helper helper args \u00e9\u20ac\u65e5", "\xc3\xa9\xe2\x82\xac\xe6\x97\xa5\\|[01]", "", 0},
    {L"exit 3", "[01]", "", 3, -1, 'f', L"COMSPEC=C:\\nowhere\\cmd.exe"},
};
const Case status[] = {
    {L"no-such", "[01]", "", asCmd},
    {L"$helper helper exit 70000", "[01]", "", 70000},
    {L"$helper helper exit -1", "[01]", "", 0xFFFFFFFF},
    {L"$helper helper crash", "[01]", "", 0xC0000005},
};
const Case failure[] = {
    // Past cmd's 8,191 units the text is cmd's to refuse (wine's crashes); past CreateProcessW's, secs's.
    {L"rem $fill32767", "[01]", "", asCmd},
    {L"rem $fill32768", "", "failed to run the command \\({}\\)!\r\n", 255, -1, 'f', L"=", ERROR_FILENAME_EXCED_RANGE},
    {L"exit 3", "", "failed to write the elapsed seconds \\({}\\)!\r\n", 255, -1, 'c', L"=", -EBADF},
    {L"exit 3", "", "failed to write the elapsed seconds \\(.+\\)!\r\n", 255, -1, 'p'},
    // An exception while the command is assembled: nothing runs, and secs ends with 255, not main's -1.
    {L"$fill20000", "", "failed to allocate memory \\(std::bad_alloc\\)!\r\n", 255, -1, 'f', L"SECS_TEST_THROW=bad_alloc"},
    {L"$fill20000", "", "notexpectederror injected: cppexceptiontype-.*runtime_error.*\r\n", 255, -1, 'f', L"SECS_TEST_THROW=runtime_error"},
    {L"$fill20000", "", "unknownerror\r\n", 255, -1, 'f', L"SECS_TEST_THROW=int"},
};
// Ctrl-C and Ctrl-Break reach the whole console: the command ends of it, secs reports.
const Case ctrlC[] = {
    {L"$helper helper event 0", "[01]", "", 0xC000013A, 0},
    {L"$helper helper event 1", "[01]", "", 0xC000013A},
};

void PrintTo(const Case& c, std::ostream* out) { *out << testing::PrintToString(std::wstring(c.args)) << c.stdoutIs; }

std::string Escaped(const std::string& text) { return std::regex_replace(text, std::regex(R"([\\\[\](){}.*+?^$|])"), "\\$&"); }

const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;

std::wstring Path(bool cmd)
{
    wchar_t path[MAX_PATH];
    return cmd ? std::wstring(path, GetSystemDirectoryW(path, MAX_PATH)) + L"\\cmd.exe"
               : std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}

struct Outcome {
    DWORD status = 0;
    std::string out, err;
};

// Starts PROGRAM with LINE for its command line, and stdout and the
// environment as the case says, and waits for it.
Outcome Start(const std::wstring& program, std::wstring line, const Case& c)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    auto temporary = [&](const wchar_t* name) {
        return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    };
    HANDLE files[] = {temporary(L"secs_windows_test.out"), temporary(L"secs_windows_test.err")}, reader = nullptr;
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    start.hStdOutput = c.stdoutIs == 'f' ? files[0] : nullptr;
    if (c.stdoutIs == 'p') CreatePipe(&reader, &start.hStdOutput, &inherit, 0), CloseHandle(reader);
    start.hStdError = files[1];
    const std::wstring name(c.env, static_cast<size_t>(wcschr(c.env, L'=') - c.env));
    SetEnvironmentVariableW(name.c_str(), wcschr(c.env, L'=') + 1);
    Outcome seen;
    PROCESS_INFORMATION child;
    // A console event stays in a console of its own, away from the table and what runs it.
    const DWORD console = line.find(L"event") != std::wstring::npos ? CREATE_NEW_CONSOLE : 0;
    if (CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, console, nullptr, nullptr, &start, &child)) {
        WaitForSingleObject(child.hProcess, INFINITE);
        GetExitCodeProcess(child.hProcess, &seen.status);
        CloseHandle(child.hThread), CloseHandle(child.hProcess);
    }
    SetEnvironmentVariableW(name.c_str(), nullptr);
    CloseHandle(start.hStdInput);
    if (c.stdoutIs == 'p') CloseHandle(start.hStdOutput);
    for (std::string* text : {&seen.out, &seen.err}) {
        HANDLE file = files[text == &seen.err];
        text->resize(SetFilePointer(file, 0, nullptr, FILE_END));
        DWORD got = SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &got, nullptr), CloseHandle(file);
    }
    return seen;
}

class Secs : public testing::TestWithParam<Case> {};

TEST_P(Secs, RunsTimesAndEndsAsCmdDid)
{
    const Case& c = GetParam();
    std::wstring args = c.args;
    if (args.find(L"event 1") != std::wstring::npos && underWine) GTEST_SKIP() << "wine sends no Ctrl-Break to a whole console";
    wchar_t temp[MAX_PATH];
    const std::wstring spaced = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"secs t y";
    CreateDirectoryW(spaced.c_str(), nullptr);
    CopyFileW(Path(false).c_str(), (spaced + L"\\helper.exe").c_str(), FALSE);
    for (const auto& name : {std::make_pair(L"$helper", Path(false)), std::make_pair(L"$spaced", spaced + L"\\helper.exe")}) {
        const auto at = args.find(name.first);
        if (at != std::wstring::npos) args.replace(at, wcslen(name.first), name.second);
    }
    const auto fill = args.find(L"$fill");
    if (fill != std::wstring::npos) { // "CMD" /d /s /c " TEXT" NUL
        const size_t units = wcstoul(&args[fill + 5], nullptr, 10) - 16 - Path(true).size();
        args.erase(fill);
        args.append(units - args.size(), L'x');
    }
    // Started with a short name: secs's own line is longer than its command line.
    const Outcome seen = Start(wcsstr(c.env, L"THROW") != nullptr ? L"" SECS_BUILDS L"throwing.exe" : L"" SECS, L"s " + args, c);
    if (args.find(L"event") != std::wstring::npos && seen.status == 2)
        GTEST_SKIP() << "no console could be made to send the event to";
    std::string out = c.out, err = c.err;
    if (c.error != 0) {
        char reason[512] = "";
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(c.error), 0, reason, sizeof reason, nullptr);
        while (length > 0 && strchr(" .\r\n", reason[length - 1]) != nullptr) reason[--length] = '\0';
        err.replace(err.find("{}"), 2, Escaped(c.error > 0 ? reason : strerror(-c.error)));
    }
    DWORD ending = underWine && c.wine >= 0 ? static_cast<DWORD>(c.wine) : c.status;
    if (c.status == asCmd) {
        int count = 0;
        wchar_t** words = CommandLineToArgvW((L"s " + args).c_str(), &count);
        std::wstring text;
        for (int i = 1; i < count; ++i) text += std::wstring(L" ") + words[i];
        LocalFree(words);
        const Outcome cmd = Start(Path(true), L"\"" + Path(true) + L"\" /d /s /c \"" + text + L"\"", c);
        out = Escaped(cmd.out) + out;
        err = Escaped(cmd.err);
        ending = cmd.status;
    }
    EXPECT_EQ(seen.status, ending);
    EXPECT_TRUE(std::regex_match(seen.out, std::regex(out))) << "stdout: " << seen.out;
    EXPECT_TRUE(std::regex_match(seen.err, std::regex(err))) << "stderr: " << seen.err;
}

INSTANTIATE_TEST_SUITE_P(Join, Secs, testing::ValuesIn(join));
INSTANTIATE_TEST_SUITE_P(Status, Secs, testing::ValuesIn(status));
INSTANTIATE_TEST_SUITE_P(CtrlC, Secs, testing::ValuesIn(ctrlC));
INSTANTIATE_TEST_SUITE_P(Failure, Secs, testing::ValuesIn(failure));

// The commands the cases run.
int Helper(int argc, wchar_t** argv)
{
    const std::wstring what = argv[2];
    if (what == L"exit") ExitProcess(static_cast<UINT>(_wtoi64(argv[3])));
    if (what == L"crash") RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
    if (what == L"event") return GenerateConsoleCtrlEvent(static_cast<DWORD>(_wtoi(argv[3])), 0) ? (Sleep(5000), 1) : 2;
    std::string text;
    for (int i = 3; i < argc; ++i) {
        char bytes[64];
        text.append(bytes, WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, bytes, sizeof bytes, nullptr, nullptr) - 1) += '|';
    }
    DWORD wrote = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) ? 0 : 1;
}

BOOL WINAPI Outlive(DWORD) { return TRUE; } // the table outlives the events its cases send

} // namespace

int main(int argc, char** argv)
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count > 2 && std::wstring(words[1]) == L"helper") return Helper(count, words);
    SetConsoleCtrlHandler(Outlive, TRUE);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
