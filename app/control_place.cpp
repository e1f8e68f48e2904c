#include "app/control_place.hpp"

#include "app/dialog_units.hpp"

namespace app {

ControlPlace controlPlace(HWND window, int controlId)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(window, controlId), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    ControlPlace place{};
    place.left = dialogUnitsToPixelsX(window, pixelsToDialogUnitsX(window, rect.left));
    place.top = dialogUnitsToPixelsY(window, pixelsToDialogUnitsY(window, rect.top));
    place.width =
        dialogUnitsToPixelsX(window, pixelsToDialogUnitsX(window, rect.right - rect.left));
    place.height =
        dialogUnitsToPixelsY(window, pixelsToDialogUnitsY(window, rect.bottom - rect.top));
    return place;
}

bool pointInside(LPARAM lParam, int left, int top, int width, int height)
{
    const int x = LOWORD(lParam);
    const int y = HIWORD(lParam);
    return left <= x && x <= left + width && top <= y && y <= top + height;
}

}  // namespace app
