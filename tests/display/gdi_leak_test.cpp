// GDI handles: the owners release what they hold, the select guard puts back what it displaced,
// and long runs of drawing leave the process with exactly the handles it had.
#include "display/canvas.hpp"
#include "display/gdi_owner.hpp"

#include "tests/display/canvas_test_support.hpp"
#include "tests/display/gdi_count.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace display::test {
namespace {

TEST(GdiCount, SeesEveryHandleTheProcessCreatesAndDeletes)
{
    const long before = gdiHandlesInUse();
    ASSERT_GT(before, 0);  // at least the stock objects
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 50; ++i)
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(gdiHandlesInUse() - before, 50);
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    EXPECT_EQ(gdiHandlesInUse(), before);
}

TEST(GdiOwner, OwnersReleaseOnceAndMoveTheirHandle)
{
    // Wine sets up objects of its own the first time a process makes a DC, pen or brush; they
    // must not count as ours.
    DeleteDC(CreateCompatibleDC(nullptr));
    DeleteObject(CreateSolidBrush(RGB(9, 9, 9)));
    DeleteObject(CreatePen(PS_SOLID, 1, RGB(9, 9, 9)));
    const long owned = gdiObjectsAlive();
    const long table = gdiHandlesInUse();
    {
        BrushOwner brush(CreateSolidBrush(RGB(1, 2, 3)));
        PenOwner pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        DcOwner dc(CreateCompatibleDC(nullptr));
        EXPECT_EQ(gdiObjectsAlive() - owned, 3);
        EXPECT_EQ(gdiHandlesInUse() - table, 3);

        BrushOwner moved(std::move(brush));
        EXPECT_FALSE(brush);  // NOLINT(bugprone-use-after-move): moved-from is empty by contract
        EXPECT_TRUE(moved);
        EXPECT_EQ(gdiObjectsAlive() - owned, 3);

        BrushOwner other(CreateSolidBrush(RGB(4, 5, 6)));
        other = std::move(moved);  // the brush it held is deleted here
        EXPECT_EQ(gdiObjectsAlive() - owned, 3);
        EXPECT_EQ(gdiHandlesInUse() - table, 3);

        pen.reset();
        pen.reset();
        EXPECT_EQ(gdiObjectsAlive() - owned, 2);
        EXPECT_EQ(gdiHandlesInUse() - table, 2);

        BrushOwner none(nullptr);  // a failed creation owns nothing
        EXPECT_EQ(gdiObjectsAlive() - owned, 2);
    }
    EXPECT_EQ(gdiObjectsAlive(), owned);
    EXPECT_EQ(gdiHandlesInUse(), table);
}

TEST(SelectGuard, PutsBackTheObjectItDisplaced)
{
    DcOwner dc(CreateCompatibleDC(nullptr));
    BrushOwner first(CreateSolidBrush(RGB(10, 0, 0)));
    BrushOwner second(CreateSolidBrush(RGB(20, 0, 0)));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    {
        SelectGuard outer(dc.get(), first.get());
        EXPECT_TRUE(outer.active());
        EXPECT_EQ(outer.previous(), original);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), first.get());
        {
            SelectGuard inner(dc.get(), second.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), second.get());
            SelectGuard moved(std::move(inner));
            EXPECT_FALSE(inner.active());  // NOLINT(bugprone-use-after-move)
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), first.get());
        outer.restore();
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
        outer.restore();  // a second restore does nothing
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);

    SelectGuard nothing(dc.get(), nullptr);
    EXPECT_FALSE(nothing.active());
}

constexpr int PageId = 4056;

