// Pictures as 24-bit BMP files, and a file replaced only by a complete new one.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace display {

// An uncompressed 24-bit bottom-up BMP: the 14-byte file header and the 40-byte information
// header, then the rows from the bottom up in B, G, R order, each padded to whole 32-bit words.
inline constexpr std::size_t BitmapHeadersSize = 54;

// What GetDIBits needs to give the rows in the file's layout.
BITMAPINFO bitmapFileInfo(int width, int height);

// The whole file of a width x height picture, its headers written and its rows zero, for the
// caller to fill from BitmapHeadersSize on; empty where the sizes do not fit the format.
std::vector<unsigned char> bitmapFileImage(int width, int height);

// Writes the bytes to a temporary file beside `path` ("<path>.tmp"), then moves it into the
// place of `path`, replacing a file there. Returns whether `path` now holds exactly these bytes;
// on failure a previous file of that name is untouched and the temporary is gone.
bool replaceFileWith(const std::wstring& path, std::span<const unsigned char> bytes);

// The call that writes a file's bytes (WriteFile). Tests put in one that fails part-way, as a
// full disk or a removed stick does; returns the previous one.
using FileWriteCall = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
FileWriteCall setFileWriteCall(FileWriteCall call);

}  // namespace display
