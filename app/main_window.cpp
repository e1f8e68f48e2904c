#include "app/main_window.hpp"

#include "app/accessible_controls.hpp"
#include "app/colour_scheme.hpp"
#include "app/control_ids.hpp"
#include "app/control_text.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_units.hpp"
#include "app/label_font.hpp"
#include "app/main_dialog.hpp"
#include "app/page_buttons.hpp"
#include "app/phase_labels.hpp"
#include "app/screen_area.hpp"
#include "display/canvas.hpp"
#include "display/dpi.hpp"
#include "display/gdi_owner.hpp"
#include "display/palette.hpp"
#include "display/wide_text.hpp"

#include <algorithm>
#include <array>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace app {
namespace {

constexpr DWORD Centred = SS_CENTER | SS_CENTERIMAGE;
constexpr DWORD Left = SS_LEFT | SS_CENTERIMAGE;
constexpr DWORD Edge = WS_EX_STATICEDGE;
constexpr DWORD Graphic = SS_OWNERDRAW;
constexpr display::Color Default = display::ColorDefault;
using display::Black;
using display::HeadingYellow;
using display::LightBlueGrey;
using display::White;

// Places in dialog units of "MS Sans Serif" 8 pt. A label on a ground of its own has a text
// colour of its own: the system's text colour could be that of a dark scheme, white on white.
// The two rows at y 35 and y 50 read as lines:
// the nearest phase with days, hours, minutes and seconds (each value box followed by its unit
// box), and the caption of the lit fraction with the gauge that lies over the hidden value label.
constexpr ControlLayout Controls[] = {
    {IdHeading, ControlKind::Label, "Lunavista", 110, 5, 240, 20, Centred, 0, HeadingYellow,
     display::ColorNone},
    {IdEventText, ControlKind::Label, "", 95, 35, 130, 10, Left, Edge, Black, White},
    {IdSpacer, ControlKind::Label, "", 225, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdDays, ControlKind::Label, "", 235, 35, 20, 10, Centred, Edge, Black, White},
    {IdDaysUnit, ControlKind::Label, "d ", 255, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdHours, ControlKind::Label, "", 265, 35, 20, 10, Centred, Edge, Black, White},
    {IdHoursUnit, ControlKind::Label, "h ", 285, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdMinutes, ControlKind::Label, "", 295, 35, 20, 10, Centred, Edge, Black, White},
    {IdMinutesUnit, ControlKind::Label, "m ", 315, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdSeconds, ControlKind::Label, "", 325, 35, 20, 10, Centred, Edge, Black, White},
    {IdSecondsUnit, ControlKind::Label, "s ", 345, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdLitCaption, ControlKind::Label, " Beleuchteter Teil der Mondscheibe: ", 95, 50, 145, 10,
     Left, Edge, Black, White},
    {IdLitValue, ControlKind::Label, "", 240, 50, 100, 10, Centred, Edge, Black, White},
    {IdLitPercent, ControlKind::Label, "%", 340, 50, 15, 10, Centred, Edge, Black, White},
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
    display::IconOwner smallIcon;
    display::IconOwner bigIcon;
    // The solid brushes of the grounds the labels and the window answer with: the program's own
    // colours at first, the system's ones too once they are asked for.
    std::vector<std::pair<COLORREF, display::BrushOwner>> brushes;
    HWND window = nullptr;
    int layoutDpi = 0;  // the DPI the window was last laid out at
    bool handlerAttached = false;
    bool minimizedStart = false;
};

WindowResources resources;

HBRUSH brushFor(COLORREF colour)
{
    for (const auto& [brushColour, brush] : resources.brushes) {
        if (brushColour == colour) {
            return brush.get();
        }
    }
    resources.brushes.emplace_back(colour, display::BrushOwner(CreateSolidBrush(colour)));
    return resources.brushes.back().second.get();
}

// The program's own grounds, made with the window (the system's ones when first asked for).
void makeGroundBrushes()
{
    resources.brushes.clear();
    for (const display::Color ground : {display::NightBlue, White, LightBlueGrey}) {
        brushFor(static_cast<COLORREF>(ground));
    }
}

// WM_CTLCOLORSTATIC: the label's text colour and background, or transparent.
INT_PTR answerStaticColour(HDC dc, HWND control)
{
    const ControlLayout* layout = findControlLayout(GetDlgCtrlID(control));
    if (layout == nullptr) {
        return 0;
    }
    const LabelColours colours = labelColours(layout->textColour, layout->backgroundColour);
    SetTextColor(dc, colours.text);
    if (colours.transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, colours.background);
    return reinterpret_cast<INT_PTR>(brushFor(colours.background));
}

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
    if (resources.handlerAttached) {
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
    if (resources.handlerAttached && window == resources.window) {
        mainDialogCallback(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(brushFor(windowGround()));
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
void fitWindowToScale(HWND dialog, int dpi)
{
    resizeClientKeepingCentre(
        dialog, dialogUnitsToPixels(0, 0, MainWindowWidthUnits, MainWindowHeightUnits, dpi));
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

// A per-monitor aware Windows 10 (1703 and later) would also give each control a font of the new
// scale and move it; the dialog-wide setting above does not cover that. Looked up at run time:
// older systems lack the function.
void keepDialogManagerFromRefontingControls(HWND control)
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

void createControls(HWND dialog)
{
    for (const ControlLayout& layout : Controls) {
        const std::wstring text = display::wideText(layout.text != nullptr ? layout.text : "");
        HWND control = CreateWindowExW(layout.extendedStyle, L"STATIC", text.c_str(),
                                       WS_CHILD | WS_VISIBLE | layout.style, 0, 0, 0, 0, dialog,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        keepDialogManagerFromRefontingControls(control);
        placeControl(dialog, control, layout);
        if (layout.kind == ControlKind::Graphic) {
            display::createCanvas(dialog, layout.id);
        }
    }
    makeGraphicControlsAccessible(dialog);
}

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

// The title bar's and the taskbar's icons at the window's DPI; the ones they replace go.
void setIcons(HWND dialog, int dpi)
{
    display::IconOwner small = loadIcon(iconSize(SM_CXSMICON, dpi));
    display::IconOwner big = loadIcon(iconSize(SM_CXICON, dpi));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    resources.smallIcon = std::move(small);
    resources.bigIcon = std::move(big);
}

// The labels' font and the heading's "Microsoft Sans Serif" 16 pt, at the window's DPI.
void createFonts(HWND dialog, int dpi)
{
    static const std::wstring texts = display::wideText(labelTexts());
    display::FontOwner labelFont = createLabelFont(dpi, texts);

    LOGFONTW heading{};
    heading.lfHeight = -display::pointsToPixels(16, dpi);
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
    gauge.setForeground(display::Black);
    gauge.setBackground(White);
    gauge.clear(display::ColorDefault, display::FillSolid);
}

// After the stored place is applied: the window may now lie on a monitor of another scale than
// the one it was laid out for, and a hidden window is not always told so. Then the handler gets
// the change as WM_DPICHANGED would bring it, with the window's top-left corner where it is (or
// as near as keeps it wholly on the screen) and its client area the size for the new scale
// inside the frame it has there.
void followDpiOfPlace(HWND window)
{
    const int dpi = display::windowDpi(window);
    if (dpi == resources.layoutDpi) {
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

std::string labelTexts()
{
    std::string texts;
    for (const ControlLayout& layout : Controls) {
        if (layout.kind == ControlKind::Label && layout.id != IdHeading) {
            texts += layout.text;
        }
    }
    return texts + phaseLabelTexts();
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

HWND buildMainWindow()
{
    refreshColourScheme();
    makeGroundBrushes();
    resources.handlerAttached = false;
    resources.minimizedStart = false;

    const std::vector<BYTE> dialogTemplate = buildMainWindowTemplate();
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
        nullptr, dialogProc, 0);
    resources.window = dialog;
    const int dpi = display::windowDpi(dialog);
    resources.layoutDpi = dpi;
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

void layOutAtNewDpi(HWND window, const RECT* suggested)
{
    if (suggested != nullptr) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int dpi = display::windowDpi(window);
    resources.layoutDpi = dpi;
    setIcons(window, dpi);
    fitWindowToScale(window, dpi);
    createFonts(window, dpi);
    placeControls(window);
    for (const ControlLayout& layout : Controls) {
        if (layout.kind == ControlKind::Graphic) {
            display::recreateCanvas(window, layout.id);
        }
    }
    prepareGaugeCanvas(window);
    InvalidateRect(window, nullptr, TRUE);
}

void followColourScheme(HWND window)
{
    refreshColourScheme();
    makeGroundBrushes();
    InvalidateRect(window, nullptr, TRUE);
}

void requestMinimizedStart()
{
    resources.minimizedStart = true;
}

void beginModalLoop(HWND window)
{
    mainDialogCallback(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(window), 0);
    followDpiOfPlace(window);

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