// One round of everything the program draws, with fonts and fill styles changing each time.
void drawingCycle(Canvas& canvas, int round)
{
    static constexpr const char* Faces[] = {"Courier New", "Microsoft Sans Serif", "MS Sans Serif"};
    const std::array<PointF, 4> quad{{{10, 10}, {60, 15}, {40, 70}, {5, 50}}};
    const float shift = static_cast<float>(round % 50);
    canvas.setFont(Faces[round % 3], 8 + round % 9, round % 16);
    canvas.setForeground(rgb(round % 256, 0, 0));
    canvas.setBackground(round % 2 == 0 ? ColorNone : rgb(178, 194, 217));
    canvas.setPenWidth(round % 3);
    canvas.setMix(round % 7 == 0 ? MixNotXorPen : MixCopyPen);
    canvas.clear(ColorDefault, round % 8);
    canvas.moveTo(shift, 5);
    canvas.lineTo(200, 100 + shift);
    canvas.lineTo(20, 180, rgb(0, 0, 255));
    canvas.box(shift, 20, 120, 90, round % 3 == 0 ? EllipseCorner : round % 120, ColorDefault,
               round % 4 == 0 ? ColorNone : ColorDefault, round % 8);
    canvas.pie(100, 100, 160, 160, 0.1 * round, 0.2 * round, ColorDefault, rgb(0, 0, 128),
               round % 8);
    canvas.arc(150, 50, 250, 150, 0, 0.01 * round, rgb(0, 0, 255));
    canvas.polygon(quad, ColorDefault, round % 5 == 0 ? ColorNone : rgb(255, 255, 0), round % 8,
                   round % 2 == 0);
    canvas.setPixel(3, 3, rgb(1, 2, 3));
    canvas.moveTo(2, 300);
    canvas.print("Letztes Viertel \xE4\xF6\xFC\xDF\xB0");
    canvas.newLine();
    (void)canvas.textSize("Erstes Viertel");
    (void)canvas.getPixel(3, 3);
}

TEST(GdiLeak, ThousandsOfDrawingCyclesLeaveTheHandleCountsFlat)
{
    TestWindow window({{PageId, 0, 0, 522, 400}});
    const long withoutCanvas = gdiObjectsAlive();
    createCanvas(window.window(), PageId);
    Canvas& canvas = attachCanvas(window.window(), PageId, true);
    drawingCycle(canvas, 0);  // the first use of each face may fill caches inside GDI

    const long owned = gdiObjectsAlive();
    const long table = gdiHandlesInUse();
    constexpr int Rounds = 3000;
    for (int round = 1; round <= Rounds; ++round)
        drawingCycle(canvas, round);
    // Repaint after every call for a while, through WM_DRAWITEM.
    attachCanvas(window.window(), PageId, false);
    for (int round = 1; round <= 100; ++round)
        drawingCycle(canvas, round);
    TestWindow::pumpMessages();

    std::printf("GDI handles before %ld, after %d cycles %ld (owned by canvas owners %ld / %ld)\n",
                table, Rounds + 100, gdiHandlesInUse(), owned, gdiObjectsAlive());
    EXPECT_EQ(gdiObjectsAlive(), owned);
    EXPECT_EQ(gdiHandlesInUse(), table);
    // Between calls a canvas holds its memory DC, its bitmap and its font, nothing else.
    EXPECT_EQ(owned - withoutCanvas, 3);
}

TEST(GdiLeak, SavingBitmapsAndRebuildingCanvasesLeaksNothing)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "lunavista_leak_test.bmp";
    const std::string missing = std::string(folder) + "no such folder\\x.bmp";

    {  // warm-up: window class, first file and first failure
        TestWindow window({{PageId, 0, 0, 60, 40}});
        createCanvas(window.window(), PageId);
        ASSERT_TRUE(attachCanvas(window.window(), PageId, true).saveBitmap(path));
        ASSERT_FALSE(attachCanvas(window.window(), PageId, true).saveBitmap(missing));
    }
    const long owned = gdiObjectsAlive();
    const long table = gdiHandlesInUse();
    for (int round = 0; round < 200; ++round) {
        TestWindow window({{PageId, 0, 0, 60 + round % 7, 40}});
        createCanvas(window.window(), PageId);
        Canvas& canvas = attachCanvas(window.window(), PageId, round % 2 == 0);
        drawingCycle(canvas, round);
        ASSERT_TRUE(canvas.saveBitmap(path));
        ASSERT_FALSE(canvas.saveBitmap(missing));
    }
    EXPECT_EQ(gdiObjectsAlive(), owned);
    EXPECT_EQ(gdiHandlesInUse(), table);
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace display::test
