// Where the program lives: its full path, its folder, and the INI path beside it.
#pragma once

#include <string>

namespace app {

// The executable's full path, of any length (long paths and non-ASCII folder names included);
// empty if the platform cannot tell.
std::wstring modulePath();

// The executable's path up to and including its last backslash; "" when the path has none.
std::wstring exeDirectory();

// The path of the file beside the executable with the given extension: when the path ends in
// ".EXE" (any case) its last three letters are replaced ("C:\Tools\Moon.exe" -> "...\Moon.ini");
// otherwise "." and the extension are appended to the full path, so the executable itself is
// never the target. Empty when no path could be formed.
std::wstring iniPathFor(const std::wstring& extension);
std::wstring iniPathFor(const std::wstring& extension, const std::wstring& executablePath);

}  // namespace app
