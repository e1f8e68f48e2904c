// Drives a running Lunavista window from another process, for the end-to-end tests.
// Reads one command per line on stdin and answers one line on stdout ("ok ..." or "error ...").
//
//   wait <ms>              wait until the main window exists and is visible
//   gone <ms>              wait until it no longer exists
//   text <id>              text of a control, read as Unicode, in UTF-8 (\t \n \r \\ escaped)
//   accname <id>           a control's accessible name (AccessibleObjectFromWindow, the client
//                          object's name), escaped as text gives it; "error ..." when there is none
//   acc <id>               what a screen reader reads of a control's client object:
//                          role|states|value|default action (role and states by name, the
//                          states joined by "+"; "-" for no value or action)
//   accdo <id>             the control's default action (accDoDefaultAction)
//   hook                   starts counting the WinEvents of the window's controls (out of context)
//   events <ms>            handles messages for that long, then lists the events counted since
//                          the last "events" in order (e.g. "focus@4092 name@4056") and forgets
//                          them
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

// A control's client object as a screen reader gets it (through WM_GETOBJECT, from the program
// or the platform). The interface id comes from the header: liboleacc's IID_IAccessible symbol
// resolves to an import thunk, whose bytes are no interface id.
IAccessible* accessibleOf(HWND control, HRESULT& found)
{
    IAccessible* accessible = nullptr;
    found =
        AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&accessible));
    return SUCCEEDED(found) ? accessible : nullptr;
}

VARIANT self()
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    return child;
}

// A BSTR answer, freed when done with (SysFreeString takes nullptr too).
struct Answer {
    BSTR text = nullptr;
    Answer() = default;
    Answer(const Answer&) = delete;
    Answer& operator=(const Answer&) = delete;
    ~Answer()
    {
        SysFreeString(text);
    }
};

// A text property (name, value, default action): "ok <text>", or "error ..." when there is none
// (a null text with S_OK counts as none).
template <typename Getter>
std::string textProperty(IAccessible* accessible, Getter getter)
{
    Answer answer;
    const HRESULT got = (accessible->*getter)(self(), &answer.text);
    if (got != S_OK || answer.text == nullptr) {
        return "error none " + hresultText(got);
    }
    return "ok " + escapedUtf8(std::wstring(answer.text, SysStringLen(answer.text)));
}

// The name a screen reader gets for a control.
std::string accessibleName(HWND control)
{
    HRESULT found = S_OK;
    IAccessible* accessible = accessibleOf(control, found);
    if (accessible == nullptr) {
        return "error no accessible object " + hresultText(found);
    }
    const std::string name = textProperty(accessible, &IAccessible::get_accName);
    accessible->Release();
    return name;
}

std::string stateNames(long states)
{
    struct Bit {
        long bit;
        const char* name;
    };
    static const Bit bits[] = {
        {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_SELECTED, "selected"},
        {STATE_SYSTEM_FOCUSED, "focused"},         {STATE_SYSTEM_PRESSED, "pressed"},
        {STATE_SYSTEM_READONLY, "readonly"},       {STATE_SYSTEM_HOTTRACKED, "hottracked"},
        {STATE_SYSTEM_INVISIBLE, "invisible"},     {STATE_SYSTEM_OFFSCREEN, "offscreen"},
        {STATE_SYSTEM_FOCUSABLE, "focusable"},     {STATE_SYSTEM_SELECTABLE, "selectable"},
    };
    std::string names;
    long rest = states;
    for (const Bit& bit : bits) {
        if ((states & bit.bit) != 0) {
            names.append(names.empty() ? "" : "+").append(bit.name);
            rest &= ~bit.bit;
        }
    }
    if (rest != 0) {
        names.append(names.empty() ? "" : "+").append(hresultText(rest));
    }
    return names.empty() ? "none" : names;
}

