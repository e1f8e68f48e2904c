// Lunavista: where the Moon stands in its cycle now, and when the coming phases and eclipses are.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

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

// COM on the user-interface thread, for the whole run: a single-threaded apartment, without the
// OLE 1 DDE window, as the shell asks of a caller of ShellExecute (some link handlers do nothing
// otherwise), and what hands the controls' accessible objects to a screen reader.
class ComApartment {
public:
    ComApartment()
        : initialised_(
              SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (initialised_) {
            CoUninitialize();
        }
    }

private:
    bool initialised_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const ComApartment com;
    initCommonControls();
    app::createMainWindow();
    return 0;
}
