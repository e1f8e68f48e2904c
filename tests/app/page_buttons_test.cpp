#include "tests/app/app_fixture.hpp"

#include "app/page_buttons.hpp"
#include "astro/time_scale.hpp"
#include "display/palette.hpp"
#include "events/current_phase.hpp"
#include "events/event_sets.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace app {
namespace {

using test::AppTest;
using test::fakeNow;
using test::reading;

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF PointerRed = RGB(192, 0, 0);

class PageButtonsTest : public AppTest {
protected:
    LPARAM centreOf(int id)
    {
        const ControlPlace place = controlPlace(window, id);
        return MAKELPARAM(place.left + place.width / 2, place.top + place.height / 2);
    }
    int pixelsOf(int id, COLORREF colour)
    {
        return display::test::countColor(picture(id), colour);
    }
    void click(int id)
    {
        post(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(id));
        post(WM_LBUTTONUP, 0, centreOf(id));
    }
    std::vector<int> selectedFlags()
    {
        const PageButtonState s = pageButtonState();
        return {s.selected[0], s.selected[1], s.selected[2], s.selected[3]};
    }
};

TEST_F(PageButtonsTest, StartOpensThePhaseDiagramWithItsButtonSelected)
{
    start();
    EXPECT_EQ(currentPage(), 1);
    EXPECT_EQ(pageButtonState().buttonSelection, 1);
    EXPECT_EQ(selectedFlags(), (std::vector<int>{1, 0, 0, 0}));
    // The selected caption is drawn in its blue-grey, the others in black.
    EXPECT_GT(pixelsOf(IdButtonPhases, ButtonSelected), 10);
    EXPECT_EQ(pixelsOf(IdButtonPhases, Black), 0);
    for (int id : {IdButtonData, IdButtonSource, IdButtonExit}) {
        EXPECT_GT(pixelsOf(id, Black), 10) << id;
        EXPECT_EQ(pixelsOf(id, ButtonSelected), 0) << id;
        EXPECT_EQ(pixelsOf(id, display::Blue), 0) << id;
    }
}

TEST_F(PageButtonsTest, ClickOpensThePageOfTheButton)
{
    start();
    struct Case {
        int id;
        int page;
        std::vector<int> selected;
    };
    const Case cases[] = {
        {IdButtonData, 2, {0, 1, 0, 0}},
        {IdButtonSource, 3, {0, 0, 1, 0}},
        {IdButtonPhases, 1, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        click(c.id);
        EXPECT_EQ(currentPage(), c.page) << c.id;
        EXPECT_EQ(selectedFlags(), c.selected) << c.id;
        EXPECT_GT(pixelsOf(c.id, ButtonSelected) + pixelsOf(c.id, display::Blue), 10) << c.id;
    }
}

TEST_F(PageButtonsTest, ReleaseOnTheRightOrBottomEdgeCountsOnePixelFurtherDoesNot)
{
    start();
    const ControlPlace data = controlPlace(window, IdButtonData);
    post(WM_LBUTTONUP, 0, MAKELPARAM(data.left + data.width + 1, data.top + data.height));
    EXPECT_EQ(currentPage(), 1);
    post(WM_LBUTTONUP, 0, MAKELPARAM(data.left + data.width, data.top + data.height));
    EXPECT_EQ(currentPage(), 2);
    post(WM_LBUTTONUP, 0, MAKELPARAM(data.left - 1, data.top));
    EXPECT_EQ(currentPage(), 2);
}

TEST_F(PageButtonsTest, PressOnOneButtonAndReleaseOnAnotherActivatesTheSecond)
{
    start();
    post(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(IdButtonData));
    post(WM_LBUTTONUP, 0, centreOf(IdButtonSource));
    EXPECT_EQ(currentPage(), 3);
}

TEST_F(PageButtonsTest, UpAndDownMoveAmongThePageButtonsAndStopAtTheEnds)
{
    start();
    const struct {
        WORD key;
        int page;
    } steps[] = {
        {VK_UP, 1}, {VK_DOWN, 2}, {VK_DOWN, 3}, {VK_DOWN, 3}, {VK_UP, 2}, {VK_UP, 1}, {VK_UP, 1},
    };
    for (const auto& step : steps) {
        key(step.key);
        EXPECT_EQ(currentPage(), step.page);
        EXPECT_EQ(pageButtonState().buttonSelection, step.page);
        EXPECT_TRUE(IsWindow(window));
    }
}

TEST_F(PageButtonsTest, TabShowsTheExitSelectedAndTabAgainReturns)
{
    start();
    key(VK_DOWN);
    ASSERT_EQ(currentPage(), 2);
    key(VK_TAB);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(currentPage(), 2);
    EXPECT_EQ(selectedFlags(), (std::vector<int>{0, 0, 0, 1}));
    key(VK_DOWN);  // Down never reaches or leaves the exit button
    EXPECT_EQ(pageButtonState().buttonSelection, 4);
    key(VK_TAB);
    EXPECT_EQ(currentPage(), 2);
    EXPECT_EQ(selectedFlags(), (std::vector<int>{0, 1, 0, 0}));
}

TEST_F(PageButtonsTest, UpFromTheExitGoesToTheThirdPageButton)
{
    start();
    key(VK_TAB);
    key(VK_UP);
    EXPECT_EQ(currentPage(), 3);
    EXPECT_EQ(pageButtonState().buttonNavMode, NavMode::Normal);
}

TEST_F(PageButtonsTest, EnterOnAPageButtonOpensTheSourcePage)
{
    start();
    key(VK_DOWN);
    key(VK_RETURN);
    EXPECT_EQ(currentPage(), 3);
    EXPECT_EQ(selectedFlags(), (std::vector<int>{0, 0, 1, 0}));
}

TEST_F(PageButtonsTest, EnterOnTheExitEndsTheProgram)
{
    start();
    key(VK_TAB);
    ASSERT_TRUE(IsWindow(window));
    key(VK_RETURN);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(PageButtonsTest, ClickOnTheExitEndsTheProgram)
{
    start();
    click(IdButtonExit);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(PageButtonsTest, TheMouseRaisesAButtonAndMovingOnLowersIt)
{
    start();
    post(WM_MOUSEMOVE, 0, centreOf(IdButtonData));
    EXPECT_GT(pixelsOf(IdButtonData, display::Blue), 10);
    EXPECT_EQ(pageButtonState().hover[1], 1);
    // Straight onto the next button: the first goes back to black, the second rises.
    post(WM_MOUSEMOVE, 0, centreOf(IdButtonSource));
    EXPECT_EQ(pixelsOf(IdButtonData, display::Blue), 0);
    EXPECT_GT(pixelsOf(IdButtonData, Black), 10);
    EXPECT_GT(pixelsOf(IdButtonSource, display::Blue), 10);
    post(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(pixelsOf(IdButtonSource, display::Blue), 0);
    // The selected button comes back in its own colour.
    post(WM_MOUSEMOVE, 0, centreOf(IdButtonPhases));
    post(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_GT(pixelsOf(IdButtonPhases, ButtonSelected), 10);
}

TEST_F(PageButtonsTest, PageCommandsAndTheirAliases)
{
    start();
    const struct {
        int command;
        int source;
        int page;
    } cases[] = {
        {CmdDataAlias, 0, 2}, {CmdSourceAlias, 1, 3}, {CmdPhasesAlias, 0, 1},
        {IdButtonData, 1, 2}, {IdButtonSource, 2, 2}, {CmdPhasesAlias, 0x100, 2},
    };
    for (const auto& c : cases) {
        command(c.command, c.source);
        EXPECT_EQ(currentPage(), c.page) << c.command << " " << c.source;
    }
}

TEST_F(PageButtonsTest, ChoosingTheShownPageDrawsItAgainFromScratch)
{
    start();
    command(IdButtonData);
    const display::test::Snapshot page = picture(IdDrawingArea);
    display::attachCanvas(window, IdDrawingArea, false).box(100, 100, 200, 150, 0, RGB(255, 0, 0));
    ASSERT_NE(picture(IdDrawingArea), page);
    command(IdButtonData);
    EXPECT_EQ(picture(IdDrawingArea), page);
}

std::vector<unsigned char> fileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(PageButtonsTest, SnapshotWritesTheShownPageBesideTheProgram)
{
    for (int page = 1; page <= 3; ++page) {
        DeleteFileW(snapshotPath(page).c_str());
    }
    // Before the first page command nothing is written.
    initialise();
    onPageCommand(window, CmdSaveBitmap, 1);
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(GetFileAttributesW(snapshotPath(page).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    start();
    for (int page : {1, 2, 3}) {
        command(IdButtonPhases + page - 1);
        command(CmdSaveBitmap, 1);
        const std::vector<unsigned char> bytes = fileBytes(snapshotPath(page));
        ASSERT_EQ(bytes.size(), 54u + 1568u * 400u) << page;  // 522 x 400, rows of 1568 bytes
        // The top-left pixel is the last row of the file: the page ground.
        const std::size_t topLeft = 54 + 1568u * 399u;
        const COLORREF ground = picture(IdDrawingArea).at(0, 0);
        EXPECT_EQ(RGB(bytes[topLeft + 2], bytes[topLeft + 1], bytes[topLeft]), ground) << page;
    }
    // A second press replaces the file.
    display::attachCanvas(window, IdDrawingArea, false).clear(RGB(1, 2, 3));
    command(CmdSaveBitmap, 0);
    const std::vector<unsigned char> again = fileBytes(snapshotPath(3));
    ASSERT_EQ(again.size(), 54u + 1568u * 400u);
    EXPECT_EQ(again[54], 3);
    EXPECT_EQ(again[55], 2);
    EXPECT_EQ(again[56], 1);
    for (int page = 1; page <= 3; ++page) {
        DeleteFileW(snapshotPath(page).c_str());
    }
}

TEST_F(PageButtonsTest, ListTimerRedrawsTheListOfPagesTwoAndThreeOnly)
{
    start();
    // Page 1: nothing changes.
    const display::test::Snapshot diagram = picture(IdDrawingArea);
    post(WM_TIMER, ListTimer, 0);
    EXPECT_EQ(picture(IdDrawingArea), diagram);

    for (int id : {IdButtonData, IdButtonSource}) {
        command(id);
        display::Canvas& canvas = display::attachCanvas(window, IdDrawingArea, false);
        const COLORREF listInside = canvas.getPixel(400, 60);    // inside the white list box
        const COLORREF blockInside = canvas.getPixel(100, 380);  // inside the information block
        canvas.setPixel(400, 60, RGB(255, 0, 0));
        canvas.setPixel(100, 380, RGB(255, 0, 0));
        post(WM_TIMER, ListTimer, 0);
        EXPECT_EQ(canvas.getPixel(400, 60), listInside) << "the list is drawn again";
        EXPECT_EQ(canvas.getPixel(100, 380), RGB(255, 0, 0)) << "the block below stays";
        EXPECT_NE(blockInside, RGB(255, 0, 0));
    }
}

TEST_F(PageButtonsTest, RefreshOnThePhasePagePointsAtTheMoon)
{
    start();
    for (const astro::SystemTime& t : {reading(2025, 3, 5, 14, 7, 9), reading(2025, 3, 20, 3, 0, 0),
                                       reading(2025, 3, 14, 7, 0, 0)}) {
        fakeNow() = t;
        command(IdButtonPhases);
        const events::PhaseSet next = events::nextPhasesFromTomorrow(t);
        const double percent =
            events::illuminatedFraction(astro::addTimeOfDay(astro::julianDayOf(t), -1, 0, 0));
        int expected = events::pointerPositionFromFraction(percent, next[events::Phase::NewMoon],
                                                           next[events::Phase::FullMoon], 128);
        if (expected >= 128) {
            expected = 0;
        }
        EXPECT_EQ(pointerPosition(), expected) << t.wDay;
        EXPECT_GT(display::test::countColor(picture(IdDrawingArea), PointerRed), 50) << t.wDay;
        // Other pages never show the pointer.
        command(IdButtonData);
        EXPECT_EQ(display::test::countColor(picture(IdDrawingArea), PointerRed), 0);
    }
}

}  // namespace
}  // namespace app
