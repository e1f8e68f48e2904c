// lunavista-cli: the command-line companion of Lunavista.
#include "tools/cli/cli.hpp"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool write(std::FILE* stream, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
           std::fflush(stream) == 0;
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
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    std::string out;
    std::string err;
    const int status = cli::run(arguments, out, err);
    const bool written = write(stdout, out) && write(stderr, err);
    return written || status != 0 ? status : 1;
}
