// The number of GDI objects this process holds, for leak tests.
//
// GetGuiResources(GR_GDIOBJECTS) answers that on Windows, but Wine's is a stub returning 0. Both
// keep the process's handles in the GDI shared handle table that the PEB points to, so counting
// its used entries works in either place.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace display::test {

// x64 layout: PEB::GdiSharedHandleTable at PEB + 0xF8; the table has 65,536 entries of 24 bytes
// and an entry is in use when its object type (byte 14) is non-zero.
inline constexpr std::size_t PebGdiTableOffset = 0xF8;
inline constexpr std::size_t GdiTableEntries = 65536;
inline constexpr std::size_t GdiEntrySize = 24;
inline constexpr std::size_t GdiEntryTypeOffset = 14;

// The PEB through ntdll's documented query (NtCurrentTeb's gs-segment read trips GCC's array
// bounds check).
inline const unsigned char* processEnvironmentBlock()
{
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (query == nullptr)
        return nullptr;
    PROCESS_BASIC_INFORMATION basic{};
    if (query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return nullptr;
    return reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
}

// Used entries of the GDI handle table, or -1 when the table cannot be found.
inline long gdiHandlesInUse()
{
    static_assert(sizeof(void*) == 8, "the table layout above is the 64-bit one");
    const unsigned char* peb = processEnvironmentBlock();
    if (peb == nullptr)
        return -1;
    const unsigned char* table = nullptr;
    std::memcpy(&table, peb + PebGdiTableOffset, sizeof table);
    if (table == nullptr)
        return -1;
    long used = 0;
    for (std::size_t i = 0; i < GdiTableEntries; ++i)
        if (table[i * GdiEntrySize + GdiEntryTypeOffset] != 0)
            ++used;
    return used;
}

}  // namespace display::test
