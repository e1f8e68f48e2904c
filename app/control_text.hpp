// The one way a text reaches a window or control: the program's Windows-1252 text becomes UTF-16
// and goes through the wide call, so it reads the same on every system code page (and a screen
// reader reads it right).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string_view>

namespace app {

void setWindowText(HWND window, std::string_view text);
void setControlText(HWND dialog, int controlId, std::string_view text);
// Sets the text only where it differs from the control's; true when it did.
bool changeControlText(HWND dialog, int controlId, std::string_view text);

}  // namespace app
