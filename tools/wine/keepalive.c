/* Keeps a Wine session's desktop and helper processes alive between test programs: a
 * message-only window that waits for WM_CLOSE (or for wineserver -k). */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

static LRESULT CALLBACK keepaliveProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = keepaliveProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "LunavistaTestKeepalive";
    RegisterClassA(&windowClass);
    CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, instance,
                    NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
