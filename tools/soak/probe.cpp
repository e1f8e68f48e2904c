// Counts what another process holds, for the soak run: its GDI objects, its windows and its
// memory, read from outside. Run under the same Wine as the process.
//
//   probe <Windows process id>
//   -> gdi <n> windows <n> gui_gdi <n> gui_user <n> pagefile_kb <n> working_set_kb <n>
//
// gdi: used entries of the process's GDI handle table (Wine keeps one per process; on Windows
// the table is shared and its entries carry the owning process id). windows: top-level windows
// of the process and all their descendants. gui_gdi and gui_user: GetGuiResources, which Wine
// answers with 0. pagefile_kb: PagefileUsage (under Wine the resident anonymous memory).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// x64 layout: PEB::GdiSharedHandleTable at PEB + 0xF8; 65,536 entries of 24 bytes; an entry is in
// use when its type (byte 14) is non-zero, and its process id is the word at byte 8.
constexpr std::size_t PebGdiTableOffset = 0xF8;
constexpr std::size_t GdiTableEntries = 65536;
constexpr std::size_t GdiEntrySize = 24;
constexpr std::size_t GdiEntryProcessOffset = 8;
constexpr std::size_t GdiEntryTypeOffset = 14;

long gdiEntriesOf(HANDLE process, DWORD processId)
{
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return -1;
    }
    const char* tableAddress = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(
            process,
            static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + PebGdiTableOffset,
            &tableAddress, sizeof tableAddress, &read) ||
        tableAddress == nullptr) {
        return -1;
    }
    std::vector<unsigned char> table(GdiTableEntries * GdiEntrySize);
    if (!ReadProcessMemory(process, tableAddress, table.data(), table.size(), &read) ||
        read != table.size()) {
        return -1;
    }
    long used = 0;
    long ownedByOthers = 0;
    for (std::size_t i = 0; i < GdiTableEntries; ++i) {
        const unsigned char* entry = &table[i * GdiEntrySize];
        if (entry[GdiEntryTypeOffset] == 0) {
            continue;
        }
        ++used;
        unsigned short owner = 0;
        std::memcpy(&owner, entry + GdiEntryProcessOffset, sizeof owner);
        if (owner != 0 && owner != static_cast<unsigned short>(processId)) {
            ++ownedByOthers;
        }
    }
    return used - ownedByOthers;
}

struct WindowCount {
    DWORD processId;
    long windows;
};

BOOL CALLBACK countChild(HWND, LPARAM data)
{
    ++reinterpret_cast<WindowCount*>(data)->windows;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM data)
{
    auto* count = reinterpret_cast<WindowCount*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId) {
        ++count->windows;
        EnumChildWindows(window, countChild, data);
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: probe <process id>\n");
        return 2;
    }
    const auto processId = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        std::fprintf(stderr, "cannot open process %lu\n", static_cast<unsigned long>(processId));
        return 1;
    }
    WindowCount windows{processId, 0};
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&windows));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    std::printf(
        "gdi %ld windows %ld gui_gdi %lu gui_user %lu pagefile_kb %llu "
        "working_set_kb %llu\n",
        gdiEntriesOf(process, processId), windows.windows, GetGuiResources(process, GR_GDIOBJECTS),
        GetGuiResources(process, GR_USEROBJECTS),
        static_cast<unsigned long long>(memory.PagefileUsage / 1024),
        static_cast<unsigned long long>(memory.WorkingSetSize / 1024));
    CloseHandle(process);
    return 0;
}
