#include "app/window_scale.hpp"

#include "app/control_ids.hpp"
#include "app/control_layout.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_units.hpp"
#include "app/window_fonts.hpp"
#include "app/window_icons.hpp"
#include "display/canvas.hpp"
#include "display/dpi.hpp"
#include "display/palette.hpp"

namespace app {
namespace {

int laidOutAt = 0;

// The main window keeps its centre while its client area gets the size of the rectangle; the
// frame is whatever the system draws around it.
void resizeClientKeepingCentre(HWND window, const RECT& client)
{
    RECT frame{};
    RECT inside{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &inside);
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    const int width = (client.right - client.left) + frameWidth - inside.right;
    const int height = (client.bottom - client.top) + frameHeight - inside.bottom;
    if (width != frameWidth || height != frameHeight) {
        SetWindowPos(window, nullptr, frame.left - (width - frameWidth) / 2,
                     frame.top - (height - frameHeight) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A graphic control's client area (its canvas) is the rectangle, with its border outside it;
// what the border takes is checked afterwards, so the canvas gets exactly the size.
void placeAroundClient(HWND control, const RECT& client)
{
    RECT rect = client;
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE)));
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inside{};
    GetClientRect(control, &inside);
    const int missingX = (client.right - client.left) - inside.right;
    const int missingY = (client.bottom - client.top) - inside.bottom;
    if (missingX != 0 || missingY != 0) {
        SetWindowPos(control, nullptr, rect.left - missingX / 2, rect.top - missingY / 2,
                     rect.right - rect.left + missingX, rect.bottom - rect.top + missingY,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void placeControls(HWND dialog)
{
    for (const ControlLayout& layout : mainWindowControls()) {
        placeControl(dialog, GetDlgItem(dialog, layout.id), layout);
    }
}

}  // namespace

int layoutDpi()
{
    return laidOutAt;
}

void setLayoutDpi(int dpi)
{
    laidOutAt = dpi;
}

void keepDialogManagerFromRescaling(HWND dialog)
{
    using Function = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (function != nullptr) {
        function(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

void keepDialogManagerFromRefontingControl(HWND control)
{
    using Function = BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS,
                                   DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);
    static const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogControlDpiChangeBehavior")));
    if (function != nullptr) {
        const auto behaviour = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(
            DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT);
        function(control, behaviour, behaviour);
    }
}

void fitWindowToScale(HWND dialog, int dpi)
{
    resizeClientKeepingCentre(
        dialog, dialogUnitsToPixels(0, 0, MainWindowWidthUnits, MainWindowHeightUnits, dpi));
}

void placeControl(HWND dialog, HWND control, const ControlLayout& layout)
{
    const RECT client =
        dialogUnitsToPixels(dialog, layout.x, layout.y, layout.width, layout.height);
    if (layout.kind == ControlKind::Graphic) {
        placeAroundClient(control, client);
    } else {
        SetWindowPos(control, nullptr, client.left, client.top, client.right - client.left,
                     client.bottom - client.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void prepareGaugeCanvas(HWND dialog)
{
    display::Canvas& gauge = display::attachCanvas(dialog, IdLitGauge, false);
    gauge.setForeground(display::Black);
    gauge.setBackground(display::White);
    gauge.clear(display::ColorDefault, display::FillSolid);
}

bool windowSizeAtDpi(HWND window, int dpi, SIZE& size)
{
    using Function = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjust == nullptr) {
        return false;
    }
    RECT rect = dialogUnitsToPixels(0, 0, MainWindowWidthUnits, MainWindowHeightUnits, dpi);
    if (!adjust(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)),
                static_cast<UINT>(dpi))) {
        return false;
    }
    size = {rect.right - rect.left, rect.bottom - rect.top};
    return true;
}

void layOutAtNewDpi(HWND window, const RECT* suggested)
{
    if (suggested != nullptr) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int dpi = display::windowDpi(window);
    laidOutAt = dpi;
    setIcons(window, dpi);
    fitWindowToScale(window, dpi);
    createFonts(window, dpi);
    placeControls(window);
    for (const ControlLayout& layout : mainWindowControls()) {
        if (layout.kind == ControlKind::Graphic) {
            display::recreateCanvas(window, layout.id);
        }
    }
    prepareGaugeCanvas(window);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace app
