#include "tests/app/app_fixture.hpp"

#include "app/colour_scheme.hpp"
#include "app/control_ids.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_units.hpp"
#include "app/label_font.hpp"
#include "app/main_dialog.hpp"
#include "app/main_window.hpp"
#include "app/page_layer.hpp"
#include "app/window_position.hpp"
#include "astro/system_time.hpp"
#include "display/canvas.hpp"
#include "display/dpi.hpp"
#include "display/gdi_owner.hpp"
#include "display/wide_text.hpp"
#include "events/countdown.hpp"
#include "events/current_phase.hpp"
#include "tests/display/gdi_count.hpp"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace app {
namespace {

using test::AppTest;
using test::fakeNow;
using test::reading;
using test::textOf;

TEST(DialogTemplate, HoldsTheWindowsPlaceStylesCaptionAndFont)
{
    const std::vector<BYTE> bytes = buildMainWindowTemplate();
    DLGTEMPLATE header;
    ASSERT_GE(bytes.size(), sizeof header);
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.style &
                  (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER | DS_MODALFRAME |
                   DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK | DS_SETFOREGROUND | WS_CLIPSIBLINGS),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER |
                                 DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK |
                                 DS_SETFOREGROUND | WS_CLIPSIBLINGS));
    EXPECT_EQ(header.style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VISIBLE), 0u);
    EXPECT_EQ(header.dwExtendedStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
    EXPECT_EQ(header.cdit, 0);
    EXPECT_EQ(header.x, 39);
    EXPECT_EQ(header.y, 2);
    EXPECT_EQ(header.cx, 457);
    EXPECT_EQ(header.cy, 328);

    // Then: no menu, the dialog class, the caption, the point size and the face (UTF-16).
    std::vector<WORD> words((bytes.size() - sizeof header) / 2);
    std::memcpy(words.data(), bytes.data() + sizeof header, words.size() * 2);
    const std::u16string caption = u" Lunavista";
    const std::u16string face = u"MS Sans Serif";
    std::vector<WORD> expected = {0, 0};
    expected.insert(expected.end(), caption.begin(), caption.end());
    expected.push_back(0);
    expected.push_back(8);
    expected.insert(expected.end(), face.begin(), face.end());
    expected.push_back(0);
    EXPECT_EQ(words, expected);
}

// One conversion for every font of the window: the labels' 8 pt, the heading's 16 pt and the
// canvases' 8, 9, 10 and 16 pt, cut to whole pixels.
TEST(PointsToPixels, CutsToWholePixels)
{
    struct Case {
        int points;
        int dpi;
        int pixels;
    };
    const Case cases[] = {{8, 96, 10},  {9, 96, 12},   {10, 96, 13}, {16, 96, 21},
                          {8, 120, 13}, {16, 120, 26}, {8, 144, 16}, {16, 144, 32},
                          {9, 144, 18}, {10, 192, 26}, {72, 96, 96}, {1, 96, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(display::pointsToPixels(c.points, c.dpi), c.pixels)
            << c.points << " pt at " << c.dpi << " dpi";
    }
}

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, CreatesEveryControlInOrderWithItsText)
{
    std::vector<int> ids;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child));
    }
    std::vector<int> expected;
    for (const ControlLayout& layout : mainWindowControls()) {
        expected.push_back(layout.id);
        if (layout.kind == ControlKind::Label) {
            EXPECT_EQ(textOf(window, layout.id), layout.text) << layout.id;
        }
        HWND control = GetDlgItem(window, layout.id);
        EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP, 0) << layout.id;
        EXPECT_EQ((GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0, layout.id != IdLitValue)
            << layout.id;
    }
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(textOf(window, IdLitCaption), " Beleuchteter Teil der Mondscheibe: ");
}

