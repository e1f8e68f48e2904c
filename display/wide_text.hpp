// Where the program's texts cross into the platform: they stay Windows-1252 bytes inside the
// program and become UTF-16 here, for every wide call that shows or measures them, so that they
// read the same whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

namespace display {

std::wstring wideText(std::string_view windows1252);

}  // namespace display
