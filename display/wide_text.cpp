#include "display/wide_text.hpp"

#include "events/encoding.hpp"

namespace display {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the platform's wide characters are UTF-16");

std::wstring wideText(std::string_view windows1252)
{
    const std::u16string utf16 = events::utf16FromWindows1252(windows1252);
    return std::wstring(utf16.begin(), utf16.end());
}

}  // namespace display