TEST_F(MainWindowTest, GraphicControlsHaveCanvasesOfTheirDialogUnitSize)
{
    for (const ControlLayout& layout : mainWindowControls()) {
        display::Canvas* canvas = display::canvasOf(GetDlgItem(window, layout.id));
        if (layout.kind == ControlKind::Label) {
            EXPECT_EQ(canvas, nullptr) << layout.id;
            continue;
        }
        ASSERT_NE(canvas, nullptr) << layout.id;
        const RECT rect =
            dialogUnitsToPixels(window, layout.x, layout.y, layout.width, layout.height);
        EXPECT_EQ(canvas->width(), rect.right - rect.left) << layout.id;
        EXPECT_EQ(canvas->height(), rect.bottom - rect.top) << layout.id;
    }
    // With dialog base units of 6 x 13 pixels the pages get the room they are drawn for.
    const display::Canvas* page = display::canvasOf(GetDlgItem(window, IdDrawingArea));
    EXPECT_EQ(page->width(), 522);
    EXPECT_EQ(page->height(), 400);
    // At 96 dpi the window's own layout is the dialog manager's.
    RECT base{0, 0, 4, 8};
    MapDialogRect(window, &base);
    EXPECT_EQ(dialogBaseUnitsAt96().x, base.right);
    EXPECT_EQ(dialogBaseUnitsAt96().y, base.bottom);
}

TEST_F(MainWindowTest, LabelsAnswerWithTheirColours)
{
    struct Case {
        int id;
        COLORREF text;
        COLORREF background;  // CLR_INVALID: transparent
    };
    const COLORREF black = RGB(0, 0, 0);
    const Case cases[] = {
        {IdHeading, RGB(196, 196, 0), CLR_INVALID}, {IdEventText, black, RGB(255, 255, 255)},
        {IdSpacer, black, RGB(178, 194, 217)},      {IdDaysUnit, black, RGB(178, 194, 217)},
        {IdSeconds, black, RGB(255, 255, 255)},     {IdLitPercent, black, RGB(255, 255, 255)},
    };
    HDC dc = GetDC(window);
    for (const Case& c : cases) {
        SetBkMode(dc, OPAQUE);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, c.id))));
        EXPECT_EQ(GetTextColor(dc), c.text) << c.id;
        if (c.background == CLR_INVALID) {
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << c.id;
            EXPECT_EQ(brush, GetStockObject(NULL_BRUSH)) << c.id;
        } else {
            EXPECT_EQ(GetBkColor(dc), c.background) << c.id;
            LOGBRUSH logBrush{};
            ASSERT_NE(GetObjectA(brush, sizeof logBrush, &logBrush), 0) << c.id;
            EXPECT_EQ(logBrush.lbColor, c.background) << c.id;
        }
    }
    const auto dialogBrush = reinterpret_cast<HBRUSH>(SendMessageA(
        window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    LOGBRUSH logBrush{};
    ASSERT_NE(GetObjectA(dialogBrush, sizeof logBrush, &logBrush), 0);
    EXPECT_EQ(logBrush.lbColor, RGB(0, 0, 96));
    ReleaseDC(window, dc);
}

// A dark scheme's system colours, as a dark contrast theme sets them (white text on dark grey,
// the selection light blue with black text).
COLORREF darkScheme(int index)
{
    switch (index) {
    case COLOR_WINDOW:
        return RGB(32, 32, 32);
    case COLOR_WINDOWTEXT:
        return RGB(255, 255, 255);
    case COLOR_BTNFACE:
        return RGB(0, 0, 0);
    case COLOR_BTNTEXT:
        return RGB(255, 255, 0);
    case COLOR_HIGHLIGHT:
        return RGB(142, 218, 255);
    case COLOR_HIGHLIGHTTEXT:
        return RGB(0, 0, 0);
    default:
        return GetSysColor(index);
    }
}

bool contrastOn()
{
    return true;
}

bool contrastOff()
{
    return false;
}

// The contrast ratio of two colours (WCAG 2): (L1 + 0.05) / (L2 + 0.05) of their relative
// luminances, the lighter one first.
double contrastRatio(COLORREF a, COLORREF b)
{
    const auto luminance = [](COLORREF c) {
        const auto linear = [](int channel) {
            const double v = channel / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) +
               0.0722 * linear(GetBValue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every label is readable in every scheme (the WCAG threshold, 4.5:1, between its text and what
// shows behind it); with high contrast on, labels and page buttons take the system's colours, and
// when it goes off again the buttons are drawn exactly as before.
TEST_F(MainWindowTest, LabelsAndButtonsReadInEveryColourScheme)
{
    struct Scheme {
        const char* name;
        bool (*contrast)();
        COLORREF (*colours)(int);
    };
    const Scheme schemes[] = {
        {"the system's colours", contrastOff, nullptr},
        {"a dark scheme", contrastOff, darkScheme},
        {"high contrast, dark", contrastOn, darkScheme},
        {"the system's colours again", contrastOff, nullptr},
    };
    start();
    std::vector<display::test::Snapshot> buttonsBefore;
    for (const int id : {IdButtonPhases, IdButtonData, IdButtonSource, IdButtonExit}) {
        buttonsBefore.push_back(picture(id));
    }
    HDC dc = GetDC(window);
    for (const Scheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        setColourSchemeSource({scheme.contrast, scheme.colours});
        SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
        pump();
        LOGBRUSH ground{};
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORDLG,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(window))),
                   sizeof ground, &ground);
        for (const ControlLayout& layout : mainWindowControls()) {
            if (layout.kind != ControlKind::Label) {
                continue;
            }
            SetBkMode(dc, OPAQUE);
            SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, layout.id)));
            const COLORREF text = GetTextColor(dc);
            const COLORREF behind = GetBkMode(dc) == TRANSPARENT ? ground.lbColor : GetBkColor(dc);
            EXPECT_GE(contrastRatio(text, behind), 4.5) << layout.id;
            if (scheme.contrast()) {
                EXPECT_EQ(text, darkScheme(COLOR_WINDOWTEXT)) << layout.id;
                EXPECT_EQ(behind, darkScheme(COLOR_WINDOW)) << layout.id;
            }
        }
        if (scheme.contrast()) {
            // Page 1 is shown: its button is the selected one.
            const display::test::Snapshot selected = picture(IdButtonPhases);
            EXPECT_EQ(selected.at(1, 1), darkScheme(COLOR_HIGHLIGHT));
            EXPECT_GT(display::test::countColor(selected, darkScheme(COLOR_HIGHLIGHTTEXT)), 10);
            const display::test::Snapshot other = picture(IdButtonData);
            EXPECT_EQ(other.at(1, 1), darkScheme(COLOR_BTNFACE));
            EXPECT_GT(display::test::countColor(other, darkScheme(COLOR_BTNTEXT)), 10);
        }
    }
    ReleaseDC(window, dc);
    std::size_t i = 0;
    for (const int id : {IdButtonPhases, IdButtonData, IdButtonSource, IdButtonExit}) {
        EXPECT_TRUE(picture(id) == buttonsBefore[i++]) << id;
    }
    setColourSchemeSource({nullptr, nullptr});
}

