#include "app/main_window.hpp"

#include "app/accessible_controls.hpp"
#include "app/control_ids.hpp"
#include "app/control_text.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_units.hpp"
#include "app/main_dialog.hpp"
#include "app/page_buttons.hpp"
#include "display/canvas.hpp"
#include "display/dpi.hpp"
#include "display/gdi_owner.hpp"
#include "display/wide_text.hpp"

#include <array>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <string>

namespace app {
namespace {

constexpr DWORD Centred = SS_CENTER | SS_CENTERIMAGE;
constexpr DWORD Left = SS_LEFT | SS_CENTERIMAGE;
constexpr DWORD Edge = WS_EX_STATICEDGE;
constexpr DWORD Graphic = SS_OWNERDRAW;
constexpr display::Color Default = display::ColorDefault;

// Places in dialog units of "MS Sans Serif" 8 pt. The two rows at y 35 and y 50 read as lines:
// the nearest phase with days, hours, minutes and seconds (each value box followed by its unit
// box), and the caption of the lit fraction with the gauge that lies over the hidden value label.
constexpr ControlLayout Controls[] = {
    {IdHeading, ControlKind::Label, "Lunavista", 110, 5, 240, 20, Centred, 0, HeadingYellow,
     display::ColorNone},
    {IdEventText, ControlKind::Label, "", 95, 35, 130, 10, Left, Edge, Default, White},
    {IdSpacer, ControlKind::Label, "", 225, 35, 10, 10, Centred, Edge, Default, LightBlueGrey},
    {IdDays, ControlKind::Label, "", 235, 35, 20, 10, Centred, Edge, Default, White},
    {IdDaysUnit, ControlKind::Label, "d ", 255, 35, 10, 10, Centred, Edge, Default, LightBlueGrey},
    {IdHours, ControlKind::Label, "", 265, 35, 20, 10, Centred, Edge, Default, White},
    {IdHoursUnit, ControlKind::Label, "h ", 285, 35, 10, 10, Centred, Edge, Default, LightBlueGrey},
    {IdMinutes, ControlKind::Label, "", 295, 35, 20, 10, Centred, Edge, Default, White},
    {IdMinutesUnit, ControlKind::Label, "m ", 315, 35, 10, 10, Centred, Edge, Default,
     LightBlueGrey},
    {IdSeconds, ControlKind::Label, "", 325, 35, 20, 10, Centred, Edge, Default, White},
    {IdSecondsUnit, ControlKind::Label, "s ", 345, 35, 10, 10, Centred, Edge, Default,
     LightBlueGrey},
    {IdLitCaption, ControlKind::Label, " Beleuchteter Teil der Mondscheibe: ", 95, 50, 145, 10,
     Left, Edge, Default, White},
    {IdLitValue, ControlKind::Label, "", 240, 50, 100, 10, Centred, Edge, Default, White},
    {IdLitPercent, ControlKind::Label, "%", 340, 50, 15, 10, Centred, Edge, Default, White},
    {IdDrawingArea, ControlKind::Graphic, nullptr, 10, 70, 348, 246, Graphic | WS_BORDER, 0,
     Default, Default},
    {IdButtonData, ControlKind::Graphic, nullptr, 370, 250, 75, 15, Graphic, 0, Default, Default},
    {IdButtonSource, ControlKind::Graphic, nullptr, 370, 270, 75, 15, Graphic, 0, Default, Default},
    {IdButtonExit, ControlKind::Graphic, nullptr, 370, 295, 75, 20, Graphic, 0, Default, Default},
    {IdButtonPhases, ControlKind::Graphic, nullptr, 370, 230, 75, 15, Graphic, 0, Default, Default},
    {IdClock, ControlKind::Graphic, nullptr, 370, 71, 75, 69, Graphic, 0, Default, Default},
    {IdCountdownDial, ControlKind::Graphic, nullptr, 380, 15, 54, 50, Graphic, 0, Default, Default},
    {IdLitGauge, ControlKind::Graphic, nullptr, 240, 50, 100, 10, Graphic, Edge, Default, Default},
};

// Window-wide resources that live as long as the window.
struct WindowResources {
    display::FontOwner labelFont;
    display::FontOwner headingFont;
    display::BrushOwner navyBrush;
    display::BrushOwner whiteBrush;
    display::BrushOwner lightBlueGreyBrush;
    display::BrushOwner buttonFaceBrush;
    HWND window = nullptr;
    bool handlerAttached = false;
    bool minimizedStart = false;
};

WindowResources resources;

HBRUSH brushFor(COLORREF colour)
{
    if (colour == Navy) {
        return resources.navyBrush.get();
    }
    if (colour == White) {
        return resources.whiteBrush.get();
    }
    if (colour == LightBlueGrey) {
        return resources.lightBlueGreyBrush.get();
    }
    return resources.buttonFaceBrush.get();
}

// WM_CTLCOLORSTATIC: the label's text colour and background, or transparent.
INT_PTR answerStaticColour(HDC dc, HWND control)
{
    const ControlLayout* layout = findControlLayout(GetDlgCtrlID(control));
    if (layout == nullptr) {
        return 0;
    }
    SetTextColor(dc, layout->textColour == display::ColorDefault
                         ? GetSysColor(COLOR_WINDOWTEXT)
                         : static_cast<COLORREF>(layout->textColour));
    if (layout->backgroundColour == display::ColorNone) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    const COLORREF background = layout->backgroundColour == display::ColorDefault
                                    ? GetSysColor(COLOR_BTNFACE)
                                    : static_cast<COLORREF>(layout->backgroundColour);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, background);
    return reinterpret_cast<INT_PTR>(brushFor(background));
}

// WM_CLOSE (from the system menu, Alt+F4 or the exit command): the handler has seen it and
// saved the window position; now the window goes.
INT_PTR onClose(HWND window)
{
    releaseAccelerators();
    DestroyWindow(window);
    return TRUE;
}

// The dialog procedure: every message goes to the handler first (once it is attached); the
// handler never claims one, so the platform's default dialog handling, with the colours, the
// painting of the graphic controls and the ending of the window, always follows.
INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (resources.handlerAttached && window == resources.window) {
        mainDialogCallback(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(resources.navyBrush.get());
    case WM_CTLCOLORSTATIC:
        return answerStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        display::paintCanvasItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CLOSE:
        return onClose(window);
    default:
        return FALSE;
    }
}

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

// A per-monitor aware Windows 10 (1703 and later) would move, resize and refont the dialog's
// controls itself when the scale changes; the window lays itself out instead (at exactly the
// 96-dpi layout times the scale). Looked up at run time: older systems lack the function.
void keepDialogManagerFromRescaling(HWND dialog)
{
    using Function = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    if (function != nullptr) {
        function(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

// The window's client area: 457 x 328 dialog units, 686 x 533 pixels at 96 dpi, scaled.
void fitWindowToScale(HWND dialog)
{
    resizeClientKeepingCentre(
        dialog, dialogUnitsToPixels(dialog, 0, 0, MainWindowWidthUnits, MainWindowHeightUnits));
}

// A control at its place; a graphic control's client area (its canvas) has the place's size,
// with any border outside it: the drawing area is then 522 x 400 pixels at 96 dpi.
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

void placeControls(HWND dialog)
{
    for (const ControlLayout& layout : Controls) {
        placeControl(dialog, GetDlgItem(dialog, layout.id), layout);
    }
}

void createControls(HWND dialog)
{
    for (const ControlLayout& layout : Controls) {
        const std::wstring text = display::wideText(layout.text != nullptr ? layout.text : "");
        HWND control = CreateWindowExW(layout.extendedStyle, L"STATIC", text.c_str(),
                                       WS_CHILD | WS_VISIBLE | layout.style, 0, 0, 0, 0, dialog,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        placeControl(dialog, control, layout);
        if (layout.kind == ControlKind::Graphic) {
            display::createCanvas(dialog, layout.id);
        }
    }
    makeGraphicControlsAccessible(dialog);
}

void setIcons(HWND dialog)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto* name = MAKEINTRESOURCEA(IconMoon);
    HANDLE large = LoadImageA(instance, name, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR | LR_SHARED);
    HANDLE small = LoadImageA(instance, name, IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR | LR_SHARED);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// The labels' font, "MS Sans Serif" 8 pt, made as the dialog manager makes the template's font,
// at the window's DPI; the heading's "Microsoft Sans Serif" 16 pt.
void createFonts(HWND dialog)
{
    const int dpi = display::windowDpi(dialog);

    LOGFONTW label{};
    label.lfHeight = -MulDiv(8, dpi, 72);
    label.lfWeight = FW_DONTCARE;
    label.lfCharSet = DEFAULT_CHARSET;
    label.lfQuality = PROOF_QUALITY;
    std::wcscpy(label.lfFaceName, L"MS Sans Serif");
    display::FontOwner labelFont(CreateFontIndirectW(&label));

    LOGFONTW heading{};
    heading.lfHeight = headingFontHeight(dpi);
    heading.lfWeight = FW_NORMAL;
    heading.lfCharSet = ANSI_CHARSET;
    std::wcscpy(heading.lfFaceName, L"Microsoft Sans Serif");
    display::FontOwner headingFont(CreateFontIndirectW(&heading));

    for (const ControlLayout& layout : Controls) {
        const HFONT font = layout.id == IdHeading ? headingFont.get() : labelFont.get();
        SendMessageW(GetDlgItem(dialog, layout.id), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                     FALSE);
    }
    // The controls no longer use the fonts these replace.
    resources.labelFont = std::move(labelFont);
    resources.headingFont = std::move(headingFont);
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

void prepareGaugeCanvas(HWND dialog)
{
    display::Canvas& gauge = display::attachCanvas(dialog, IdLitGauge, false);
    gauge.setForeground(display::rgb(0, 0, 0));
    gauge.setBackground(display::rgb(255, 255, 255));
    gauge.clear(display::ColorDefault, display::FillSolid);
}

}  // namespace

std::span<const ControlLayout> mainWindowControls()
{
    return Controls;
}

const ControlLayout* findControlLayout(int id)
{
    for (const ControlLayout& layout : Controls) {
        if (layout.id == id) {
            return &layout;
        }
    }
    return nullptr;
}

LONG headingFontHeight(int logPixelsY)
{
    return -((logPixelsY * 16) / 72);
}

HWND buildMainWindow()
{
    resources.navyBrush = display::BrushOwner(CreateSolidBrush(Navy));
    resources.whiteBrush = display::BrushOwner(CreateSolidBrush(White));
    resources.lightBlueGreyBrush = display::BrushOwner(CreateSolidBrush(LightBlueGrey));
    resources.buttonFaceBrush = display::BrushOwner(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    resources.handlerAttached = false;
    resources.minimizedStart = false;

    const std::vector<BYTE> dialogTemplate = buildMainWindowTemplate();
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
        nullptr, dialogProc, 0);
    resources.window = dialog;
    setIcons(dialog);
    keepDialogManagerFromRescaling(dialog);
    fitWindowToScale(dialog);
    createControls(dialog);
    createFonts(dialog);
    nameGraphicControls(dialog);
    prepareGaugeCanvas(dialog);
    ShowWindow(GetDlgItem(dialog, IdLitValue), SW_HIDE);
    return dialog;
}

void rescaleMainWindow(HWND window)
{
    fitWindowToScale(window);
    createFonts(window);
    placeControls(window);
    for (const ControlLayout& layout : Controls) {
        if (layout.kind == ControlKind::Graphic) {
            display::recreateCanvas(window, layout.id);
        }
    }
    prepareGaugeCanvas(window);
    InvalidateRect(window, nullptr, TRUE);
}

void requestMinimizedStart()
{
    resources.minimizedStart = true;
}

void beginModalLoop(HWND window)
{
    mainDialogCallback(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(window), 0);

    RECT client{};
    GetClientRect(window, &client);
    const WPARAM sizeKind = resources.minimizedStart ? SIZE_MINIMIZED : SIZE_RESTORED;
    mainDialogCallback(window, WM_SIZE, sizeKind, MAKELPARAM(client.right, client.bottom));

    resources.handlerAttached = true;
    ShowWindow(window, resources.minimizedStart ? SW_MINIMIZE : SW_SHOW);
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
    resources.handlerAttached = false;
}

bool minimizedStartRequested()
{
    return resources.minimizedStart;
}

void endMainWindow(HWND window)
{
    SendMessageA(window, WM_CLOSE, 0, 0);
}

void releaseMainWindowResources()
{
    resources = WindowResources{};
}

int createMainWindow()
{
    HWND window = buildMainWindow();
    runModalLoop(window);
    releaseMainWindowResources();
    return 0;
}

}  // namespace app
