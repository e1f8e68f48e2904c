#include "app/exe_location.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cwctype>
#include <vector>

namespace app {
namespace {

// Paths longer than MAX_PATH exist (\\?\ prefixes, long-path aware systems): the buffer grows
// until the whole path fits, up to the 32,767 characters a path can have.
constexpr DWORD LongestPath = 32768;

}  // namespace

std::wstring modulePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        if (buffer.size() >= LongestPath) {
            return {};  // truncated: no path is better than a wrong one
        }
        buffer.resize(std::min<std::size_t>(buffer.size() * 2, LongestPath));
    }
}

std::wstring exeDirectory()
{
    const std::wstring path = modulePath();
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring iniPathFor(const std::wstring& extension, const std::wstring& executablePath)
{
    if (executablePath.empty()) {
        return {};
    }
    const std::size_t n = executablePath.size();
    if (n >= 4 && executablePath[n - 4] == L'.' && std::towupper(executablePath[n - 3]) == L'E' &&
        std::towupper(executablePath[n - 2]) == L'X' &&
        std::towupper(executablePath[n - 1]) == L'E') {
        return executablePath.substr(0, n - 3) + extension;
    }
    return executablePath + L"." + extension;
}

std::wstring iniPathFor(const std::wstring& extension)
{
    return iniPathFor(extension, modulePath());
}

}  // namespace app
