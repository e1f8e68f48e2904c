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

}  // namespace

int windowDpi(HWND window)
{
    if (overrideDpi > 0) {
        return overrideDpi;
    }
    if (const GetDpiForWindowFunction function = getDpiForWindow();
        function != nullptr && window != nullptr) {
        if (const UINT dpi = function(window); dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    const int dpi = GetDeviceCaps(WindowDcOwner(nullptr).get(), LOGPIXELSX);
    return dpi > 0 ? dpi : BaseDpi;
}

int scaledLength(int length96, int dpi)
{
    return events::nearestInt(static_cast<double>(length96) * dpi / BaseDpi);
}

int setDpiOverride(int dpi)
{
    const int previous = overrideDpi;
    overrideDpi = dpi > 0 ? dpi : 0;
    return previous;
}

}  // namespace display
