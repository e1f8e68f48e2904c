// Drives a running Lunavista window from another process, for the end-to-end tests.
// Reads one command per line on stdin and answers one line on stdout ("ok ..." or "error ...").
//
//   wait <ms>              wait until the main window exists and is visible
//   gone <ms>              wait until it no longer exists
//   text <id>              text of a control, read as Unicode, in UTF-8 (\t \n \r \\ escaped)
//   accname <id>           a control's accessible name (AccessibleObjectFromWindow, the client
//                          object's name), escaped as text gives it; "error ..." when there is none
//   client                 client width and height in pixels
//   window                 window rectangle on the screen (left top right bottom)
//   rect <id>              a control's window rectangle in client coordinates
//   visible <id>           1 if the control is visible
//   style <id>             the control's style and extended style (hex)
//   command <id> [high]    posts WM_COMMAND (high word default 0)
//   message <msg> <w> <l>  posts a message to the window
//   syscommand close|minimize|restore   posts WM_SYSCOMMAND
//   key <keys>             SendInput to the window: e.g. ctrl+f2, tab, enter, up, down, escape
//   move <x> <y>           moves the mouse to a client point
//   click <x> <y>          left click (press and release) at a client point
//   press <x> <y> / release <x> <y>   left button down or up at a client point
//   pixel <x> <y>          colour of a client pixel as r g b
//   count <x1> <y1> <x2> <y2> <r> <g> <b>   pixels of that colour in [x1, x2) x [y1, y2)
//   iconic                 1 if the window is minimised
//   moveto <x> <y>         moves the window as a user's drag would end (then WM_EXITSIZEMOVE)
//   focus <id>             gives the control the keyboard focus (through the window's thread)
//   pid                    process id of the window's process
//   quit
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

HWND mainWindow = nullptr;

