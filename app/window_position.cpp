#include "app/window_position.hpp"

#include "app/dialog_units.hpp"
#include "app/exe_location.hpp"
#include "app/screen_area.hpp"
#include "app/stored_value.hpp"
#include "display/dpi.hpp"

namespace app {
namespace {

const wchar_t* const Section = L"LvWinPos";

struct Key {
    const wchar_t* name;
    std::int32_t WindowPlacement::*field;
};

// In the order of reading and writing.
const Key Keys[] = {
    {L"LvWinPosX", &WindowPlacement::X},
    {L"LvWinPosY", &WindowPlacement::Y},
    {L"LvWinPosW", &WindowPlacement::W},
    {L"LvWinPosH", &WindowPlacement::H},
    {L"LvWinPosMinm", &WindowPlacement::Minimized},
};

// Window-wide state of the store.
WindowPlacement placement;
bool minimizedStart = false;    // asked for at WM_INITDIALOG, carried out by the message loop
std::int32_t initialWidth = 0;  // dialog units, at WM_INITDIALOG
std::int32_t initialHeight = 0;

// Places on the screen are kept in dialog units at 96 dpi, so that a stored place is the same
// spot on every monitor whatever its scale; sizes at the window's own scale, so that the
// window's size in units is the same on every monitor.
int placeDpi(HWND)
{
    return display::BaseDpi;
}

int sizeDpi(HWND window)
{
    return display::windowDpi(window);
}

// Pixels to dialog units (floor); where another unit value maps back to exactly these pixels,
// that one is taken, so a place read from the file is written back unchanged, negative
// coordinates included (floor alone would creep left and up each run).
int toUnitsX(int pixels, int dpi)
{
    const int units = pixelsToDialogUnitsX(pixels, dpi);
    if (dialogUnitsToPixelsX(units, dpi) != pixels &&
        dialogUnitsToPixelsX(units + 1, dpi) == pixels) {
        return units + 1;
    }
    return units;
}

int toUnitsY(int pixels, int dpi)
{
    const int units = pixelsToDialogUnitsY(pixels, dpi);
    if (dialogUnitsToPixelsY(units, dpi) != pixels &&
        dialogUnitsToPixelsY(units + 1, dpi) == pixels) {
        return units + 1;
    }
    return units;
}

void takeCurrentPlace(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    placement.X = toUnitsX(rect.left, placeDpi(window));
    placement.Y = toUnitsY(rect.top, placeDpi(window));
    placement.W = toUnitsX(rect.right - rect.left, sizeDpi(window));
    placement.H = toUnitsY(rect.bottom - rect.top, sizeDpi(window));
}

bool fileOrFolderExists(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

RECT storedRectInPixels(HWND window)
{
    RECT rect{};
    rect.left = dialogUnitsToPixelsX(placement.X, placeDpi(window));
    rect.top = dialogUnitsToPixelsY(placement.Y, placeDpi(window));
    RECT current{};
    GetWindowRect(window, &current);
    const bool resized = initialWidth < placement.W || initialHeight < placement.H;
    rect.right = rect.left + (resized ? dialogUnitsToPixelsX(placement.W, sizeDpi(window))
                                      : current.right - current.left);
    rect.bottom = rect.top + (resized ? dialogUnitsToPixelsY(placement.H, sizeDpi(window))
                                      : current.bottom - current.top);
    return rect;
}

// The stored place, with a larger stored size. A place that is not wholly on the screen any more
// (a monitor unplugged or rearranged, another taskbar) is moved onto it, into the nearest
// monitor's work area, and that is the place kept from then on.
void moveToStoredPlace(HWND window)
{
    const RECT stored = storedRectInPixels(window);
    const RECT shown = whollyOnThisScreen(stored);
    SetWindowPos(window, nullptr, shown.left, shown.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (initialWidth < placement.W || initialHeight < placement.H) {
        SetWindowPos(window, nullptr, 0, 0, dialogUnitsToPixelsX(placement.W, sizeDpi(window)),
                     dialogUnitsToPixelsY(placement.H, sizeDpi(window)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        placement.W = initialWidth;
        placement.H = initialHeight;
    }
    if (shown.left != stored.left || shown.top != stored.top) {
        placement.X = toUnitsX(shown.left, placeDpi(window));
        placement.Y = toUnitsY(shown.top, placeDpi(window));
    }
}

void onInitDialog(HWND window, const std::wstring& file)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    initialWidth = toUnitsX(rect.right - rect.left, sizeDpi(window));
    initialHeight = toUnitsY(rect.bottom - rect.top, sizeDpi(window));

    if (!fileOrFolderExists(file)) {
        takeCurrentPlace(window);
        return;
    }
    if (!readPlacement(file, placement)) {
        return;
    }
    if (placement.X > 0 || placement.Y > 0 || placement.W > 0 || placement.H > 0) {
        moveToStoredPlace(window);
    }
    if (placement.Minimized == 1) {
        minimizedStart = true;
    }
}

}  // namespace

std::wstring windowPositionFile()
{
    std::wstring file = iniPathFor(L"ini");
    // The profile functions take paths of at most MAX_PATH characters; a longer one would be
    // cut into a different file, so the store is skipped instead.
    if (file.empty() || file.size() >= MAX_PATH) {
        return {};
    }
    return file;
}

bool readPlacement(const std::wstring& file, WindowPlacement& target)
{
    bool found = false;
    for (const Key& key : Keys) {
        wchar_t wide[260] = {};
        GetPrivateProfileStringW(Section, key.name, L"", wide, 260, file.c_str());
        // Only digits, signs, points and blanks matter; anything else ends the number anyway.
        std::string text;
        for (const wchar_t* c = wide; *c != L'\0'; ++c) {
            text.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
        }
        if (const std::optional<std::int32_t> value = parseStoredValue(text)) {
            target.*key.field = *value;
            found = true;
        }
    }
    return found;
}

bool writePlacement(const std::wstring& file, const WindowPlacement& source)
{
    bool all = true;
    for (const Key& key : Keys) {
        const std::string text = storedValueText(source.*key.field);
        const std::wstring wide(text.begin(), text.end());
        all = WritePrivateProfileStringW(Section, key.name, wide.c_str(), file.c_str()) && all;
    }
    return all;
}

void windowPositionHook(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        minimizedStart = false;
    }
    const std::wstring file = windowPositionFile();
    if (file.empty()) {
        return;
    }
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(window, file);
        break;
    case WM_EXITSIZEMOVE:
        takeCurrentPlace(window);
        break;
    case WM_SIZE:
        placement.Minimized = static_cast<std::int32_t>(wParam);
        break;
    case WM_SYSCOMMAND:
        // Before the system carries the command out: the last restored place survives a
        // minimise or a close from the system menu, and is not overwritten while minimised.
        if (placement.Minimized == 0) {
            takeCurrentPlace(window);
        }
        break;
    case WM_CLOSE:
        writePlacement(file, placement);
        break;
    case WM_ENDSESSION:
        // Logging off or shutting down with the window open: the program may be ended at any
        // moment after this, and WM_CLOSE never comes.
        if (wParam != FALSE) {
            writePlacement(file, placement);
        }
        break;
    default:
        break;
    }
}

WindowPlacement storedPlacement()
{
    return placement;
}

bool minimizedStartRequested()
{
    return minimizedStart;
}

void resetWindowPosition()
{
    placement = WindowPlacement{};
    minimizedStart = false;
    initialWidth = 0;
    initialHeight = 0;
}

}  // namespace app
