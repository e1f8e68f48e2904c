// The drawing surface: an off-screen bitmap that belongs to one child control of the main window
// and is copied to the screen whenever that control is painted, with the small set of drawing
// operations every picture of the program is made of.
//
// Geometry conventions the drawings rely on:
//   - coordinates are world units (floats); a point becomes a pixel by subtracting the scale
//     origin, multiplying by the scale factor and rounding to the nearest integer, ties to even;
//     y points down, (0, 0) is the top-left pixel;
//   - the canvas is the one place that knows the display scale: without a scale set, world
//     units are 96-dpi pixels, s = dpi / 96 pixels each (at 96 dpi exactly the pixels); with
//     one, the world rectangle covers the whole bitmap. Where a world unit is larger than a
//     pixel, lines get at least its width and setPixel fills its block, so every drawing is the
//     96-dpi one, larger; fonts are asked for in points at the window's DPI;
//   - a line does not colour its end pixel; the right and bottom edges of a box are exclusive;
//   - arcs and sectors take radians counter-clockwise from the right as seen on the screen and
//     run counter-clockwise from start to end; equal angles give the whole ellipse.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "display/gdi_owner.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace display {

// 24-bit RGB as a COLORREF (red in the low byte), or one of the two special arguments.
using Color = std::int32_t;
inline constexpr Color ColorDefault = -1;  // the canvas default for the argument's role
inline constexpr Color ColorNone = -2;     // no fill / transparent text background

// Composes a colour; each component is clamped to 0..255.
Color rgb(int red, int green, int blue);

// Fill styles: 0 solid, 1..6 the standard hatches (horizontal, vertical, forward diagonal,
// backward diagonal, cross, diagonal cross); above 6 solid.
inline constexpr int FillSolid = 0;

// Font style bits.
inline constexpr int FontBold = 1;
inline constexpr int FontItalic = 2;
inline constexpr int FontUnderline = 4;
inline constexpr int FontStrikeOut = 8;

// Corner argument of box() that draws the ellipse inscribed in the box.
inline constexpr int EllipseCorner = -1;

// Mix mode values (the platform's R2_ codes, 1..16); R2_NOTXORPEN is 10, copy pen 13.
inline constexpr int MixNotXorPen = 10;
inline constexpr int MixCopyPen = 13;

struct PointF {
    float x = 0;
    float y = 0;
};

struct SizeF {
    float width = 0;
    float height = 0;
};

class Canvas {
public:
    // A canvas without a bitmap: every operation does nothing (what drawing on a control without
    // a canvas does).
    Canvas() = default;
    // A canvas for a control: a bitmap of the control's client size, compatible with the screen
    // and filled with the button-face colour; font "MS Sans Serif" 8 pt; window-text foreground;
    // opaque button-face background; pen width 0; position (0, 0); no scale.
    Canvas(HWND dialog, int controlId, HWND control);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    bool valid() const
    {
        return dc_.get() != nullptr;
    }
    HWND control() const
    {
        return control_;
    }
    int controlId() const
    {
        return controlId_;
    }
    int width() const
    {
        return width_;
    }
    int height() const
    {
        return height_;
    }
    HDC dc() const
    {
        return dc_.get();
    }
    bool buffered() const
    {
        return buffered_;
    }
    void setBuffered(bool buffered)
    {
        buffered_ = buffered;
    }

