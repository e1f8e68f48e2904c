#include "app/dialog_units.hpp"

#include <cmath>
#include <cstdint>

namespace app {
namespace {

RECT mapped(HWND window, int x, int y)
{
    RECT rect{x, y, x, y};
    MapDialogRect(window, &rect);
    return rect;
}

}  // namespace

int dialogUnitsToPixelsX(HWND window, int units)
{
    return mapped(window, units, 0).left;
}

int dialogUnitsToPixelsY(HWND window, int units)
{
    return mapped(window, 0, units).top;
}

int scaleToDialogUnits(int pixels, int pixelsPer1024Units)
{
    if (pixelsPer1024Units <= 0) {
        return 0;
    }
    const std::int64_t scaled = static_cast<std::int64_t>(pixels) * 1024;
    std::int64_t units = scaled / pixelsPer1024Units;
    if (scaled % pixelsPer1024Units != 0 && scaled < 0) {
        --units;  // towards minus infinity
    }
    return static_cast<int>(units);
}

int pixelsToDialogUnitsX(HWND window, int pixels)
{
    return scaleToDialogUnits(pixels, mapped(window, 1024, 0).left);
}

int pixelsToDialogUnitsY(HWND window, int pixels)
{
    return scaleToDialogUnits(pixels, mapped(window, 0, 1024).top);
}

}  // namespace app