// The labels' face, by what GDI reports alike on every system. The glyph check is believed for a
// TrueType face only: a raster face of code page 1251 or 1253 answers it for a missing "ä" with
// its default glyph, as if it had one.
TEST(LabelFont, RasterFacesCountByTheirCharacterSetTrueTypeFacesByTheirGlyphs)
{
    struct Case {
        const char* face;
        FaceFacts facts;
        bool draws;
    };
    const Case cases[] = {
        {"MS Sans Serif on a Western system", {false, ANSI_CHARSET, true}, true},
        {"MS Sans Serif on a Cyrillic system", {false, RUSSIAN_CHARSET, true}, false},
        {"MS Sans Serif on a Greek system", {false, GREEK_CHARSET, true}, false},
        {"a raster face whose glyph check fails", {false, ANSI_CHARSET, false}, true},
        {"Microsoft Sans Serif, Cyrillic set selected", {true, RUSSIAN_CHARSET, true}, true},
        {"a TrueType face without umlauts", {true, ANSI_CHARSET, false}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(drawsTexts(c.facts), c.draws) << c.face;
    }
}

TEST_F(MainWindowTest, HeadingUsesSixteenPointMicrosoftSansSerif)
{
    const auto font =
        reinterpret_cast<HFONT>(SendDlgItemMessageA(window, IdHeading, WM_GETFONT, 0, 0));
    LOGFONTA logFont{};
    ASSERT_NE(GetObjectA(font, sizeof logFont, &logFont), 0);
    EXPECT_EQ(logFont.lfHeight, -21);  // 96 dpi
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_STREQ(logFont.lfFaceName, "Microsoft Sans Serif");
}

// Whatever the system's code page (the test also runs under 1251, app_label_fonts_cp1251), the
// labels' font draws every character the labels can show; under 1252 it is the dialog's own.
TEST_F(MainWindowTest, LabelFontsDrawEveryCharacterOfTheLabels)
{
    if (const char* expected = std::getenv("LV_EXPECTED_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
    const std::wstring characters = display::wideText(labelTexts());
    for (const wchar_t* text : {L"N\u00E4chster Vollmond", L"Beleuchteter Teil", L"h ", L"%"}) {
        EXPECT_NE(characters.find(text), std::wstring::npos);
    }
    const display::WindowDcOwner screen(nullptr);
    for (const ControlLayout& layout : mainWindowControls()) {
        if (layout.kind != ControlKind::Label) {
            continue;
        }
        const auto font =
            reinterpret_cast<HFONT>(SendDlgItemMessageW(window, layout.id, WM_GETFONT, 0, 0));
        const display::SelectGuard selection(screen.get(), font);
        ASSERT_TRUE(selection.active()) << layout.id;
        std::vector<WORD> glyphs(characters.size());
        ASSERT_NE(
            GetGlyphIndicesW(screen.get(), characters.c_str(), static_cast<int>(characters.size()),
                             glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS),
            GDI_ERROR);
        for (std::size_t i = 0; i < characters.size(); ++i) {
            EXPECT_NE(glyphs[i], 0xFFFF)
                << layout.id << ": U+" << std::hex << static_cast<unsigned>(characters[i]);
        }
        if (GetACP() == 1252 && layout.id != IdHeading) {
            LOGFONTA logFont{};
            GetObjectA(font, sizeof logFont, &logFont);
            EXPECT_STREQ(logFont.lfFaceName, "MS Sans Serif") << layout.id;
        }
    }
}

TEST_F(MainWindowTest, InitialisationAttachesTheAcceleratorsInOrder)
{
    initialise();
    ASSERT_NE(mainAccelerators(), nullptr);
    ACCEL table[8];
    ASSERT_EQ(CopyAcceleratorTableA(mainAccelerators(), table, 8), 5);
    const ACCEL expected[] = {
        {FVIRTKEY | FNOINVERT | FCONTROL, VK_F2, CmdSaveBitmap},
        {FVIRTKEY | FNOINVERT, VK_RETURN, CmdKeyEnter},
        {FVIRTKEY | FNOINVERT, VK_UP, CmdKeyUp},
        {FVIRTKEY | FNOINVERT, VK_DOWN, CmdKeyDown},
        {FVIRTKEY | FNOINVERT, VK_TAB, CmdKeyTab},
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(table[i].fVirt & ~0x80, expected[i].fVirt) << i;
        EXPECT_EQ(table[i].key, expected[i].key) << i;
        EXPECT_EQ(table[i].cmd, expected[i].cmd) << i;
    }
}

// The refresh writes what the event logic computes for the clock reading it sees.
TEST_F(MainWindowTest, RefreshWritesTheNearestPhaseAndItsCountdown)
{
    initialise();
    const astro::SystemTime readings[] = {
        reading(2025, 3, 5, 14, 7, 9),      reading(2025, 7, 14, 22, 30, 0),
        reading(2000, 1, 6, 18, 14, 0),     reading(1601, 1, 1, 0, 0, 0),
        reading(30827, 12, 31, 23, 59, 59),
    };
    for (const astro::SystemTime& t : readings) {
        fakeNow() = t;
        mainDialogCallback(window, RefreshMessage, 0, 0);
        const events::NearestPhase nearest = events::nearestPhase(t);
        ASSERT_TRUE(nearest.found) << t.wYear;
        EXPECT_EQ(textOf(window, IdEventText),
                  events::eventLineText(nearest.phase, nearest.distanceDays))
            << t.wYear;
        const events::CountdownParts parts =
            events::countdownParts(std::fabs(nearest.distanceDays));
        EXPECT_EQ(textOf(window, IdDays), parts.daysText) << t.wYear;
        EXPECT_EQ(textOf(window, IdHours), parts.hoursText) << t.wYear;
        EXPECT_EQ(textOf(window, IdMinutes), parts.minutesText) << t.wYear;
        EXPECT_EQ(textOf(window, IdSeconds), parts.secondsText) << t.wYear;
    }
}

// The New Moon of 2000 January 6 falls at 18:14:46 as a local reading; the count-down adds a
// fixed hour to it, so it reads "next" until 19:14 and "last" after.
TEST_F(MainWindowTest, NewMoonOfJanuary2000CountsDownByTheHour)
{
    initialise();
    fakeNow() = reading(2000, 1, 6, 17, 0, 0);
    mainDialogCallback(window, RefreshMessage, 0, 0);
    EXPECT_EQ(textOf(window, IdEventText),
              " N\xE4"
              "chster Neumond ist in: ");
    EXPECT_EQ(textOf(window, IdDays), "0");
    EXPECT_EQ(textOf(window, IdHours), "2");
    fakeNow() = reading(2000, 1, 6, 21, 30, 0);
    mainDialogCallback(window, RefreshMessage, 0, 0);
    EXPECT_EQ(textOf(window, IdEventText), " Letzter Neumond war vor: ");
    EXPECT_EQ(textOf(window, IdHours), "2");
}

TEST_F(MainWindowTest, ReactivationReturnsTheFocusToItsControl)
{
    initialise();
    HWND control = GetDlgItem(window, IdEventText);
    SetFocus(control);
    mainDialogCallback(window, WM_NCACTIVATE, FALSE, 0);
    SetFocus(GetDlgItem(window, IdDays));
    mainDialogCallback(window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(GetFocus(), control);
    // Remembered once: a second activation leaves the focus where it is.
    SetFocus(GetDlgItem(window, IdDays));
    mainDialogCallback(window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(window, IdDays));
}

TEST_F(MainWindowTest, ExitCommandsActOnlyForClicksAndAccelerators)
{
    initialise();
    for (int command : {IdButtonExit, CmdExitAlias}) {
        for (int source : {2, 5, 0xFFFF}) {
            mainDialogCallback(window, WM_COMMAND, MAKEWPARAM(command, source), 0);
            ASSERT_TRUE(IsWindow(window)) << command << " " << source;
        }
    }
    mainDialogCallback(window, WM_COMMAND, MAKEWPARAM(CmdExitAlias, 1), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(mainAccelerators(), nullptr);
}

// A screen reader may hold a control's object after the window has gone: it then hears that the
// object is no longer connected, for every question.
TEST_F(MainWindowTest, AccessibleObjectsOutlivingTheirControlAreNotConnected)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    std::vector<IAccessible*> objects;
    for (const int id : {IdButtonPhases, IdLitGauge, IdDrawingArea}) {
        const LRESULT answer = SendMessageW(GetDlgItem(window, id), WM_GETOBJECT, 0, OBJID_CLIENT);
        IAccessible* object = nullptr;
        ASSERT_TRUE(SUCCEEDED(ObjectFromLresult(answer, __uuidof(IAccessible), 0,
                                                reinterpret_cast<void**>(&object))));
        objects.push_back(object);
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    EXPECT_EQ(objects[0]->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PAGETAB);
    DestroyWindow(window);
    for (IAccessible* object : objects) {
        EXPECT_EQ(object->get_accRole(self, &role), CO_E_OBJNOTCONNECTED);
        BSTR name = nullptr;
        EXPECT_EQ(object->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
        EXPECT_EQ(object->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
        LONG x = 0;
        EXPECT_EQ(object->accLocation(&x, &x, &x, &x, self), CO_E_OBJNOTCONNECTED);
        object->Release();
    }
    CoUninitialize();
}

// Closing delivers WM_CLOSE before WM_DESTROY.
std::vector<UINT> seen;
LRESULT CALLBACK recordMessages(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && (message->message == WM_CLOSE || message->message == WM_DESTROY)) {
        seen.push_back(message->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowTest, EndingSendsCloseThenDestroy)
{
    initialise();
    seen.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, recordMessages, nullptr, GetCurrentThreadId());
    mainDialogCallback(window, WM_COMMAND, MAKEWPARAM(IdButtonExit, 0), 0);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(seen[1], static_cast<UINT>(WM_DESTROY));
}

// A program that refreshes every second for weeks must not lose a single handle.
TEST_F(MainWindowTest, RefreshingLeavesNoGdiObjectsBehind)
{
    initialise();
    mainDialogCallback(window, RefreshMessage, 0, 0);
    mainDialogCallback(window, WM_TIMER, ClockTimer, 0);
    const long owned = display::gdiObjectsAlive();
    const long inUse = display::test::gdiHandlesInUse();
    for (int second = 0; second < 2000; ++second) {
        fakeNow().wSecond = static_cast<std::uint16_t>(second % 60);
        fakeNow().wMinute = static_cast<std::uint16_t>(second / 60 % 60);
        mainDialogCallback(window, WM_TIMER, ClockTimer, 0);
        mainDialogCallback(window, RefreshMessage, 0, 0);
    }
    EXPECT_EQ(display::gdiObjectsAlive(), owned);
    EXPECT_EQ(display::test::gdiHandlesInUse(), inUse);
}

// The window's size at a DPI: the frame the system draws at that DPI around a client area.
SIZE frameAround(HWND window, SIZE client, int dpi)
{
    using Function = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    const auto adjust = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT rect{0, 0, client.cx, client.cy};
    if (adjust == nullptr ||
        !adjust(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)),
                static_cast<UINT>(dpi))) {
        return {};
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int iconWidth(HWND window, WPARAM which)
{
    const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// What a window is at a scale: its client size, every control's place in it, the labels' fonts,
// the sizes of its icons and the pictures of its graphic controls.
struct Layout {
    std::pair<LONG, LONG> client;
    std::vector<std::array<LONG, 4>> controls;
    std::vector<std::string> fonts;
    std::pair<int, int> icons;
    std::vector<display::test::Snapshot> pictures;
};

void expectSameLayout(const Layout& got, const Layout& want, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(got.client, want.client);
    EXPECT_EQ(got.controls, want.controls);
    EXPECT_EQ(got.fonts, want.fonts);
    EXPECT_EQ(got.icons, want.icons);
    ASSERT_EQ(got.pictures.size(), want.pictures.size());
    for (std::size_t i = 0; i < got.pictures.size(); ++i) {
        EXPECT_TRUE(got.pictures[i] == want.pictures[i]) << "picture of graphic control " << i;
    }
}

// A window that learns of another scale (150 %) while it starts, when its stored place lies on a
// monitor of that scale, or when it is moved there later ends exactly as a window started at
// that scale (and moved back, as it was, without a handle lost); it tells the system its size
// there exactly.
TEST_F(MainWindowTest, ChangingTheScaleLaysOutAsStartingThereAndLeaksNothing)
{
    const auto layout = [&] {
        Layout l;
        RECT client{};
        GetClientRect(window, &client);
        l.client = {client.right, client.bottom};
        for (const ControlLayout& c : mainWindowControls()) {
            HWND control = GetDlgItem(window, c.id);
            RECT rect{};
            GetWindowRect(control, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            l.controls.push_back({rect.left, rect.top, rect.right, rect.bottom});
            if (c.kind == ControlKind::Label) {
                LOGFONTA font{};
                GetObjectA(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                           sizeof font, &font);
                l.fonts.push_back(std::string(font.lfFaceName) + " " +
                                  std::to_string(font.lfHeight));
            } else {
                l.pictures.push_back(picture(c.id));
            }
        }
        l.icons = {iconWidth(window, ICON_SMALL), iconWidth(window, ICON_BIG)};
        return l;
    };
    // Built at one scale; what comes before the loop starts; the loop, then page 2 opened.
    const auto startOnPageTwo = [&](int dpi, auto beforeLoop) {
        if (IsWindow(window)) {
            DestroyWindow(window);
            pump();
        }
        releaseAccelerators();
        releaseMainWindowResources();
        resetPageState();
        resetWindowPosition();
        display::setDpiOverride(dpi);
        window = buildMainWindow();
        beforeLoop();
        start();
        command(IdButtonData);
    };
    const auto nothing = [] {};
    const auto moveTo = [&](int dpi) {
        display::setDpiOverride(dpi);
        RECT suggested{};
        GetWindowRect(window, &suggested);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        pump();
    };
    const auto scaledSize = [&](int dpi) {
        SIZE size{};
        EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi),
                                 reinterpret_cast<LPARAM>(&size)));
        return std::pair<LONG, LONG>{size.cx, size.cy};
    };

    // The dials erase the hands of the time they showed last, also on a fresh face: after this
    // first window every window starts from the same one.
    startOnPageTwo(0, nothing);
    startOnPageTwo(144, nothing);
    const Layout at144 = layout();
    EXPECT_EQ(at144.pictures[0].width, 783);
    EXPECT_EQ(at144.pictures[0].height, 600);
    RECT frame144{};
    GetWindowRect(window, &frame144);
    const SIZE window144 = frameAround(window, {at144.client.first, at144.client.second}, 144);

    startOnPageTwo(0, nothing);
    const Layout at96 = layout();
    EXPECT_EQ(at96.icons, (std::pair<int, int>{16, 32}));
    EXPECT_EQ(at144.icons, (std::pair<int, int>{24, 48}));
    RECT frame96{};
    GetWindowRect(window, &frame96);
    EXPECT_EQ(scaledSize(96),
              (std::pair<LONG, LONG>{frame96.right - frame96.left, frame96.bottom - frame96.top}));
    EXPECT_EQ(scaledSize(144), (std::pair<LONG, LONG>{window144.cx, window144.cy}));
    const long owned = display::gdiObjectsAlive();
    const long inUse = display::test::gdiHandlesInUse();

    moveTo(144);
    expectSameLayout(layout(), at144, "moved to 144 dpi");
    moveTo(0);
    expectSameLayout(layout(), at96, "moved back to 96 dpi");
    EXPECT_EQ(display::gdiObjectsAlive(), owned);
    EXPECT_EQ(display::test::gdiHandlesInUse(), inUse);

    // Told before the handler is attached: the window takes the place suggested.
    const RECT suggested{frame96.left + 40, frame96.top + 30,
                         frame96.left + 40 + frame144.right - frame144.left,
                         frame96.top + 30 + frame144.bottom - frame144.top};
    startOnPageTwo(0, [&] {
        display::setDpiOverride(144);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
    });
    expectSameLayout(layout(), at144, "told during the start");
    RECT place{};
    GetWindowRect(window, &place);
    EXPECT_EQ(place.left, suggested.left);
    EXPECT_EQ(place.top, suggested.top);

    // Not told: the stored place lies on a monitor of 150 %, and the window finds that out.
    WindowPlacement stored;
    stored.X = 20;
    stored.Y = 12;
    ASSERT_TRUE(writePlacement(windowPositionFile(), stored));
    startOnPageTwo(0, [] { display::setDpiOverride(144); });
    expectSameLayout(layout(), at144, "found after the stored place was applied");
    GetWindowRect(window, &place);
    EXPECT_EQ(place.left, dialogUnitsToPixelsX(20, 96));
    EXPECT_EQ(place.top, dialogUnitsToPixelsY(12, 96));
    display::setDpiOverride(0);
}

}  // namespace
}  // namespace app
