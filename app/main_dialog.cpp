#include "app/main_dialog.hpp"

#include "app/accessible_controls.hpp"
#include "app/control_ids.hpp"
#include "app/control_layout.hpp"
#include "app/link_handler.hpp"
#include "app/page_layer.hpp"
#include "app/phase_labels.hpp"
#include "app/window_position.hpp"
#include "app/window_scale.hpp"
#include "astro/time_scale.hpp"
#include "display/dials.hpp"
#include "display/gauge.hpp"
#include "events/current_phase.hpp"
#include "events/number_format.hpp"

#include <windowsx.h>

namespace app {
namespace {

// Window-wide state of the handler.
HWND savedFocus = nullptr;
HACCEL accelerators = nullptr;

void onInitDialog(HWND window, WPARAM wParam, LPARAM lParam)
{
    accelerators = buildAccelerators();
    startPages(window, wParam, lParam);
    display::drawClock(window, IdClock, display::DialMode::SetUp);
    display::drawCountdownDial(window, IdCountdownDial, display::DialMode::SetUp, "");
    display::initGaugeCanvas(window, IdLitGauge);
    SetTimer(window, ClockTimer, 1000, nullptr);
    SetTimer(window, RefreshTimer, 1000, nullptr);
    startPageTimer(window);
    PostMessageA(window, RefreshMessage, 0, 0);
}

// Focus goes back to the control that had it when the window was deactivated.
void onNcActivate(BOOL active)
{
    if (!active) {
        savedFocus = GetFocus();
    } else if (savedFocus != nullptr) {
        SetFocus(savedFocus);
        savedFocus = nullptr;
    }
}

// The window moved to a monitor of another scale (or the scale changed): it takes the place
// the system suggests, and everything is laid out and drawn again at the new scale.
void onDpiChanged(HWND window, const RECT* suggested)
{
    layOutAtNewDpi(window, suggested);
    rescalePages(window);
    display::drawClock(window, IdClock, display::DialMode::SetUp);
    display::drawCountdownDial(window, IdCountdownDial, display::DialMode::SetUp, "");
    display::initGaugeCanvas(window, IdLitGauge);
    SendMessageW(window, RefreshMessage, 0, 0);
}

// The system's colours changed, or high contrast was turned on or off: labels and buttons follow.
void onColoursChanged(HWND window)
{
    followColourScheme(window);
    redrawPageButtons(window);
}

void onTimer(HWND window, UINT_PTR timer)
{
    if (timer == ClockTimer) {
        display::drawClock(window, IdClock, display::DialMode::Update);
    } else if (timer == RefreshTimer) {
        // Sent, not posted: the refresh runs before this handler returns. Only this tick tells a
        // screen reader of the gauge's new number: at most once a second.
        SendMessageA(window, RefreshMessage, 0, 0);
        announceGaugeValue(window);
    } else {
        onPageTimer(window, timer);
    }
}

void onDestroy(HWND window)
{
    KillTimer(window, ClockTimer);
    KillTimer(window, RefreshTimer);
    stopPageTimer(window);
}

void onCommand(HWND window, WPARAM wParam)
{
    const int command = LOWORD(wParam);
    const int source = HIWORD(wParam);  // 0 click or posted command, 1 accelerator
    if ((command == IdButtonExit || command == CmdExitAlias) && (source == 0 || source == 1)) {
        endMainWindow(window);
        return;
    }
    onPageCommand(window, command, source);
}

}  // namespace

HACCEL buildAccelerators()
{
    ACCEL table[] = {
        {FVIRTKEY | FNOINVERT | FCONTROL, VK_F2, CmdSaveBitmap},
        {FVIRTKEY | FNOINVERT, VK_RETURN, CmdKeyEnter},
        {FVIRTKEY | FNOINVERT, VK_UP, CmdKeyUp},
        {FVIRTKEY | FNOINVERT, VK_DOWN, CmdKeyDown},
        {FVIRTKEY | FNOINVERT, VK_TAB, CmdKeyTab},
    };
    return CreateAcceleratorTableA(table, static_cast<int>(std::size(table)));
}

HACCEL mainAccelerators()
{
    return accelerators;
}

void releaseAccelerators()
{
    if (accelerators != nullptr) {
        DestroyAcceleratorTable(accelerators);
        accelerators = nullptr;
    }
}

void endMainWindow(HWND window)
{
    SendMessageA(window, WM_CLOSE, 0, 0);
}

void refreshDisplay(HWND window)
{
    const double value = events::gaugeValue(astro::currentJulianDay());
    display::drawFractionGauge(window, IdLitGauge, value, 100);
    setAccessibleValue(IdLitGauge, events::fractionText(value));
    showNearestPhase(window);
    refreshPage(window);
}

INT_PTR mainDialogCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Per-message work of the other layers, in this order, before the message's own handling.
    windowPositionHook(window, message, wParam, lParam);
    if (currentPage() == 3) {
        linkHandler(window, message, wParam, lParam);
    }
    pollPageButtons(window, message, wParam, lParam);

    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(window, wParam, lParam);
        break;
    case WM_NCACTIVATE:
        onNcActivate(static_cast<BOOL>(wParam));
        break;
    case WM_TIMER:
        onTimer(window, wParam);
        break;
    case WM_DESTROY:
        onDestroy(window);
        break;
    case WM_COMMAND:
        onCommand(window, wParam);
        break;
    case WM_DPICHANGED:
        onDpiChanged(window, reinterpret_cast<const RECT*>(lParam));
        break;
    case WM_SYSCOLORCHANGE:
        onColoursChanged(window);
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST) {
            onColoursChanged(window);
        }
        break;
    case RefreshMessage:
        refreshDisplay(window);
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace app
