// The built lunavista-cli run as a child process: exit status, and stdout and stderr byte for
// byte (UTF-8, LF line ends on every platform).
#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
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

// `redirect` is added to the command line before stderr's redirection (">/dev/full"), `prefix`
// before the program (shell commands that set the scene).
Result runProgram(const Args& args, const std::string& redirect = {},
                  const std::string& prefix = {})
{
    static int runs = 0;
    const std::string errFile = std::string("cli_stderr_") +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                "_" + std::to_string(++runs) + ".txt";
    std::string command = prefix + shellQuoted(programPath());
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
    // An earlier, longer file of that name is replaced whole.
    if (std::FILE* earlier = std::fopen("cli_phases_written.txt", "wb")) {
        const std::string longer(1000, '#');
        std::fwrite(longer.data(), 1, longer.size(), earlier);
        std::fclose(earlier);
    }
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

#ifndef _WIN32
std::string contentOf(const std::string& path)
{
    std::string content;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            content.append(buffer, n);
        }
        std::fclose(file);
    }
    return content;
}

// What a folder holds: each name with its kind of file.
std::map<std::string, std::filesystem::file_type> entriesOf(const std::string& folder)
{
    std::map<std::string, std::filesystem::file_type> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        entries[entry.path().filename().string()] = entry.symlink_status().type();
    }
    return entries;
}

// -o never destroys what the program did not make, and leaves no temporary file: a device node of
// the test's own (a twin of /dev/full; without the right to make one, only the FIFO) and a FIFO
// whose reader goes away keep their place after the write fails; a symbolic link stays a link
// while the file it names is replaced and keeps its mode; and a write that fails half-way (a
// file-size limit, the signal left as the shell has it) leaves the earlier file byte for byte.
TEST(CliProcess, OutputFileIsNeverDestroyed)
{
    namespace fs = std::filesystem;
    const std::string folder = "cli_output_test";
    const std::string earlier = "an earlier calendar, complete\n";
    const Args longCalendar = {"ics", "--at", "2026-12-20", "--months", "1200"};
    const Args phases = {"phases", "--at", "2026-12-20 21:15"};
    std::string phasesOutput;
    std::string ignored;
    ASSERT_EQ(run(phases, phasesOutput, ignored), ExitSuccess);

    struct Case {
        const char* name;
        std::function<bool()> setUp;  // false: the case cannot be set up here
        std::string prefix;
        Args args;
        const char* target;  // the -o argument, in the folder
        int status;
        std::function<void()> check;
    };
    const std::string at = folder + "/";
    const auto earlierFile = [&](const std::string& name) {
        std::FILE* file = std::fopen((at + name).c_str(), "wb");
        std::fputs(earlier.c_str(), file);
        std::fclose(file);
        return chmod((at + name).c_str(), 0640) == 0;
    };
    const auto linkedFile = [&] {
        fs::create_symlink("target.txt", at + "link.txt");
        return earlierFile("target.txt");
    };
    const Case cases[] = {
        {"device node",
         [&] {
             return geteuid() == 0 &&
                    mknod((at + "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
         },
         "", longCalendar, "full", ExitWriteFailed,
         [&] { EXPECT_TRUE(fs::is_character_file(at + "full")); }},
        {"FIFO whose reader goes away", [&] { return mkfifo((at + "fifo").c_str(), 0644) == 0; },
         "trap '' PIPE; head -c 1 " + at + "fifo >/dev/null & ", longCalendar, "fifo",
         ExitWriteFailed, [&] { EXPECT_TRUE(fs::is_fifo(at + "fifo")); }},
        {"symbolic link", linkedFile, "", phases, "link.txt", ExitSuccess,
         [&] {
             EXPECT_TRUE(fs::is_symlink(at + "link.txt"));
             EXPECT_EQ(fs::read_symlink(at + "link.txt"), "target.txt");
             EXPECT_EQ(contentOf(at + "target.txt"), phasesOutput);
             EXPECT_EQ(fs::status(at + "target.txt").permissions(),
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         }},
        {"symbolic link, write failing half-way", linkedFile, "ulimit -f 8; ", longCalendar,
         "link.txt", ExitWriteFailed,
         [&] {
             EXPECT_EQ(fs::read_symlink(at + "link.txt"), "target.txt");
             EXPECT_EQ(contentOf(at + "target.txt"), earlier);
         }},
        {"write failing half-way", [&] { return earlierFile("mond.ics"); }, "ulimit -f 8; ",
         longCalendar, "mond.ics", ExitWriteFailed,
         [&] { EXPECT_EQ(contentOf(at + "mond.ics"), earlier); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directory(folder);
        if (!c.setUp()) {
            std::printf("note: %s not set up here (needs root)\n", c.name);
            continue;
        }
        const auto before = entriesOf(folder);
        Args args = c.args;
        args.insert(args.end(), {"-o", at + c.target});
        const Result r = runProgram(args, "", c.prefix);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.err.empty(), c.status == ExitSuccess) << r.err;
        EXPECT_EQ(entriesOf(folder), before);
        c.check();
    }
    fs::remove_all(folder);
}

// A reader that stops early (| head) ends the program quietly: by SIGPIPE, which the shell shows
// as 141, or with status 3 where SIGPIPE is ignored; never with a message.
TEST(CliProcess, AReaderThatStopsEarlyEndsItQuietly)
{
    for (const auto& [trap, status] : {std::pair{"", 141}, std::pair{"trap '' PIPE; ", 3}}) {
        std::remove("cli_pipe_status.txt");
        const std::string command = std::string(trap) + "{ " + shellQuoted(programPath()) +
                                    " ics --at 2026-12-20 --months 1200 2>cli_pipe_err.txt; echo "
                                    "$? >cli_pipe_status.txt; } | head -c 1 >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(contentOf("cli_pipe_status.txt"), std::to_string(status) + "\n") << trap;
        EXPECT_EQ(contentOf("cli_pipe_err.txt"), "") << trap;
    }
    std::remove("cli_pipe_status.txt");
    std::remove("cli_pipe_err.txt");
}
#endif

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
