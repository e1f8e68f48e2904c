// lunavista-cli: the command-line companion of Lunavista.
#include "cli/cli.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
// A console shows bytes in its own output code page (850 on a German Windows), which would turn
// the UTF-8 "ä" into "Ã¤": a console gets the text as UTF-16 instead, and its code page stays as
// it is. Returns false when the stream is not a console (a file or a pipe).
bool writeToConsole(const std::FILE* stream, const std::string& utf8, bool& written)
{
    HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) {
        return false;
    }
    written = true;
    if (utf8.empty()) {
        return true;
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    DWORD done = 0;
    written = WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr) &&
              done == wide.size();
    return true;
}
#endif

// The arguments as UTF-8, as everything the program prints. Windows hands a program's narrow
// argv over in the ANSI code page, which has no "Ã¶" on a Cyrillic system and no Cyrillic
// letter on a Western one: the wide command line holds what was typed.
std::vector<std::string> argumentsOf(int argc, char** argv)
{
    std::vector<std::string> arguments;
#ifdef _WIN32
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) {
            const int length =
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), length, nullptr, nullptr);
            utf8.pop_back();  // the terminating NUL
            arguments.push_back(std::move(utf8));
        }
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

// UTF-8 with LF line ends to a file or pipe, byte for byte on every platform. On failure,
// `error` holds errno where the C library set it.
bool write(std::FILE* stream, const std::string& text, int& error)
{
#ifdef _WIN32
    bool shown = false;
    if (writeToConsole(stream, text, shown)) {
        return shown;
    }
#endif
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
    error = errno;
#ifdef _WIN32
    // A pipe's writes fail only when its reader has gone; the C runtime reports that as EINVAL
    // or EBADF, depending on the system, and the system's own error is not kept.
    if (!written &&
        GetFileType(GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) ==
            FILE_TYPE_PIPE) {
        error = EPIPE;
    }
#endif
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The output is the same bytes on every platform: UTF-8 with LF line ends. In the C runtime's
    // default text mode "\n" would become CRLF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
#ifdef SIGXFSZ
    // Beyond a file-size limit (ulimit -f) a write then fails with EFBIG and is reported with
    // status 3, instead of the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::string out;
    std::string err;
    const int status = cli::run(argumentsOf(argc, argv), out, err);
    int error = 0;
    if (!write(stdout, out, error)) {
        // A reader that stopped reading (| head) wants no more, and no complaint either: as other
        // tools the program ends quietly. Where SIGPIPE is not ignored, it ended already.
        if (error == EPIPE) {
            return cli::ExitWriteFailed;
        }
        // A full disk, a closed output: say so, once, where it can still be read.
        std::string reason = error != 0 ? ": " + std::generic_category().message(error) : "";
        int ignored = 0;
        write(stderr, "lunavista-cli: cannot write to standard output" + reason + "\n", ignored);
        return cli::ExitWriteFailed;
    }
    write(stderr, err, error);
    return status;
}
