// The program's texts are Windows-1252 bytes; the platform's wide calls take UTF-16 and the
// command line writes UTF-8. Both conversions read the same code page table.
#pragma once

#include <string>
#include <string_view>

namespace events {

// Every byte becomes its Windows-1252 character. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same number, as the platform's own
// conversion does.
std::string utf8FromWindows1252(std::string_view text);
std::u16string utf16FromWindows1252(std::string_view text);

}  // namespace events
