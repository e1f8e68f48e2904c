// The built lunavista-cli run as a child process: exit status, and stdout and stderr byte for
// byte (UTF-8, LF line ends on every platform).
#include "tools/cli/cli.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
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

Result runProgram(const Args& args)
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
    command += " 2>" + errFile;

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
        for (const char* command : {"now", "phases", "eclipses"}) {
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

}  // namespace
}  // namespace cli
