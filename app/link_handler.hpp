// The two links of the source page: the web address opens in a browser, the name line opens a
// new mail with a fixed subject. Both light up under the mouse.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace app {

// Runs for every message of the main window while the source page is shown; reacts to
// WM_LBUTTONUP and WM_MOUSEMOVE only.
void linkHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Hover flags of the web and the mail link (tests), and a fresh start.
bool webLinkRaised();
bool mailLinkRaised();
void resetLinks();

// The launches, replaceable by tests: ShellExecuteW's arguments and result.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
ShellExecuteFunction setShellExecute(ShellExecuteFunction function);

// What a click on each link starts.
std::string trimmedLinkText(const std::string& text);
std::string mailtoAddress(const std::string& mail);

}  // namespace app
