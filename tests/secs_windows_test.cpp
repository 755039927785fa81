// SPDX-License-Identifier: MIT
// secs on Windows as a black box. Each case is secs's command line, with its output and error
// read back and its exit code whole. This program, copied as helper.exe and as
// "secs t y\helper.exe", is also the command that the cases run.
#include <gtest/gtest.h>
#include <windows.h>

#include <time.h>

#include <string>

#include "output.h"

namespace {

struct Case {
    // secs's arguments as typed at cmd; $fillN pads secs's line for CreateProcessW to N units.
    const wchar_t* args;
    const char* out; // stdout (UTF-8), as a regex; {N}: the number, from N to what the table saw
    const char* err; // stderr, as a regex
    DWORD status;    // secs's exit code
    // NAME=value, set for secs; SECS_TEST_THROW starts secs_throwing instead.
    const wchar_t* env = nullptr;
    bool stdoutClosed = false;
    long long wine = -1; // the exit code under wine, where wine is not Windows
};

const Case cases[] = {
    {L"", "{0}", "", 0},
    {L"\"echo a& echo b\"", "a\r\nb\r\n{0}", "", 0},
    // The quotes inside the one argument reach cmd; those of the argument list do not.
    {L"\"\\\"secs t y\\helper\\\" args \\\"a b\\\"\"", "a b\\|{0}", "", 0},
    // 9009: cmd finds no command "secs".
    {L"\"secs t y\\helper\" args \"a b\"", "{0}", "(.+\r\n)+", 9009},
    {L"helper args \u00e9\u20ac\u65e5", "\xc3\xa9\xe2\x82\xac\xe6\x97\xa5\\|{0}", "", 0},
    {L"exit 3", "{0}", "", 3, L"COMSPEC=C:\\nowhere\\cmd.exe"},
    // All 32 bits of the command's code.
    {L"helper crash", "{0}", "", 0xC0000005},
    // Ctrl-C reaches the whole console: the command ends of it, secs reports.
    {L"helper ctrl-c", "{0}", "", 0xC000013A, nullptr, false, 0},
    // Past CreateProcessW's 32,767 units (cmd's own limit is 8,191).
    {L"rem $fill32768", "", "failed to run the command \\(.+\\)!\r\n", 255},
    {L"exit 3", "", "failed to write the elapsed seconds \\(Bad file descriptor\\)!\r\n", 255,
     nullptr, true},
    // An exception while the command is assembled: nothing runs, secs ends with 255, not -1.
    {L"$fill20000", "", "failed to allocate memory \\(std::bad_alloc\\)!\r\n", 255,
     L"SECS_TEST_THROW=bad_alloc"},
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << testing::PrintToString(std::wstring(c.args));
}

const bool underWine =
    GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;

// A file that goes when it is closed, for secs's output.
HANDLE Scratch(const wchar_t* name, SECURITY_ATTRIBUTES* inherit)
{
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, inherit, CREATE_ALWAYS,
                       FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::string ReadBack(HANDLE file)
{
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD got = SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(file);
    return text;
}

class Secs : public testing::TestWithParam<Case> {};

TEST_P(Secs, RunsTimesAndEndsAsTheCommandDid)
{
    const Case& c = GetParam();
    // Started with a short name: secs's own line is longer than its command line.
    std::wstring line = std::wstring(L"s ") + c.args;
    const auto fill = line.find(L"$fill");
    if (fill != std::wstring::npos) {
        // "SYSTEM\cmd.exe" /d /s /c " TEXT" and a NUL, where TEXT is the line but its "s".
        wchar_t system[MAX_PATH];
        const size_t units =
            wcstoul(&line[fill + 5], nullptr, 10) - 22 - GetSystemDirectoryW(system, MAX_PATH);
        line.erase(fill);
        line.append(units - line.size(), L'x');
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE out = Scratch(L"secs_windows_test.out", &inherit);
    const HANDLE err = Scratch(L"secs_windows_test.err", &inherit);
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = CreateFileW(L"NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    start.hStdOutput = c.stdoutClosed ? nullptr : out;
    start.hStdError = err;
    std::wstring name;
    if (c.env != nullptr) {
        const wchar_t* equals = wcschr(c.env, L'=');
        name.assign(c.env, equals);
        SetEnvironmentVariableW(name.c_str(), equals + 1);
    }
    const bool throwing = name == L"SECS_TEST_THROW";
    // Ctrl-C stays in a console of its own, away from the table and what runs it.
    const bool ctrlC = line.find(L"ctrl-c") != std::wstring::npos;
    PROCESS_INFORMATION child;
    DWORD status = 0;
    const time_t began = time(nullptr);
    if (CreateProcessW(throwing ? L"" SECS_BUILDS L"throwing.exe" : L"" SECS, &line[0], nullptr,
                       nullptr, TRUE, ctrlC ? CREATE_NEW_CONSOLE : 0, nullptr, nullptr, &start,
                       &child)) {
        WaitForSingleObject(child.hProcess, INFINITE);
        GetExitCodeProcess(child.hProcess, &status);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    const time_t seconds = time(nullptr) - began;
    if (c.env != nullptr) {
        SetEnvironmentVariableW(name.c_str(), nullptr);
    }
    CloseHandle(start.hStdInput);
    const std::string seenOut = ReadBack(out);
    const std::string seenErr = ReadBack(err);
    if (ctrlC && status == 2) {
        GTEST_SKIP() << "no console could be made to send Ctrl-C to";
    }
    EXPECT_EQ(status, underWine && c.wine >= 0 ? static_cast<DWORD>(c.wine) : c.status);
    EXPECT_TRUE(std::regex_match(seenErr, std::regex(c.err))) << "stderr: " << seenErr;
    ExpectOutput(seenOut, c.out, seconds);
}

INSTANTIATE_TEST_SUITE_P(Table, Secs, testing::ValuesIn(cases));

// The commands the cases run.
int Helper(int argc, wchar_t** argv)
{
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"crash") {
        RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
    }
    if (what == L"ctrl-c") {
        if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) {
            return 2;
        }
        Sleep(5000);
        return 1;
    }
    std::string text;
    for (int i = 2; i < argc; ++i) {
        char bytes[64];
        const int size =
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, bytes, sizeof bytes, nullptr, nullptr);
        text.append(bytes, size - 1);
        text += '|';
    }
    DWORD wrote = 0;
    const DWORD size = static_cast<DWORD>(text.size());
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), size, &wrote, nullptr) ? 0 : 1;
}

// The table outlives the Ctrl-C its cases send.
BOOL WINAPI Outlive(DWORD)
{
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring helper = L"\\helper.exe";
    if (self.size() > helper.size() && self.substr(self.size() - helper.size()) == helper) {
        return Helper(count, words);
    }
    SetConsoleCtrlHandler(Outlive, TRUE);
    CreateDirectoryW(L"secs t y", nullptr);
    CopyFileW(self.c_str(), L"helper.exe", FALSE);
    CopyFileW(self.c_str(), L"secs t y\\helper.exe", FALSE);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
