// Times the whole once-a-second refresh of the main window, drawing included, where Google
// Benchmark is not at hand (the Windows build, run under Wine or on Windows): the window is built
// and started as the program does it, its own timers are stopped, and the refresh, the clock tick
// and the list timer are called on each page with a clock reading that advances one second per
// call, timed with QueryPerformanceCounter.
//
//   refresh_timing [calls per measurement, default 2000]
//
// "refresh" is app::refreshDisplay alone (its canvases repaint at once); "with paints" adds the
// label repaints that the message loop then does for the texts the refresh wrote.
#include "app/control_ids.hpp"
#include "app/main_dialog.hpp"
#include "app/main_window.hpp"
#include "app/page_layer.hpp"
#include "astro/system_time.hpp"
#include "astro/time_scale.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

astro::SystemTime clockReading;

astro::SystemTime readSimulatedClock()
{
    return clockReading;
}

void advanceClock()
{
    astro::ticksToSystemTime(astro::systemTimeToTicks(clockReading) + 10000000, clockReading);
}

void pump(HWND window)
{
    for (int i = 0; i < 10000 && app::pumpOneMessage(window); ++i) {
    }
}

double ticksPerMicrosecond()
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1e6;
}

std::int64_t now()
{
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

void report(const char* what, int page, std::vector<double> microseconds)
{
    std::sort(microseconds.begin(), microseconds.end());
    double sum = 0;
    for (double value : microseconds) {
        sum += value;
    }
    const std::size_t n = microseconds.size();
    std::printf(
        "%-22s page %d: median %8.1f us  mean %8.1f us  p90 %8.1f us  min %8.1f us  "
        "(%zu calls)\n",
        what, page, microseconds[n / 2], sum / static_cast<double>(n), microseconds[n * 9 / 10],
        microseconds.front(), n);
}

// Times `work` over `calls` calls; `paint` also pumps the paints it leaves behind into the time.
template <typename Work>
std::vector<double> timeCalls(HWND window, int calls, bool paint, Work work)
{
    const double perMicrosecond = ticksPerMicrosecond();
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(calls));
    for (int i = 0; i < calls; ++i) {
        advanceClock();
        const std::int64_t start = now();
        work();
        if (paint) {
            pump(window);
        }
        const std::int64_t end = now();
        if (!paint) {
            pump(window);
        }
        times.push_back(static_cast<double>(end - start) / perMicrosecond);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    const int calls = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    clockReading = {2026, 12, 0, 7, 12, 0, 0, 0};
    astro::setLocalClockSource(readSimulatedClock);

    HWND window = app::buildMainWindow();
    app::beginModalLoop(window);
    pump(window);
    KillTimer(window, app::ClockTimer);
    KillTimer(window, app::RefreshTimer);
    KillTimer(window, app::ListTimer);

    constexpr int PageCommands[] = {app::IdButtonPhases, app::IdButtonData, app::IdButtonSource};
    for (int page = 1; page <= 3; ++page) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(PageCommands[page - 1], 0), 0);
        pump(window);
        if (app::currentPage() != page) {
            std::fprintf(stderr, "page %d did not open\n", page);
            return 1;
        }
        timeCalls(window, calls / 10, true, [&] { app::refreshDisplay(window); });  // warm-up
        report("refresh", page,
               timeCalls(window, calls, false, [&] { app::refreshDisplay(window); }));
        report("refresh, with paints", page,
               timeCalls(window, calls, true, [&] { app::refreshDisplay(window); }));
        report("clock tick", page, timeCalls(window, calls, true, [&] {
                   SendMessageA(window, WM_TIMER, app::ClockTimer, 0);
               }));
        if (page > 1) {
            report("list timer", page, timeCalls(window, std::max(10, calls / 10), true, [&] {
                       SendMessageA(window, WM_TIMER, app::ListTimer, 0);
                   }));
        }
    }

    // Destroyed without WM_CLOSE, so no window position is written beside the program.
    DestroyWindow(window);
    pump(window);
    app::releaseAccelerators();
    app::releaseMainWindowResources();
    return 0;
}
