// The built lunavista-cli run as a child process: exit status, and stdout and stderr byte for
// byte (UTF-8, LF line ends on every platform).
#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace cli {
namespace {

using Args = std::vector<std::string>;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string programPath()
{
    std::string path = LUNAVISTA_CLI_PATH;
#ifdef _WIN32
    // Under Wine the build tree's Unix path is reached through drive Z:.
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
#endif
    return path;
}

// The arguments used here hold no quotes, so plain quoting serves both shells.
std::string shellQuoted(const std::string& text)
{
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    return "'" + text + "'";
#endif
}

// `redirect` is added to the command line before stderr's redirection (">/dev/full").
Result runProgram(const Args& args, const std::string& redirect = {})
{
    static int runs = 0;
    const std::string errFile = std::string("cli_stderr_") +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                "_" + std::to_string(++runs) + ".txt";
    std::string command = shellQuoted(programPath());
    for (const std::string& arg : args) {
        command += ' ';
        command += shellQuoted(arg);
    }
    command += redirect + " 2>" + errFile;

    Result result;
#ifdef _WIN32
    // cmd /c drops the first and the last quote of a line that starts with one.
    std::FILE* pipe = _popen(("\"" + command + "\"").c_str(), "rb");
#else
    std::FILE* pipe = popen(command.c_str(), "r");
#endif
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot start " << command;
        return result;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, n);
    }
#ifdef _WIN32
    result.status = _pclose(pipe);
#else
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    if (std::FILE* err = std::fopen(errFile.c_str(), "rb")) {
        while ((n = std::fread(buffer, 1, sizeof buffer, err)) > 0) {
            result.err.append(buffer, n);
        }
        std::fclose(err);
    }
    std::remove(errFile.c_str());
    return result;
}

