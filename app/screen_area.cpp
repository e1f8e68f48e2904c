#include "app/screen_area.hpp"

#include <algorithm>
#include <vector>

namespace app {
namespace {

// Whether every pixel of the rectangle lies in one of the areas: the rectangle is cut at every
// edge of an area that crosses it, and each piece must lie in one area whole.
bool covered(const RECT& rect, std::span<const RECT> areas)
{
    std::vector<LONG> xs{rect.left, rect.right};
    std::vector<LONG> ys{rect.top, rect.bottom};
    for (const RECT& area : areas) {
        for (const LONG x : {area.left, area.right}) {
            if (x > rect.left && x < rect.right) {
                xs.push_back(x);
            }
        }
        for (const LONG y : {area.top, area.bottom}) {
            if (y > rect.top && y < rect.bottom) {
                ys.push_back(y);
            }
        }
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
            const RECT piece{xs[i], ys[j], xs[i + 1], ys[j + 1]};
            if (piece.left == piece.right || piece.top == piece.bottom) {
                continue;
            }
            const bool inside = std::any_of(areas.begin(), areas.end(), [&](const RECT& area) {
                return area.left <= piece.left && piece.right <= area.right &&
                       area.top <= piece.top && piece.bottom <= area.bottom;
            });
            if (!inside) {
                return false;
            }
        }
    }
    return true;
}

// The start of a stretch of `length` moved into [low, high) by no more than it must; at the low
// end where it does not fit.
LONG into(LONG start, LONG length, LONG low, LONG high)
{
    if (length >= high - low) {
        return low;
    }
    return std::clamp(start, low, high - length);
}

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcWork);
    }
    return TRUE;
}

}  // namespace

RECT whollyOnScreen(const RECT& window, std::span<const RECT> workAreas, const RECT& nearest)
{
    if (covered(window, workAreas)) {
        return window;
    }
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG left = into(window.left, width, nearest.left, nearest.right);
    const LONG top = into(window.top, height, nearest.top, nearest.bottom);
    return {left, top, left + width, top + height};
}

RECT whollyOnThisScreen(const RECT& window)
{
    std::vector<RECT> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, collectWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    MONITORINFO nearest{};
    nearest.cbSize = sizeof nearest;
    if (workAreas.empty() ||
        !GetMonitorInfoW(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &nearest)) {
        return window;
    }
    return whollyOnScreen(window, workAreas, nearest.rcWork);
}

}  // namespace app
