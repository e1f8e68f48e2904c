#include "app/message_loop.hpp"

#include "app/dialog_template.hpp"
#include "app/dialog_units.hpp"
#include "app/main_dialog.hpp"
#include "app/screen_area.hpp"
#include "app/window_build.hpp"
#include "app/window_position.hpp"
#include "app/window_scale.hpp"
#include "display/dpi.hpp"

namespace app {
namespace {

// After the stored place is applied: the window may now lie on a monitor of another scale than
// the one it was laid out for, and a hidden window is not always told so. Then the handler gets
// the change as WM_DPICHANGED would bring it, with the window's top-left corner where it is (or
// as near as keeps it wholly on the screen) and its client area the size for the new scale
// inside the frame it has there.
void followDpiOfPlace(HWND window)
{
    const int dpi = display::windowDpi(window);
    if (dpi == layoutDpi()) {
        return;
    }
    RECT place{};
    RECT client{};
    GetWindowRect(window, &place);
    GetClientRect(window, &client);
    const RECT scaled = dialogUnitsToPixels(0, 0, MainWindowWidthUnits, MainWindowHeightUnits, dpi);
    place.right += scaled.right - client.right;
    place.bottom += scaled.bottom - client.bottom;
    // Grown (or shrunk) there, it stays wholly on the screen, as the stored place was made to.
    place = whollyOnThisScreen(place);
    mainDialogCallback(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&place));
}

}  // namespace

void beginModalLoop(HWND window)
{
    mainDialogCallback(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(window), 0);
    followDpiOfPlace(window);

    RECT client{};
    GetClientRect(window, &client);
    const WPARAM sizeKind = minimizedStartRequested() ? SIZE_MINIMIZED : SIZE_RESTORED;
    mainDialogCallback(window, WM_SIZE, sizeKind, MAKELPARAM(client.right, client.bottom));

    attachHandler(true);
    ShowWindow(window, minimizedStartRequested() ? SW_MINIMIZE : SW_SHOW);
}

bool pumpOneMessage(HWND window)
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (!IsWindow(window)) {
        return true;
    }
    HACCEL accelerators = mainAccelerators();
    if (accelerators != nullptr && TranslateAcceleratorW(window, accelerators, &message)) {
        return true;
    }
    if (IsDialogMessageW(window, &message)) {
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void runModalLoop(HWND window)
{
    beginModalLoop(window);
    // The loop polls rather than waits: when the queue is empty it sleeps a millisecond.
    while (IsWindow(window)) {
        if (!pumpOneMessage(window)) {
            Sleep(1);
        }
    }
    attachHandler(false);
}

}  // namespace app
