// Where canvases live: created on a control, freed with it, looked up by handle, inert where a
// control has none; and how their picture reaches the screen.
#include "display/canvas.hpp"

#include "tests/display/canvas_test_support.hpp"
#include "tests/display/gdi_count.hpp"

#include <gtest/gtest.h>

#include <array>

namespace display::test {
namespace {

constexpr int GaugeId = 4098;
constexpr int ClockId = 4096;
constexpr int PlainId = 4071;  // a control without a canvas

// GDI fills some caches of its own on the first canvas of a process (Wine: three handles that
// stay); counting starts after one canvas has come and gone.
void warmUpGdi()
{
    TestWindow window({{GaugeId, 0, 0, 20, 20}});
    createCanvas(window.window(), GaugeId);
    attachCanvas(window.window(), GaugeId, false).print("0");
}

TEST(CanvasLifecycle, ACanvasBelongsToItsControlAndGoesWithIt)
{
    warmUpGdi();
    TestWindow window({{GaugeId, 0, 0, 150, 16}, {ClockId, 0, 20, 112, 112}});
    const long ownedBefore = gdiObjectsAlive();
    const long tableBefore = gdiHandlesInUse();

    createCanvas(window.window(), GaugeId);
    createCanvas(window.window(), ClockId);
    Canvas* gauge = canvasOf(window.control(GaugeId));
    ASSERT_NE(gauge, nullptr);
    ASSERT_TRUE(gauge->valid());
    EXPECT_EQ(gauge->width(), 150);
    EXPECT_EQ(gauge->height(), 16);
    EXPECT_EQ(&attachCanvas(window.window(), GaugeId, true), gauge);
    EXPECT_TRUE(gauge->buffered());
    EXPECT_EQ(&attachCanvas(window.window(), GaugeId, false), gauge);
    EXPECT_FALSE(gauge->buffered());
    // Memory DC, bitmap and font for each canvas; the screen DC was given back.
    EXPECT_EQ(gdiObjectsAlive() - ownedBefore, 2 * 3);
    EXPECT_EQ(gdiHandlesInUse() - tableBefore, 2 * 3);

    // A second creation keeps the canvas that references may already point to.
    createCanvas(window.window(), GaugeId);
    EXPECT_EQ(canvasOf(window.control(GaugeId)), gauge);
    EXPECT_EQ(gdiObjectsAlive() - ownedBefore, 2 * 3);

    gauge->setFont("Courier New", 12, FontBold);
    gauge->box(0, 0, 10, 10, 0);
    DestroyWindow(window.control(GaugeId));
    EXPECT_EQ(gdiObjectsAlive() - ownedBefore, 3);
    EXPECT_EQ(gdiHandlesInUse() - tableBefore, 3);
    EXPECT_EQ(attachCanvas(window.window(), GaugeId, false).valid(), false);

    DestroyWindow(window.window());
    EXPECT_EQ(gdiObjectsAlive(), ownedBefore);
    EXPECT_EQ(gdiHandlesInUse(), tableBefore);
}

// Runs every operation once; on an inert canvas each must do nothing.
void drawEverything(Canvas& canvas)
{
    const std::array<PointF, 3> triangle{{{1, 1}, {9, 1}, {5, 8}}};
    canvas.setForeground(rgb(255, 0, 0));
    canvas.setBackground(ColorNone);
    canvas.setPenWidth(2);
    canvas.setFont("Courier New", 10, FontBold);
    canvas.setScale(0, 0, 100, 100);
    canvas.setMix(MixNotXorPen);
    canvas.clear(rgb(0, 0, 255), 3);
    canvas.moveTo(1, 2);
    canvas.lineTo(30, 4);
    canvas.print("Vollmond");
    canvas.newLine();
    canvas.setPixel(3, 3);
    canvas.box(1, 1, 20, 20, 30, ColorDefault, ColorNone, 2);
    canvas.arc(1, 1, 20, 20, 0.5, 1.5);
    canvas.pie(1, 1, 20, 20, 0, 0);
    canvas.polygon(triangle, ColorDefault, ColorDefault, FillSolid, true);
    canvas.redraw();
}

TEST(CanvasLifecycle, ControlsWithoutACanvasGiveAnInertCanvasThatDoesNothing)
{
    warmUpGdi();
    TestWindow window({{PlainId, 0, 0, 60, 20}, {GaugeId, 0, 30, 60, 20}});
    createCanvas(window.window(), GaugeId);
    const long ownedBefore = gdiObjectsAlive();
    const long tableBefore = gdiHandlesInUse();
    const int paintsBefore = TestWindow::drawItemCount();

    EXPECT_EQ(canvasOf(window.control(PlainId)), nullptr);
    EXPECT_EQ(canvasOf(nullptr), nullptr);
    for (Canvas* inert :
         {&attachCanvas(window.window(), PlainId, false),
          &attachCanvas(window.window(), 9999, true), &attachCanvas(nullptr, GaugeId, false)}) {
        ASSERT_FALSE(inert->valid());
        drawEverything(*inert);
        EXPECT_EQ(inert->width(), 0);
        EXPECT_EQ(inert->position().x, 0.0f);
        EXPECT_EQ(inert->position().y, 0.0f);
        EXPECT_EQ(inert->textSize("Neumond").width, 0.0f);
        EXPECT_EQ(inert->getPixel(3, 3), ColorNone);
        EXPECT_EQ(inert->lineHeight(), 0);
        EXPECT_FALSE(inert->saveBitmap("inert.bmp"));
        EXPECT_EQ(GetFileAttributesA("inert.bmp"), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(gdiObjectsAlive(), ownedBefore);
    EXPECT_EQ(gdiHandlesInUse(), tableBefore);
    EXPECT_EQ(TestWindow::drawItemCount(), paintsBefore);

    // Painting a control without a canvas leaves its screen alone.
    const Snapshot before = screenSnapshotOf(window.control(PlainId));
    InvalidateRect(window.control(PlainId), nullptr, FALSE);
    UpdateWindow(window.control(PlainId));
    EXPECT_EQ(screenSnapshotOf(window.control(PlainId)), before);
}

TEST(CanvasLifecycle, AControlWithoutAreaGetsAnInertCanvas)
{
    TestWindow window({{GaugeId, 0, 0, 0, 0}, {ClockId, 10, 10, 40, 40}});
    const long ownedBefore = gdiObjectsAlive();
    createCanvas(window.window(), GaugeId);
    Canvas* empty = canvasOf(window.control(GaugeId));
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->valid());
    drawEverything(*empty);
    EXPECT_EQ(gdiObjectsAlive(), ownedBefore);
    // No control at all: nothing to attach a canvas to.
    createCanvas(window.window(), 1234);
    createCanvas(nullptr, ClockId);
    EXPECT_EQ(canvasOf(window.control(ClockId)), nullptr);
}

class CanvasRepaint : public ::testing::Test {
protected:
    CanvasRepaint() : window_({{ClockId, 20, 10, 112, 104}})
    {
        createCanvas(window_.window(), ClockId);
    }
    HWND control() const
    {
        return window_.control(ClockId);
    }
    TestWindow window_;
};

TEST_F(CanvasRepaint, PaintingCopiesTheWholeBitmapToTheScreen)
{
    Canvas& canvas = attachCanvas(window_.window(), ClockId, true);
    canvas.clear(rgb(0, 0, 96));
    canvas.box(10, 10, 60, 50, EllipseCorner, rgb(120, 148, 188), ColorNone);
    canvas.setForeground(rgb(255, 255, 0));
    canvas.moveTo(5, 70);
    canvas.print("12:34:56");
    canvas.redraw();
    const Snapshot screen = screenSnapshotOf(control());
    EXPECT_EQ(screen, snapshotOf(canvas));
    EXPECT_GT(countColor(screen, RGB(255, 255, 0)), 0);

    // A repaint for any other reason (here: the window uncovered) shows the same picture.
    InvalidateRect(window_.window(), nullptr, TRUE);
    UpdateWindow(window_.window());
    TestWindow::pumpMessages();
    EXPECT_EQ(screenSnapshotOf(control()), snapshotOf(canvas));
}

TEST_F(CanvasRepaint, UnbufferedDrawingReachesTheScreenAtOnce)
{
    Canvas& canvas = attachCanvas(window_.window(), ClockId, false);
    struct Step {
        const char* name;
        void (*draw)(Canvas&);
    };
    const Step steps[] = {
        {"clear", [](Canvas& c) { c.clear(rgb(255, 255, 255)); }},
        {"lineTo",
         [](Canvas& c) {
             c.moveTo(3, 3);
             c.lineTo(50, 40, rgb(255, 0, 0));
         }},
        {"print",
         [](Canvas& c) {
             c.moveTo(4, 60);
             c.print("Erde");
         }},
        {"setPixel", [](Canvas& c) { c.setPixel(100, 100, rgb(0, 0, 255)); }},
        {"box", [](Canvas& c) { c.box(60, 5, 90, 30, 20, rgb(0, 128, 0)); }},
        {"arc", [](Canvas& c) { c.arc(60, 40, 100, 80, 0, 3, rgb(0, 0, 0)); }},
        {"pie", [](Canvas& c) { c.pie(10, 70, 40, 100, 1, 2, rgb(255, 0, 255)); }},
        {"polygon",
         [](Canvas& c) {
             const std::array<PointF, 3> p{{{80, 90}, {110, 90}, {95, 70}}};
             c.polygon(p, rgb(0, 0, 0), rgb(0, 255, 255));
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int paints = TestWindow::drawItemCount();
        step.draw(canvas);
        EXPECT_EQ(TestWindow::drawItemCount(), paints + 1);
        EXPECT_EQ(screenSnapshotOf(control()), snapshotOf(canvas));
    }
}

TEST_F(CanvasRepaint, BufferedDrawingWaitsForRedraw)
{
    Canvas& canvas = attachCanvas(window_.window(), ClockId, false);
    canvas.clear(rgb(255, 255, 255));
    const Snapshot shown = screenSnapshotOf(control());

    attachCanvas(window_.window(), ClockId, true);
    const int paints = TestWindow::drawItemCount();
    canvas.clear(rgb(0, 0, 96));
    canvas.moveTo(0, 0);
    canvas.lineTo(100, 100, rgb(255, 0, 0));
    canvas.pie(10, 10, 50, 50, 0, 0);
    EXPECT_EQ(TestWindow::drawItemCount(), paints);
    EXPECT_EQ(screenSnapshotOf(control()), shown);

    canvas.redraw();
    EXPECT_EQ(TestWindow::drawItemCount(), paints + 1);
    EXPECT_EQ(screenSnapshotOf(control()), snapshotOf(canvas));
}

}  // namespace
}  // namespace display::test