HWND findMainWindow()
{
    HWND window = FindWindowA("#32770", " Lunavista");
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

void answer(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// UTF-8 of a control's Unicode text, on one line: tab, line feed, carriage return and the
// backslash are written as \t, \n, \r and \\.
std::string escapedUtf8(const std::wstring& wide)
{
    if (wide.empty()) {
        return {};
    }
    const int wideLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    std::string out;
    for (const char c : utf8) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string hresultText(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(result));
    return text;
}

// The name a screen reader gets for a control: the platform's accessible object of its client
// area, asked for the object itself. The interface id comes from the header: liboleacc's
// IID_IAccessible symbol resolves to an import thunk, whose bytes are no interface id.
std::string accessibleName(HWND control)
{
    IAccessible* accessible = nullptr;
    const HRESULT found =
        AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&accessible));
    if (FAILED(found) || accessible == nullptr) {
        return "error no accessible object " + hresultText(found);
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT named = accessible->get_accName(self, &name);
    accessible->Release();
    if (FAILED(named)) {
        return "error no accessible name " + hresultText(named);
    }
    const std::wstring text = name != nullptr ? std::wstring(name, SysStringLen(name)) : L"";
    SysFreeString(name);
    return "ok " + escapedUtf8(text);
}

bool waitFor(bool present, int milliseconds)
{
    for (int waited = 0; waited <= milliseconds; waited += 20) {
        HWND window = findMainWindow();
        if (present && window != nullptr) {
            mainWindow = window;
            return true;
        }
        if (!present && (mainWindow == nullptr || !IsWindow(mainWindow))) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

POINT toScreen(int x, int y)
{
    POINT point{x, y};
    ClientToScreen(mainWindow, &point);
    return point;
}

void sendMouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void moveMouse(int x, int y)
{
    const POINT point = toScreen(x, y);
    SetCursorPos(point.x, point.y);
    // An absolute move through the input queue too, so a WM_MOUSEMOVE is generated.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

WORD virtualKey(const std::string& name)
{
    struct Key {
        const char* name;
        WORD key;
    };
    static const Key keys[] = {
        {"f2", VK_F2},     {"tab", VK_TAB},       {"enter", VK_RETURN}, {"up", VK_UP},
        {"down", VK_DOWN}, {"escape", VK_ESCAPE}, {"f4", VK_F4},        {"space", VK_SPACE},
        {"left", VK_LEFT}, {"right", VK_RIGHT},
    };
    for (const Key& key : keys) {
        if (name == key.name) {
            return key.key;
        }
    }
    return 0;
}

bool sendKeys(const std::string& chord)
{
    std::vector<WORD> modifiers;
    std::string rest = chord;
    for (;;) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string::npos) {
            break;
        }
        const std::string modifier = rest.substr(0, plus);
        rest = rest.substr(plus + 1);
        if (modifier == "ctrl") {
            modifiers.push_back(VK_CONTROL);
        } else if (modifier == "alt") {
            modifiers.push_back(VK_MENU);
        } else if (modifier == "shift") {
            modifiers.push_back(VK_SHIFT);
        } else {
            return false;
        }
    }
    const WORD key = virtualKey(rest);
    if (key == 0) {
        return false;
    }
    SetForegroundWindow(mainWindow);
    std::vector<INPUT> inputs;
    auto push = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers) {
        push(modifier, false);
    }
    push(key, false);
    push(key, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
        push(*it, true);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return true;
}

// Pixels of one colour in a client rectangle, read through a 32-bit DIB section.
int countColour(int x, int y, int width, int height, COLORREF colour)
{
    HDC window = GetDC(mainWindow);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(window);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, window, x, y, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const unsigned*>(bits);
    const unsigned wanted = (static_cast<unsigned>(GetRValue(colour)) << 16) |
                            (static_cast<unsigned>(GetGValue(colour)) << 8) | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < width * height; ++i) {
        count += (quads[i] & 0xFFFFFFu) == wanted;
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(section);
    ReleaseDC(mainWindow, window);
    return count;
}

std::string handle(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command == "wait" || command == "gone") {
        int ms = 5000;
        in >> ms;
        return waitFor(command == "wait", ms) ? "ok" : "error timeout";
    }
    if (command == "quit") {
        return "ok";
    }
    if (mainWindow == nullptr || !IsWindow(mainWindow)) {
        mainWindow = findMainWindow();
        if (mainWindow == nullptr) {
            return "error no window";
        }
    }
    if (command == "text") {
        int id = 0;
        in >> id;
        // Read as Unicode: an ANSI read would go through this process's code page.
        std::wstring text(8192, L'\0');
        const UINT length =
            GetDlgItemTextW(mainWindow, id, text.data(), static_cast<int>(text.size()));
        text.resize(length);
        return "ok " + escapedUtf8(text);
    }
    if (command == "accname") {
        int id = 0;
        in >> id;
        HWND control = GetDlgItem(mainWindow, id);
        if (control == nullptr) {
            return "error no control";
        }
        return accessibleName(control);
    }
    if (command == "client") {
        RECT rect{};
        GetClientRect(mainWindow, &rect);
        return "ok " + std::to_string(rect.right) + " " + std::to_string(rect.bottom);
    }
    if (command == "window") {
        RECT rect{};
        GetWindowRect(mainWindow, &rect);
        return "ok " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
               std::to_string(rect.right) + " " + std::to_string(rect.bottom);
    }
    if (command == "rect" || command == "visible" || command == "style" || command == "focus") {
        int id = 0;
        in >> id;
        HWND control = GetDlgItem(mainWindow, id);
        if (control == nullptr) {
            return "error no control";
        }
        if (command == "visible") {
            return IsWindowVisible(control) ? "ok 1" : "ok 0";
        }
        if (command == "style") {
            char text[64];
            std::snprintf(text, sizeof text, "ok %08lx %08lx",
                          static_cast<unsigned long>(GetWindowLongA(control, GWL_STYLE)),
                          static_cast<unsigned long>(GetWindowLongA(control, GWL_EXSTYLE)));
            return text;
        }
        if (command == "focus") {
            const DWORD thread = GetWindowThreadProcessId(mainWindow, nullptr);
            AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
            SetFocus(control);
            AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
            return "ok";
        }
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&rect), 2);
        return "ok " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
               std::to_string(rect.right) + " " + std::to_string(rect.bottom);
    }
    if (command == "command") {
        int id = 0;
        int high = 0;
        in >> id >> high;
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, high), 0);
        return "ok";
    }
    if (command == "message") {
        unsigned message = 0;
        long long wParam = 0;
        long long lParam = 0;
        in >> message >> wParam >> lParam;
        PostMessageA(mainWindow, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
        return "ok";
    }
    if (command == "syscommand") {
        std::string what;
        in >> what;
        const WPARAM code = what == "close"      ? SC_CLOSE
                            : what == "minimize" ? SC_MINIMIZE
                            : what == "restore"  ? SC_RESTORE
                                                 : 0;
        if (code == 0) {
            return "error unknown system command";
        }
        PostMessageA(mainWindow, WM_SYSCOMMAND, code, 0);
        return "ok";
    }
    if (command == "key") {
        std::string keys;
        in >> keys;
        return sendKeys(keys) ? "ok" : "error unknown key";
    }
    if (command == "move" || command == "click" || command == "press" || command == "release") {
        int x = 0;
        int y = 0;
        in >> x >> y;
        moveMouse(x, y);
        if (command == "click" || command == "press") {
            sendMouse(MOUSEEVENTF_LEFTDOWN);
        }
        if (command == "click" || command == "release") {
            sendMouse(MOUSEEVENTF_LEFTUP);
        }
        return "ok";
    }
    if (command == "pixel") {
        int x = 0;
        int y = 0;
        in >> x >> y;
        HDC dc = GetDC(mainWindow);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(mainWindow, dc);
        return "ok " + std::to_string(GetRValue(colour)) + " " + std::to_string(GetGValue(colour)) +
               " " + std::to_string(GetBValue(colour));
    }
    if (command == "count") {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0, g = 0, b = 0;
        in >> x1 >> y1 >> x2 >> y2 >> r >> g >> b;
        const int width = x2 - x1;
        const int height = y2 - y1;
        if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
            return "error bad rectangle";
        }
        return "ok " + std::to_string(countColour(x1, y1, width, height, RGB(r, g, b)));
    }
    if (command == "moveto") {
        int x = 0;
        int y = 0;
        in >> x >> y;
        SetWindowPos(mainWindow, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageA(mainWindow, WM_EXITSIZEMOVE, 0, 0);
        return "ok";
    }
    if (command == "iconic") {
        return IsIconic(mainWindow) ? "ok 1" : "ok 0";
    }
    if (command == "pid") {
        DWORD pid = 0;
        GetWindowThreadProcessId(mainWindow, &pid);
        return "ok " + std::to_string(pid);
    }
    return "error unknown command";
}

}  // namespace

int main()
{
    // The accessible objects are COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        answer(handle(line));
        if (line == "quit") {
            break;
        }
    }
    CoUninitialize();
    return 0;
}