TEST(CliProcess, PrintsItsVersion)
{
    const Result r = runProgram({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string("lunavista-cli ") + LUNAVISTA_VERSION + "\n");
    EXPECT_EQ(r.err, "");
}

// The bytes the program writes are exactly what its library produces: no CRLF translation, no
// code-page conversion on the way out.
TEST(CliProcess, WritesTheReportsByteForByte)
{
    const char* readings[] = {"2025-03-05 14:07:09", "2025-07-20 12:00:00", "2000-11-25 23:59:00",
                              "30827-12-31 23:59:59"};
    for (const char* reading : readings) {
        for (const char* command : {"now", "phases", "eclipses", "apsides"}) {
            const Args args = {command, "--at", reading};
            std::string want;
            std::string wantErr;
            ASSERT_EQ(run(args, want, wantErr), ExitSuccess);
            const Result r = runProgram(args);
            EXPECT_EQ(r.status, 0) << command << " " << reading;
            EXPECT_EQ(r.out, want) << command << " " << reading;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(r.out.find('\r'), std::string::npos);
        }
    }
}

TEST(CliProcess, ReadsTheClockWhenNoReadingIsGiven)
{
    const Result r = runProgram({"now"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> keys;
    while (std::getline(lines, line)) {
        keys.push_back(line.substr(0, line.find('\t')));
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"fraction", "event", "countdown", "dial"}));
    EXPECT_EQ(r.out.back(), '\n');

    const Result eclipses = runProgram({"eclipses"});
    ASSERT_EQ(eclipses.status, 0);
    std::size_t count = 0;
    for (const char c : eclipses.out) {
        count += c == '\n' ? 1 : 0;
    }
    EXPECT_EQ(count, 5u);
}

TEST(CliProcess, UsageErrorsExitWithTwoAndOneLineOnStderr)
{
    const Args bad[] = {
        {"now", "--at", "2025-02-30 10:00:00"},
        {"now", "--at", "2025-03-05 25:00:00"},
        {"tomorrow"},
        {"now", "--at"},
        {},
    };
    for (const Args& args : bad) {
        const Result r = runProgram(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.rfind("lunavista-cli: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(r.err.find('\r'), std::string::npos);
    }
    const Result help = runProgram({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, helpText());
}

// A write that fails ends with its own status and one line on stderr that says so; with -o the
// file gets exactly what standard output would have, and standard output nothing.
TEST(CliProcess, AFailedWriteIsReportedWithItsOwnStatus)
{
    struct Case {
        Args args;
        const char* redirect;
        const char* message;
    };
    const Case cases[] = {
#ifndef _WIN32
        {{"phases", "--at", "2026-12-20"}, " >/dev/full", "cannot write to standard output: "},
        {{"ics", "--at", "2026-12-20"}, " >&-", "cannot write to standard output: "},
#endif
        {{"ics", "--at", "2026-12-20", "-o", "no-such-folder/mond.ics"},
         "",
         "cannot write \"no-such-folder/mond.ics\": "},
    };
    for (const Case& c : cases) {
        const Result r = runProgram(c.args, c.redirect);
        EXPECT_EQ(r.status, ExitWriteFailed) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(std::string("lunavista-cli: ") + c.message, 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }

    const Args args = {"phases", "--at", "2026-12-20 21:15"};
    std::string want;
    std::string wantErr;
    ASSERT_EQ(run(args, want, wantErr), ExitSuccess);
    Args toFile = args;
    toFile.insert(toFile.end(), {"-o", "cli_phases_written.txt"});
    const Result r = runProgram(toFile);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    std::string written;
    if (std::FILE* file = std::fopen("cli_phases_written.txt", "rb")) {
        char buffer[4096];
        for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            written.append(buffer, n);
        }
        std::fclose(file);
    }
    std::remove("cli_phases_written.txt");
    EXPECT_EQ(written, want);
}

#ifdef _WIN32
// What a console of the given output code page shows after the program ran in it, read back as
// Unicode, and the console's output code page afterwards. The test's own standard handles are
// put back, so its report still reaches the test runner.
struct ConsoleRun {
    std::wstring shown;
    UINT codePageAfter = 0;
};

ConsoleRun runInConsole(const std::vector<Args>& runs, UINT codePage)
{
    const HANDLE saved[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                            GetStdHandle(STD_ERROR_HANDLE)};
    ConsoleRun result;
    FreeConsole();
    if (!AllocConsole()) {
        ADD_FAILURE() << "no console";
        return result;
    }
    SetConsoleOutputCP(codePage);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE console =
        CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inheritable, OPEN_EXISTING, 0, nullptr);
    for (const Args& args : runs) {
        std::string commandLine = shellQuoted(programPath());
        for (const std::string& arg : args) {
            commandLine += ' ' + shellQuoted(arg);
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = console;
        startup.hStdError = console;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &process)) {
            ADD_FAILURE() << "cannot start " << commandLine;
            continue;
        }
        WaitForSingleObject(process.hProcess, 60000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(console, &info);
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
        DWORD read = 0;
        ReadConsoleOutputCharacterW(console, row.data(), static_cast<DWORD>(row.size()), {0, y},
                                    &read);
        result.shown.append(row, 0, read);
    }
    result.codePageAfter = GetConsoleOutputCP();
    CloseHandle(console);
    FreeConsole();
    SetStdHandle(STD_INPUT_HANDLE, saved[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, saved[1]);
    SetStdHandle(STD_ERROR_HANDLE, saved[2]);
    return result;
}

// A German console shows code page 850, a Western one 1252: the umlauts read right in both, and
// the program leaves the console's code page as it found it.
class CliConsole : public ::testing::TestWithParam<UINT> {};

TEST_P(CliConsole, ShowsTheUmlautsWhateverTheConsolesCodePage)
{
    const ConsoleRun run = runInConsole({{"now", "--at", "2026-12-20 21:15:00"},
                                         {"phases", "--at", "2026-12-20 21:15:00"},
                                         {"eclipses", "--at", "2026-12-20 21:15:00"}},
                                        GetParam());
    for (const wchar_t* text : {L"N\u00E4chster Vollmond", L"Das n\u00E4chste Letzte Viertel",
                                L"ringf\u00F6rmige Sonnenfinsternis"}) {
        EXPECT_NE(run.shown.find(text), std::wstring::npos) << "missing in the console: " << text;
    }
    EXPECT_EQ(run.codePageAfter, GetParam());
}

INSTANTIATE_TEST_SUITE_P(CodePages, CliConsole, ::testing::Values(850u, 1252u));
#endif

}  // namespace
}  // namespace cli