std::string roleName(long role)
{
    switch (role) {
    case ROLE_SYSTEM_CLIENT:
        return "client";
    case ROLE_SYSTEM_STATICTEXT:
        return "statictext";
    case ROLE_SYSTEM_PAGETAB:
        return "pagetab";
    case ROLE_SYSTEM_PUSHBUTTON:
        return "pushbutton";
    case ROLE_SYSTEM_CLOCK:
        return "clock";
    case ROLE_SYSTEM_PROGRESSBAR:
        return "progressbar";
    default:
        return std::to_string(role);
    }
}

// role|states|value|default action of a control's client object.
std::string accessibleInfo(HWND control)
{
    HRESULT found = S_OK;
    IAccessible* accessible = accessibleOf(control, found);
    if (accessible == nullptr) {
        return "error no accessible object " + hresultText(found);
    }
    VARIANT role;
    VARIANT state;
    VariantInit(&role);
    VariantInit(&state);
    const bool known = SUCCEEDED(accessible->get_accRole(self(), &role)) && role.vt == VT_I4 &&
                       SUCCEEDED(accessible->get_accState(self(), &state)) && state.vt == VT_I4;
    const auto orDash = [](const std::string& answer) {
        return answer.rfind("ok ", 0) == 0 ? answer.substr(3) : std::string("-");
    };
    const std::string value = orDash(textProperty(accessible, &IAccessible::get_accValue));
    const std::string action = orDash(textProperty(accessible, &IAccessible::get_accDefaultAction));
    accessible->Release();
    if (!known) {
        return "error no role or state";
    }
    return "ok " + roleName(role.lVal) + "|" + stateNames(state.lVal) + "|" + value + "|" + action;
}

std::string doDefaultAction(HWND control)
{
    HRESULT found = S_OK;
    IAccessible* accessible = accessibleOf(control, found);
    if (accessible == nullptr) {
        return "error no accessible object " + hresultText(found);
    }
    const HRESULT done = accessible->accDoDefaultAction(self());
    accessible->Release();
    return done == S_OK ? "ok" : "error " + hresultText(done);
}

// WinEvents of the controls' client objects, in the order they came.
std::vector<std::string> events;
HWINEVENTHOOK eventHook = nullptr;

void CALLBACK countEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD)
{
    if (object != OBJID_CLIENT || child != CHILDID_SELF || window == nullptr ||
        GetParent(window) != mainWindow) {
        return;
    }
    const char* name = event == EVENT_OBJECT_FOCUS         ? "focus"
                       : event == EVENT_OBJECT_SELECTION   ? "selection"
                       : event == EVENT_OBJECT_NAMECHANGE  ? "name"
                       : event == EVENT_OBJECT_VALUECHANGE ? "value"
                                                           : nullptr;
    if (name != nullptr) {
        events.push_back(
            std::string(name).append("@").append(std::to_string(GetDlgCtrlID(window))));
    }
}

std::string collectEvents(int milliseconds)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    } while (GetTickCount64() < end);
    std::string list;
    for (const std::string& event : events) {
        list.append(list.empty() ? "" : " ").append(event);
    }
    events.clear();
    return "ok " + list;
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
    if (command == "acc" || command == "accdo") {
        int id = 0;
        in >> id;
        HWND control = GetDlgItem(mainWindow, id);
        if (control == nullptr) {
            return "error no control";
        }
        return command == "acc" ? accessibleInfo(control) : doDefaultAction(control);
    }
    if (command == "hook") {
        DWORD pid = 0;
        GetWindowThreadProcessId(mainWindow, &pid);
        if (eventHook != nullptr) {
            UnhookWinEvent(eventHook);
        }
        events.clear();
        eventHook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr,
                                    countEvent, pid, 0, WINEVENT_OUTOFCONTEXT);
        return eventHook != nullptr ? "ok" : "error no hook";
    }
    if (command == "events") {
        int ms = 0;
        in >> ms;
        return collectEvents(ms);
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
    if (eventHook != nullptr) {
        UnhookWinEvent(eventHook);
    }
    CoUninitialize();
    return 0;
}