    void redraw();
    void clear(Color color = ColorDefault, int fillStyle = FillSolid);
    void setForeground(Color color);
    void setBackground(Color color);
    // 0 (one-pixel lines) to 1024.
    void setPenWidth(int pixels);
    void setFont(std::string_view face, int points, int style);
    void setScale(float x1, float y1, float x2, float y2);
    void moveTo(float x, float y);
    PointF position() const;
    void lineTo(float x, float y, Color color = ColorDefault);
    void print(std::string_view text);
    void newLine();
    // In world units: pixels divided by the scale factor.
    SizeF textSize(std::string_view text) const;
    SizeF textSizeInPixels(std::string_view text) const;
    // ColorNone for a point outside the bitmap.
    Color getPixel(float x, float y) const;
    void setPixel(float x, float y, Color color = ColorDefault);
    void box(float x1, float y1, float x2, float y2, int corner, Color outline = ColorDefault,
             Color fill = ColorDefault, int fillStyle = FillSolid);
    void arc(float x1, float y1, float x2, float y2, double startAngle, double endAngle,
             Color color = ColorDefault);
    void pie(float x1, float y1, float x2, float y2, double startAngle, double endAngle,
             Color outline = ColorDefault, Color fill = ColorDefault, int fillStyle = FillSolid);
    // 2 to 1024 points; outside that range nothing is drawn. `alternate` selects the alternate
    // fill rule, otherwise winding.
    void polygon(std::span<const PointF> points, Color outline = ColorDefault,
                 Color fill = ColorDefault, int fillStyle = FillSolid, bool alternate = false);
    void setMix(int mode);
    // An uncompressed 24-bit bottom-up BMP (54 bytes of headers, rows padded to 4 bytes),
    // replacing a file of that name only once the new one is complete (display/bitmap_file).
    // Returns whether the whole file was written; on failure an old file stays as it was.
    bool saveBitmap(const std::string& path) const;
    // The same for a path in UTF-16 (folders with names outside the ANSI code page).
    bool saveBitmap(const std::wstring& path) const;

    int lineHeight() const
    {
        return lineHeight_;
    }
    int averageCharWidth() const
    {
        return averageCharWidth_;
    }
    Color foreground() const
    {
        return foreground_;
    }
    Color background() const
    {
        return background_;
    }
    int penWidth() const
    {
        return penWidth_;
    }
    // The DPI of the control's window when the canvas was made, and the canvas's size in 96-dpi
    // pixels (the size its drawings are laid out for).
    int dpi() const
    {
        return dpi_;
    }
    int logicalWidth() const;
    int logicalHeight() const;

    // Pixel of a world coordinate (nearest, ties to even).
    int pixelX(float x) const;
    int pixelY(float y) const;

private:
    void updated();  // repaints at once unless buffered
    POINT pixel(float x, float y) const;
    // lfWidth for a font at the canvas's DPI: 0, or a width that keeps it as narrow as at 96 dpi
    // scaled.
    LONG scaledFontWidth(const LOGFONTW& font, int points) const;
    // The width in pixels of the lines drawn with the pen width set.
    int linePixels() const;
    // A line or outline colour argument made concrete (ColorDefault: the foreground); ColorNone
    // stays ColorNone (no line).
    Color outlineColor(Color color) const;

    HWND dialog_ = nullptr;
    int controlId_ = 0;
    HWND control_ = nullptr;
    bool buffered_ = false;
    DcOwner dc_;
    BitmapOwner bitmap_;
    SelectGuard bitmapSelection_;
    FontOwner font_;
    SelectGuard fontSelection_;
    int width_ = 0;
    int height_ = 0;
    float originX_ = 0;
    float originY_ = 0;
    float factorX_ = 0;  // 0: world units are pixels
    float factorY_ = 0;
    bool reversedX_ = false;
    bool reversedY_ = false;
    int averageCharWidth_ = 0;
    int lineHeight_ = 0;
    Color foreground_ = 0;
    Color background_ = 0;  // ColorNone: transparent
    int penWidth_ = 0;
    int dpi_ = 96;
};

// Creates the canvas of a graphic control; it is released when the control is destroyed.
void createCanvas(HWND dialog, int controlId);

// A fresh canvas of the control's present size and DPI in place of its old one (after a change
// of the display scale); references to the old one are no longer valid.
void recreateCanvas(HWND dialog, int controlId);

// The canvas of a control, made current with its buffered flag set as given. A control without
// a canvas gives an inert canvas on which every operation does nothing.
Canvas& attachCanvas(HWND dialog, int controlId, bool buffered);

// The canvas of a control, or nullptr.
Canvas* canvasOf(HWND control);

// WM_DRAWITEM of a graphic control: copies its off-screen picture to the screen.
void paintCanvasItem(const DRAWITEMSTRUCT& item);

}  // namespace display
