// Lunavista: where the Moon stands in its cycle now, and when the coming phases and eclipses are.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.hpp"

namespace {

// The common controls are initialised through a run-time look-up, so the program starts even
// where the library lacks InitCommonControlsEx (or is missing altogether).
void initCommonControls()
{
    HMODULE library = LoadLibraryA("COMCTL32.DLL");
    if (library == nullptr) {
        return;
    }
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto initEx = reinterpret_cast<InitEx>(
        reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    if (initEx != nullptr) {
        INITCOMMONCONTROLSEX init{};
        init.dwSize = 8;
        init.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
        initEx(&init);
    } else {
        InitCommonControls();
    }
    FreeLibrary(library);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    initCommonControls();
    app::createMainWindow();
    return 0;
}
