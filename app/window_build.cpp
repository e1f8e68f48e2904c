#include "app/window_build.hpp"

#include "app/accessible_controls.hpp"
#include "app/control_ids.hpp"
#include "app/control_layout.hpp"
#include "app/control_text.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_units.hpp"
#include "app/main_dialog.hpp"
#include "app/page_buttons.hpp"
#include "app/page_layer.hpp"
#include "app/window_fonts.hpp"
#include "app/window_icons.hpp"
#include "app/window_scale.hpp"
#include "display/canvas.hpp"
#include "display/dpi.hpp"
#include "display/wide_text.hpp"

#include <initializer_list>
#include <string>
#include <vector>

namespace app {
namespace {

// The window the dialog procedure hands to the handler, once the loop has attached it.
HWND mainWindow = nullptr;
bool handlerAttached = false;

// WM_CLOSE (from the system menu, Alt+F4 or the exit command): the handler has seen it and
// saved the window position; now the window goes.
INT_PTR onClose(HWND window)
{
    releaseAccelerators();
    DestroyWindow(window);
    return TRUE;
}

// WM_DPICHANGED before the handler is attached: while the window is set up and its stored place
// applied, a move onto a monitor of another scale lays it out there (the handler, once attached,
// does this itself and draws everything again).
INT_PTR onDpiChangedBeforeHandler(HWND window, const RECT* suggested)
{
    if (handlerAttached) {
        return FALSE;
    }
    layOutAtNewDpi(window, suggested);
    return TRUE;
}

// WM_GETDPISCALEDSIZE (Windows 10 1703 and later, before a move onto a monitor of another
// scale): the exact size the window will take there, so that it does not jump while dragged.
INT_PTR answerDpiScaledSize(HWND window, int dpi, SIZE* size)
{
    if (size == nullptr || !windowSizeAtDpi(window, dpi, *size)) {
        return FALSE;
    }
    SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// The dialog procedure: every message goes to the handler first (once it is attached); the
// handler never claims one, so the platform's default dialog handling, with the colours, the
// painting of the graphic controls and the ending of the window, always follows.
INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (handlerAttached && window == mainWindow) {
        mainDialogCallback(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(windowGroundBrush());
    case WM_CTLCOLORSTATIC:
        return answerStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
        return onDpiChangedBeforeHandler(window, reinterpret_cast<const RECT*>(lParam));
    case WM_GETDPISCALEDSIZE:
        return answerDpiScaledSize(window, LOWORD(wParam), reinterpret_cast<SIZE*>(lParam));
    case WM_DRAWITEM:
        display::paintCanvasItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CLOSE:
        return onClose(window);
    default:
        return FALSE;
    }
}

void createControls(HWND dialog)
{
    for (const ControlLayout& layout : mainWindowControls()) {
        const std::wstring text = display::wideText(layout.text != nullptr ? layout.text : "");
        HWND control = CreateWindowExW(layout.extendedStyle, L"STATIC", text.c_str(),
                                       WS_CHILD | WS_VISIBLE | layout.style, 0, 0, 0, 0, dialog,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        keepDialogManagerFromRefontingControl(control);
        placeControl(dialog, control, layout);
        if (layout.kind == ControlKind::Graphic) {
            display::createCanvas(dialog, layout.id);
        }
    }
    makeGraphicControlsAccessible(dialog, pageTabs());
}

// A graphic control never paints its window text: the text is its name, which the platform's
// default accessibility gives a screen reader. The page buttons are named by their captions.
void nameGraphicControls(HWND dialog)
{
    for (const int button : {IdButtonPhases, IdButtonData, IdButtonSource, IdButtonExit}) {
        setControlText(dialog, button, pageButtonCaption(button));
    }
    setControlText(dialog, IdClock, "Uhr");
    setControlText(dialog, IdCountdownDial, "Countdown");
    setControlText(dialog, IdLitGauge, "Beleuchteter Teil der Mondscheibe");
}

}  // namespace

HWND buildMainWindow()
{
    takeColourScheme();
    handlerAttached = false;

    const std::vector<BYTE> dialogTemplate = buildMainWindowTemplate();
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
        nullptr, dialogProc, 0);
    mainWindow = dialog;
    const int dpi = display::windowDpi(dialog);
    setLayoutDpi(dpi);
    setIcons(dialog, dpi);
    keepDialogManagerFromRescaling(dialog);
    fitWindowToScale(dialog, dpi);
    createControls(dialog);
    createFonts(dialog, dpi);
    nameGraphicControls(dialog);
    prepareGaugeCanvas(dialog);
    ShowWindow(GetDlgItem(dialog, IdLitValue), SW_HIDE);
    return dialog;
}

void attachHandler(bool attached)
{
    handlerAttached = attached;
}

void releaseMainWindowResources()
{
    mainWindow = nullptr;
    handlerAttached = false;
    setLayoutDpi(0);
    releaseFonts();
    releaseIcons();
    releaseGroundBrushes();
}

}  // namespace app
