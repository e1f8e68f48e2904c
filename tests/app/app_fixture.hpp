// A main window built in the test process, driven through its handler with a simulated clock.
#pragma once

#include "app/control_ids.hpp"
#include "app/link_handler.hpp"
#include "app/main_dialog.hpp"
#include "app/main_window.hpp"
#include "app/page_layer.hpp"
#include "app/window_position.hpp"
#include "astro/system_time.hpp"
#include "display/canvas.hpp"
#include "display/info_blocks.hpp"
#include "display/pointer.hpp"
#include "tests/display/canvas_test_support.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace app::test {

inline astro::SystemTime& fakeNow()
{
    static astro::SystemTime now;
    return now;
}

inline astro::SystemTime readFakeClock()
{
    return fakeNow();
}

inline astro::SystemTime reading(int year, int month, int day, int hour, int minute, int second)
{
    return astro::wallClockReading(year, month, day, hour, minute, second);
}

inline std::string textOf(HWND window, int id)
{
    char text[256] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousClock = astro::setLocalClockSource(readFakeClock);
        fakeNow() = reading(2025, 3, 5, 14, 7, 9);
        resetPageState();
        resetWindowPosition();
        resetLinks();
        display::resetLinkAreas();
        display::resetPhasePointer();
        // The real mouse pointer stays off the window, where it would raise buttons and links.
        SetCursorPos(0, 0);
        // The window-position file of the test program must not move the window.
        DeleteFileW(windowPositionFile().c_str());
        window = buildMainWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        pump();
        releaseAccelerators();
        releaseMainWindowResources();
        DeleteFileW(windowPositionFile().c_str());
        astro::setLocalClockSource(previousClock);
    }

    // WM_INITDIALOG only, without attaching the handler to the window.
    void initialise()
    {
        mainDialogCallback(window, WM_INITDIALOG, 0, 0);
    }

    // The start of the modal loop, then every queued message as the loop would handle it.
    void start()
    {
        beginModalLoop(window);
        pump();
    }

    void pump()
    {
        for (int i = 0; i < 10000 && pumpOneMessage(window); ++i) {
        }
    }

    // A message as the loop would get it from the queue.
    void post(UINT message, WPARAM wParam, LPARAM lParam)
    {
        PostMessageA(window, message, wParam, lParam);
        pump();
    }

    void key(WORD virtualKey)
    {
        post(WM_KEYDOWN, virtualKey, 1);
        post(WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
    }

    void command(int id, int source = 0)
    {
        post(WM_COMMAND, MAKEWPARAM(id, source), 0);
    }

    display::test::Snapshot picture(int id)
    {
        return display::test::snapshotOf(display::attachCanvas(window, id, true));
    }

    HWND window = nullptr;
    astro::LocalClockSource previousClock = nullptr;
};

}  // namespace app::test
