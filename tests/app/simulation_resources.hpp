// What a long run of the window could leak, measured from inside the process: GDI objects (our
// owners' count and the process's GDI handle table), USER objects and private memory.
//
// Under Wine GetGuiResources is a stub that answers 0 for both GDI and USER objects, and
// PROCESS_MEMORY_COUNTERS_EX::PrivateUsage is 0. So:
//   - GDI: the used entries of the GDI handle table (tests/display/gdi_count.hpp);
//   - USER: the windows of this process and thread counted by enumeration, and a census of the
//     whole USER handle space (windows, menus, accelerator tables, cursors and icons), probed
//     handle by handle under Wine and read from GetGuiResources on Windows;
//   - memory: the committed private pages of the address space (VirtualQuery; what Windows
//     calls private bytes) and PagefileUsage, which Wine fills with the process's resident
//     anonymous memory (RssAnon + VmSwap from /proc).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <psapi.h>

#include "display/gdi_owner.hpp"
#include "tests/display/gdi_count.hpp"

#include <cstdint>

namespace app::test {

inline bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Every window of the calling thread: its top-level windows (visible or not) and all their
// descendants.
inline long windowsOfThisThread()
{
    long count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) -> BOOL {
            auto* total = reinterpret_cast<long*>(counter);
            ++*total;
            EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++*reinterpret_cast<long*>(inner);
                    return TRUE;
                },
                counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

inline long childWindowsOf(HWND window)
{
    long count = 0;
    EnumChildWindows(
        window,
        [](HWND, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<long*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

struct UserHandleCensus {
    long windows = 0;  // of this process
    long menus = 0;
    long acceleratorTables = 0;
    long cursorsAndIcons = 0;
    long total() const
    {
        return windows + menus + acceleratorTables + cursorsAndIcons;
    }
    bool operator==(const UserHandleCensus&) const = default;
};

// Wine numbers USER handles 0x0020, 0x0022, ... 0xFFEE in their low word and takes a handle whose
// high word is 0 as any generation of that entry, so every live object can be found by trying
// each low word. Menus, accelerator tables and cursors are found only in their own process;
// windows of other processes are told apart by their process id. About a second under Wine.
// On Windows GetGuiResources counts the same objects; the census then has the total only.
inline UserHandleCensus userHandleCensus()
{
    UserHandleCensus census;
    if (!runningUnderWine()) {
        census.windows = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
        return census;
    }
    constexpr unsigned FirstUserHandle = 0x0020;
    constexpr unsigned LastUserHandle = 0xFFEF;
    const DWORD self = GetCurrentProcessId();
    for (unsigned low = FirstUserHandle; low <= LastUserHandle; low += 2) {
        void* handle = reinterpret_cast<void*>(static_cast<ULONG_PTR>(low));
        if (IsWindow(static_cast<HWND>(handle))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
            census.windows += owner == self ? 1 : 0;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++census.menus;
        } else if (CopyAcceleratorTableA(static_cast<HACCEL>(handle), nullptr, 0) > 0) {
            ++census.acceleratorTables;
        } else {
            ICONINFO info{};
            if (GetIconInfo(static_cast<HICON>(handle), &info)) {
                ++census.cursorsAndIcons;
                // GetIconInfo hands out copies of the icon's bitmaps.
                if (info.hbmMask != nullptr)
                    DeleteObject(info.hbmMask);
                if (info.hbmColor != nullptr)
                    DeleteObject(info.hbmColor);
            }
        }
    }
    return census;
}

// Committed private memory of the process in bytes: the sum over the address space of the
// regions that are MEM_COMMIT and MEM_PRIVATE (heaps, stacks, VirtualAlloc), page-granular.
inline std::uint64_t committedPrivateBytes()
{
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* address = nullptr;
    while (VirtualQuery(address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return total;
}

struct MemoryCounters {
    std::uint64_t privateUsage = 0;   // 0 under Wine
    std::uint64_t pagefileUsage = 0;  // under Wine: resident anonymous memory
    std::uint64_t workingSet = 0;
};

inline MemoryCounters memoryCounters()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    MemoryCounters result;
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        result.privateUsage = counters.PrivateUsage;
        result.pagefileUsage = counters.PagefileUsage;
        result.workingSet = counters.WorkingSetSize;
    }
    return result;
}

// One reading of everything that must stay flat, cheap enough to take every simulated hour.
struct ResourceSample {
    long gdiOwned = 0;  // handles held by the program's GDI owners
    long gdiTable = 0;  // used entries of the process's GDI handle table
    long children = 0;  // child windows of the main window
    long threadWindows = 0;
    std::uint64_t privateBytes = 0;  // committed private memory
    MemoryCounters memory;
};

inline ResourceSample sampleResources(HWND window)
{
    ResourceSample sample;
    sample.gdiOwned = display::gdiObjectsAlive();
    sample.gdiTable = display::test::gdiHandlesInUse();
    sample.children = childWindowsOf(window);
    sample.threadWindows = windowsOfThisThread();
    sample.privateBytes = committedPrivateBytes();
    sample.memory = memoryCounters();
    return sample;
}

}  // namespace app::test
