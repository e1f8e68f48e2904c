#include "app/dialog_units.hpp"

#include "display/dpi.hpp"

#include <cstdint>

namespace app {
namespace {

int toPixels96X(int units)
{
    return MulDiv(units, dialogBaseUnitsAt96().x, 4);
}

int toPixels96Y(int units)
{
    return MulDiv(units, dialogBaseUnitsAt96().y, 8);
}

}  // namespace

BaseUnits dialogBaseUnitsAt96()
{
    // "MS Sans Serif" 8 pt at 96 dpi, as Windows draws it (a bitmap font: at another DPI it is
    // another font, so these cannot be measured there).
    return {6, 13};
}

int dialogUnitsToPixelsX(int units, int dpi)
{
    return display::scaledLength(toPixels96X(units), dpi);
}

int dialogUnitsToPixelsY(int units, int dpi)
{
    return display::scaledLength(toPixels96Y(units), dpi);
}

int dialogUnitsToPixelsX(HWND window, int units)
{
    return dialogUnitsToPixelsX(units, display::windowDpi(window));
}

int dialogUnitsToPixelsY(HWND window, int units)
{
    return dialogUnitsToPixelsY(units, display::windowDpi(window));
}

RECT dialogUnitsToPixels(HWND window, int x, int y, int width, int height)
{
    return dialogUnitsToPixels(x, y, width, height, display::windowDpi(window));
}

RECT dialogUnitsToPixels(int x, int y, int width, int height, int dpi)
{
    const int left = toPixels96X(x);
    const int top = toPixels96Y(y);
    RECT rect{};
    rect.left = display::scaledLength(left, dpi);
    rect.top = display::scaledLength(top, dpi);
    rect.right = rect.left + display::scaledLength(toPixels96X(x + width) - left, dpi);
    rect.bottom = rect.top + display::scaledLength(toPixels96Y(y + height) - top, dpi);
    return rect;
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

int pixelsToDialogUnitsX(int pixels, int dpi)
{
    return scaleToDialogUnits(pixels, dialogUnitsToPixelsX(1024, dpi));
}

int pixelsToDialogUnitsY(int pixels, int dpi)
{
    return scaleToDialogUnits(pixels, dialogUnitsToPixelsY(1024, dpi));
}

int pixelsToDialogUnitsX(HWND window, int pixels)
{
    return pixelsToDialogUnitsX(pixels, display::windowDpi(window));
}

int pixelsToDialogUnitsY(HWND window, int pixels)
{
    return pixelsToDialogUnitsY(pixels, display::windowDpi(window));
}

}  // namespace app
