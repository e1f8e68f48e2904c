// A 522 x 400 page canvas with a reference canvas of the same size below it, for checking what a
// page shows. Texts are checked against the same text laid out alone on the reference canvas, so
// the checks hold for whatever metrics the installed faces have.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "display/canvas.hpp"
#include "tests/display/canvas_test_support.hpp"

namespace display::test {

struct Font {
    const char* face;
    int points;
    int style;
};
inline constexpr Font Courier10{"Courier New", 10, 0};
inline constexpr Font Courier9{"Courier New", 9, 0};
inline constexpr Font Courier16Bold{"Courier New", 16, FontBold};

inline int nearestPixel(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

class PageCanvasTest : public ::testing::Test {
protected:
    static constexpr int PageId = 4056;
    static constexpr int ReferenceId = 4057;
    static constexpr int PageWidth = 522;
    static constexpr int PageHeight = 400;

    TestWindow window{{{PageId, 0, 0, PageWidth, PageHeight},
                       {ReferenceId, 0, PageHeight, PageWidth, PageHeight}}};

    void SetUp() override
    {
        createCanvas(window.window(), PageId);
        createCanvas(window.window(), ReferenceId);
    }

    HWND dialog() const
    {
        return window.window();
    }
    Snapshot page()
    {
        return snapshotOf(attachCanvas(dialog(), PageId, true));
    }

    Canvas& reference(const Font& font)
    {
        Canvas& canvas = attachCanvas(dialog(), ReferenceId, true);
        canvas.setFont(font.face, font.points, font.style);
        return canvas;
    }
    SizeF measure(const Font& font, std::string_view text)
    {
        return reference(font).textSize(text);
    }
    int lineHeight(const Font& font)
    {
        return reference(font).lineHeight();
    }

    // The text printed alone at (x, y) on a white canvas in the given colour.
    Snapshot alone(const Font& font, float x, float y, std::string_view text, COLORREF ink)
    {
        Canvas& canvas = reference(font);
        canvas.clear(rgb(255, 255, 255));
        canvas.setForeground(static_cast<Color>(ink));
        canvas.setBackground(ColorNone);
        canvas.moveTo(x, y);
        canvas.print(text);
        return snapshotOf(canvas);
    }

    // Whether the page shows the text at (x, y): inside the text's cell the page has ink exactly
    // where the text printed alone has it.
    ::testing::AssertionResult showsText(const Snapshot& shot, const Font& font, float x, float y,
                                         std::string_view text, COLORREF ink = Black)
    {
        const Snapshot expected = alone(font, x, y, text, ink);
        const SizeF size = measure(font, text);
        const int left = nearestPixel(static_cast<double>(x));
        const int top = nearestPixel(static_cast<double>(y));
        const int right = left + static_cast<int>(size.width);
        const int bottom = top + static_cast<int>(size.height);
        int inked = 0;
        int differing = 0;
        for (int py = std::max(top, 0); py < std::min(bottom, shot.height); ++py) {
            for (int px = std::max(left, 0); px < std::min(right, shot.width); ++px) {
                const bool want = expected.at(px, py) == ink;
                inked += want ? 1 : 0;
                if (want != (shot.at(px, py) == ink))
                    ++differing;
            }
        }
        if (inked == 0)
            return ::testing::AssertionFailure() << "no ink for \"" << text << "\"";
        if (differing != 0)
            return ::testing::AssertionFailure() << differing << " pixels differ from \"" << text
                                                 << "\" at " << left << "," << top;
        return ::testing::AssertionSuccess();
    }
};

}  // namespace display::test
