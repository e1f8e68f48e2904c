#include "app/window_icons.hpp"

#include "app/control_ids.hpp"
#include "display/dpi.hpp"
#include "display/gdi_owner.hpp"

#include <utility>

namespace app {
namespace {

display::IconOwner smallIcon;
display::IconOwner bigIcon;

// The size of the small or big icon (SM_CXSMICON, SM_CXICON) at a DPI. Looked up at run time:
// Windows before 10 (version 1607) has no GetSystemMetricsForDpi; there the 96-dpi sizes, 16
// and 32 pixels, are scaled.
int iconSize(int metric, int dpi)
{
    using Function = int(WINAPI*)(int, UINT);
    static const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (function != nullptr) {
        if (const int size = function(metric, static_cast<UINT>(dpi)); size > 0) {
            return size;
        }
    }
    return display::scaledLength(metric == SM_CXSMICON ? 16 : 32, dpi);
}

// The moon icon at a size: the image of that size, or one drawn larger and scaled down where the
// icon has none (LoadIconWithScaleDown, of the common controls 6; looked up at run time, as
// LoadImage scales up a smaller one instead).
display::IconOwner loadIcon(int size)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const wchar_t* name = MAKEINTRESOURCEW(IconMoon);
    using Function = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (scaleDown == nullptr || FAILED(scaleDown(instance, name, size, size, &icon))) {
        icon =
            static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
    return display::IconOwner(icon);
}

}  // namespace

void setIcons(HWND dialog, int dpi)
{
    display::IconOwner small = loadIcon(iconSize(SM_CXSMICON, dpi));
    display::IconOwner big = loadIcon(iconSize(SM_CXICON, dpi));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    smallIcon = std::move(small);
    bigIcon = std::move(big);
}

void releaseIcons()
{
    smallIcon = display::IconOwner();
    bigIcon = display::IconOwner();
}

}  // namespace app
