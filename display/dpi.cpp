#include "display/dpi.hpp"

#include "display/gdi_owner.hpp"
#include "events/number_format.hpp"

namespace display {
namespace {

int overrideDpi = 0;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up at run time: Windows before 10 (version 1607) has no GetDpiForWindow.
GetDpiForWindowFunction getDpiForWindow()
{
    static const auto function = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return function;
}

// The monitor's DPI on Windows 8.1 and 10 before 1607: GetDpiForMonitor of shcore.dll, which
// older systems do not have, so the library is loaded and the function looked up at run time.
// The library stays loaded for the process's life.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the scale the user chose for the monitor

GetDpiForMonitorFunction getDpiForMonitor()
{
    static const auto function = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return reinterpret_cast<GetDpiForMonitorFunction>(
            shcore != nullptr ? reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor"))
                              : nullptr);
    }();
    return function;
}

int monitorDpi(HWND window)
{
    const GetDpiForMonitorFunction function = getDpiForMonitor();
    if (function == nullptr) {
        return 0;
    }
    UINT x = 0;
    UINT y = 0;
    if (FAILED(
            function(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), EffectiveDpi, &x, &y))) {
        return 0;
    }
    return static_cast<int>(x);
}

}  // namespace

int windowDpi(HWND window)
{
    if (overrideDpi > 0) {
        return overrideDpi;
    }
    if (window != nullptr) {
        if (const GetDpiForWindowFunction function = getDpiForWindow(); function != nullptr) {
            if (const UINT dpi = function(window); dpi > 0) {
                return static_cast<int>(dpi);
            }
        } else if (const int dpi = monitorDpi(window); dpi > 0) {
            return dpi;
        }
    }
    const int dpi = GetDeviceCaps(WindowDcOwner(nullptr).get(), LOGPIXELSX);
    return dpi > 0 ? dpi : BaseDpi;
}

int scaledLength(int length96, int dpi)
{
    return events::nearestInt(static_cast<double>(length96) * dpi / BaseDpi);
}

int pointsToPixels(int points, int dpi)
{
    return points * dpi / 72;
}

int setDpiOverride(int dpi)
{
    const int previous = overrideDpi;
    overrideDpi = dpi > 0 ? dpi : 0;
    return previous;
}

}  // namespace display
