// A real top-level window with owner-drawn static children for canvas tests, and pixel snapshots
// of DCs (a canvas's memory DC or a control's screen DC).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/canvas.hpp"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace display::test {

// All pixels of a DC's area as COLORREF values, row by row from the top.
struct Snapshot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool operator==(const Snapshot&) const = default;
};

// Copies the area through a 32-bit top-down DIB section: the copy is independent of the source
// bitmap's format and never needs the source deselected.
inline Snapshot snapshotOf(HDC source, int width, int height)
{
    Snapshot shot{width, height, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    if (section == nullptr || memory == nullptr) {
        if (section != nullptr)
            DeleteObject(section);
        if (memory != nullptr)
            DeleteDC(memory);
        throw std::runtime_error("no DIB section for a snapshot");
    }
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const std::uint32_t*>(bits);
    shot.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < shot.pixels.size(); ++i) {
        const std::uint32_t quad = quads[i];  // 0x00RRGGBB
        shot.pixels[i] = RGB((quad >> 16) & 0xFF, (quad >> 8) & 0xFF, quad & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(section);
    return shot;
}

inline Snapshot snapshotOf(const Canvas& canvas)
{
    return snapshotOf(canvas.dc(), canvas.width(), canvas.height());
}

// What the control shows on the screen.
inline Snapshot screenSnapshotOf(HWND control)
{
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    Snapshot shot = snapshotOf(dc, client.right, client.bottom);
    ReleaseDC(control, dc);
    return shot;
}

// Number of pixels of one colour.
inline int countColor(const Snapshot& shot, COLORREF color)
{
    int count = 0;
    for (COLORREF pixel : shot.pixels)
        if (pixel == color)
            ++count;
    return count;
}

struct TestControl {
    int id;
    int x;
    int y;
    int width;  // client size in pixels (the static has no border)
    int height;
};

// A visible popup window whose procedure answers WM_DRAWITEM with paintCanvasItem, holding one
// SS_OWNERDRAW static per control (without canvases: tests create them).
class TestWindow {
public:
    explicit TestWindow(std::vector<TestControl> controls)
    {
        registerClass();
        int right = 0;
        int bottom = 0;
        for (const TestControl& control : controls) {
            right = std::max(right, control.x + control.width);
            bottom = std::max(bottom, control.y + control.height);
        }
        window_ = CreateWindowExA(0, ClassName, "Canvas test", WS_POPUP | WS_VISIBLE, 0, 0, right,
                                  bottom, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window_ == nullptr)
            throw std::runtime_error("no test window");
        for (const TestControl& placed : controls) {
            HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                                           placed.x, placed.y, placed.width, placed.height, window_,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(placed.id)),
                                           GetModuleHandleA(nullptr), nullptr);
            if (control == nullptr)
                throw std::runtime_error("no test control");
        }
        UpdateWindow(window_);
        pumpMessages();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow()
    {
        if (window_ != nullptr)
            DestroyWindow(window_);
        pumpMessages();
    }

    HWND window() const
    {
        return window_;
    }
    HWND control(int id) const
    {
        return GetDlgItem(window_, id);
    }

    // WM_DRAWITEM messages the window has received from its controls so far.
    static int drawItemCount()
    {
        return drawItems();
    }

    static void pumpMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

private:
    static constexpr const char* ClassName = "LunavistaCanvasTestWindow";

    static int& drawItems()
    {
        static int count = 0;
        return count;
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DRAWITEM) {
            ++drawItems();
            paintCanvasItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static void registerClass()
    {
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = procedure;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            windowClass.lpszClassName = ClassName;
            return RegisterClassA(&windowClass) != 0;
        }();
        if (!registered)
            throw std::runtime_error("test window class not registered");
    }

    HWND window_ = nullptr;
};

inline constexpr COLORREF White = RGB(255, 255, 255);
inline constexpr COLORREF Black = RGB(0, 0, 0);
inline constexpr COLORREF Red = RGB(255, 0, 0);
inline constexpr COLORREF Blue = RGB(0, 0, 255);
inline constexpr COLORREF Yellow = RGB(255, 255, 0);

}  // namespace display::test
