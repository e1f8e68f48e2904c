#include "display/canvas.hpp"

#include <commctrl.h>

#include "display/bitmap_file.hpp"
#include "display/dpi.hpp"
#include "display/wide_text.hpp"
#include "events/number_format.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace display {

namespace {

// The window property that carries a control's canvas, and the id of the subclass that frees it.
constexpr const char* CanvasProperty = "Lunavista.Canvas";
constexpr UINT_PTR CanvasSubclassId = 0x4C56;  // "LV"

constexpr COLORREF RgbMask = 0x00FFFFFF;

// Pixel coordinates are clamped to +-2^17, some 250 canvas widths: far beyond anything visible,
// yet small enough for the rasteriser. Wine's ellipse code loops for minutes on radii from about
// 700,000 pixels, and GDI overflows beyond 2^27 anyway.
constexpr double PixelLimit = 131072.0;

// Wider pens cover every canvas several times over; Wine widens a 100,000-pixel pen for seconds
// and a 10,000,000-pixel one never returns.
constexpr int MaxPenWidth = 1024;

// Radial points of arcs and sectors lie this far from the centre, far outside any canvas, so
// GDI's "ray through the point" gives the requested angle to well under a pixel.
constexpr double RadialDistance = 5000.0;

constexpr int MaxPolygonPoints = 1024;
constexpr int MaxFacenameChars = LF_FACESIZE - 1;  // 31 characters and the terminating zero
constexpr int MaxFontPoints = 72;
constexpr int DefaultFontPoints = 8;
constexpr int HatchStyleCount = 6;  // HS_HORIZONTAL (0) .. HS_DIAGCROSS (5)

// Nearest integer, ties to even, of a value clamped to the pixel range; NaN becomes 0.
int roundToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    return events::nearestInt(std::clamp(value, -PixelLimit, PixelLimit));
}

COLORREF colorRef(Color color)
{
    return static_cast<COLORREF>(color) & RgbMask;
}

Color systemColor(int index)
{
    return static_cast<Color>(GetSysColor(index) & RgbMask);
}

// A fill colour argument made concrete: ColorDefault is the outline colour of the same call
// (ColorNone when the outline is hidden); any other negative value is ColorNone (hollow).
Color fillColor(Color fill, Color outline)
{
    if (fill == ColorDefault)
        return outline;
    if (fill < 0)
        return ColorNone;
    return fill;
}

BrushOwner makeBrush(Color color, int fillStyle)
{
    if (fillStyle >= 1 && fillStyle <= HatchStyleCount)
        return BrushOwner(CreateHatchBrush(HS_HORIZONTAL + fillStyle - 1, colorRef(color)));
    return BrushOwner(CreateSolidBrush(colorRef(color)));
}

// The pen and brush of one drawing call, selected for its duration and deleted right after it,
// so a canvas never holds more than its bitmap and font between calls.
class CallTools {
public:
    CallTools(HDC dc, int penWidth, Color outline, Color fill, int fillStyle)
    {
        if (outline == ColorNone) {
            penSelection_ = SelectGuard(dc, GetStockObject(NULL_PEN));
        } else {
            pen_ = PenOwner(CreatePen(PS_SOLID, penWidth, colorRef(outline)));
            penSelection_ = SelectGuard(dc, pen_.get());
        }
        if (fill == ColorNone) {
            brushSelection_ = SelectGuard(dc, GetStockObject(NULL_BRUSH));
        } else {
            brush_ = makeBrush(fill, fillStyle);
            brushSelection_ = SelectGuard(dc, brush_.get());
        }
    }

private:
    // Owners first: the guards are destroyed before them and deselect what they delete.
    PenOwner pen_;
    BrushOwner brush_;
    SelectGuard penSelection_;
    SelectGuard brushSelection_;
};

struct RectPixels {
    int left;
    int top;
    int right;
    int bottom;
};

RectPixels ordered(POINT a, POINT b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The radial point of `angle` (radians, counter-clockwise on the screen from the right) seen
// from the centre of the box; screen y grows downwards, hence the minus on the sine.
POINT radialPoint(const RectPixels& box, double angle)
{
    const long long centreX = (static_cast<long long>(box.left) + box.right + 1) / 2;
    const long long centreY = (static_cast<long long>(box.top) + box.bottom + 1) / 2;
    return {roundToPixel(static_cast<double>(centreX) + RadialDistance * std::cos(angle)),
            roundToPixel(static_cast<double>(centreY) - RadialDistance * std::sin(angle))};
}

int textLength(std::wstring_view text)
{
    return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

LRESULT CALLBACK canvasSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR subclassId, DWORD_PTR data)
{
    if (message == WM_NCDESTROY) {
        // The last message a window gets: the canvas goes with its control.
        RemoveWindowSubclass(window, canvasSubclassProc, subclassId);
        RemovePropA(window, CanvasProperty);
        delete reinterpret_cast<Canvas*>(data);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

Color rgb(int red, int green, int blue)
{
    return static_cast<Color>(
        RGB(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255)));
}

Canvas::Canvas(HWND dialog, int controlId, HWND control)
    : dialog_(dialog), controlId_(controlId), control_(control)
{
    RECT client{};
    if (control == nullptr || !GetClientRect(control, &client))
        return;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // CreateCompatibleBitmap answers a zero size with a 1 x 1 monochrome bitmap: a control
    // without area gets an inert canvas instead.
    if (width <= 0 || height <= 0)
        return;

    WindowDcOwner screen(nullptr);
    if (!screen)
        return;
    DcOwner dc(CreateCompatibleDC(screen.get()));
    if (!dc)
        return;
    BitmapOwner bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!bitmap)
        return;
    SelectGuard selection(dc.get(), bitmap.get());
    if (!selection.active())
        return;

    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    bitmapSelection_ = std::move(selection);
    width_ = width;
    height_ = height;
    // World units are 96-dpi pixels until a scale is set: at another DPI they are s pixels.
    dpi_ = windowDpi(control);
    if (dpi_ != BaseDpi) {
        factorX_ = factorY_ = static_cast<float>(dpi_) / BaseDpi;
    }

    HDC target = dc_.get();
    // Text output starts at the current position and moves it on, like a terminal.
    SetTextAlign(target, TA_LEFT | TA_TOP | TA_UPDATECP);
    SetArcDirection(target, AD_COUNTERCLOCKWISE);
    SetPolyFillMode(target, WINDING);
    SetROP2(target, R2_COPYPEN);
    SetBkMode(target, OPAQUE);
    setForeground(ColorDefault);
    setBackground(ColorDefault);
    const RECT all{0, 0, width_, height_};
    FillRect(target, &all, GetSysColorBrush(COLOR_BTNFACE));
    setFont("MS Sans Serif", DefaultFontPoints, 0);
    MoveToEx(target, 0, 0, nullptr);
}

Canvas::~Canvas() = default;

void Canvas::updated()
{
    if (!buffered_)
        redraw();
}

void Canvas::redraw()
{
    if (!valid() || control_ == nullptr)
        return;
    // No erase: the owner-drawn control covers all of itself with the bitmap.
    InvalidateRect(control_, nullptr, FALSE);
    UpdateWindow(control_);
}

POINT Canvas::pixel(float x, float y) const
{
    return {pixelX(x), pixelY(y)};
}

int Canvas::pixelX(float x) const
{
    float value = x - originX_;
    if (factorX_ != 0.0f)
        value *= factorX_;
    return roundToPixel(static_cast<double>(value));
}

int Canvas::pixelY(float y) const
{
    float value = y - originY_;
    if (factorY_ != 0.0f)
        value *= factorY_;
    return roundToPixel(static_cast<double>(value));
}

Color Canvas::outlineColor(Color color) const
{
    if (color == ColorNone)
        return ColorNone;
    if (color < 0)
        return foreground_;
    return color;
}

void Canvas::clear(Color color, int fillStyle)
{
    if (!valid())
        return;
    HDC target = dc_.get();
    // The background colour stays in the DC while text is transparent, so it is still the
    // colour a default clear uses.
    const Color fill = color == ColorNone ? ColorNone
                       : color < 0        ? static_cast<Color>(GetBkColor(target) & RgbMask)
                                          : color;
    if (fill != ColorNone) {
        BrushOwner brush = makeBrush(fill, fillStyle);
        const RECT all{0, 0, width_, height_};
        FillRect(target, &all, brush.get());
    }
    MoveToEx(target, 0, 0, nullptr);
    updated();
}

void Canvas::setForeground(Color color)
{
    if (!valid())
        return;
    foreground_ = color < 0 ? systemColor(COLOR_WINDOWTEXT) : static_cast<Color>(colorRef(color));
    SetTextColor(dc_.get(), colorRef(foreground_));
}

void Canvas::setBackground(Color color)
{
    if (!valid())
        return;
    HDC target = dc_.get();
    if (color == ColorNone) {
        background_ = ColorNone;
        SetBkMode(target, TRANSPARENT);
        return;
    }
    background_ = color < 0 ? systemColor(COLOR_BTNFACE) : static_cast<Color>(colorRef(color));
    SetBkColor(target, colorRef(background_));
    SetBkMode(target, OPAQUE);
}

int Canvas::logicalWidth() const
{
    return events::nearestInt(static_cast<double>(width_) * BaseDpi / dpi_);
}

int Canvas::logicalHeight() const
{
    return events::nearestInt(static_cast<double>(height_) * BaseDpi / dpi_);
}

void Canvas::setPenWidth(int pixels)
{
    if (!valid())
        return;
    penWidth_ = std::clamp(pixels, 0, MaxPenWidth);
}

int Canvas::linePixels() const
{
    // A line as wide as its world width scaled up, and at least as wide as one world pixel, so
    // that shapes filled line by line have no gaps; world units no larger than a pixel keep the
    // width as it is.
    const float factor = std::max(std::fabs(factorX_), std::fabs(factorY_));
    if (!(factor > 1.0f))
        return penWidth_;
    const float scaled = static_cast<float>(std::max(penWidth_, 1)) * factor;
    return std::clamp(static_cast<int>(std::ceil(scaled)), 1, MaxPenWidth);
}

LONG Canvas::scaledFontWidth(const LOGFONTW& font, int points) const
{
    // Hinting rounds glyph widths, so a font at s times the height can be more than s times as
    // wide (Courier New 9 pt: 7 pixels a character at 96 dpi, 11 at 144), and lines laid out for
    // 96 dpi would run into the next column. Where the font comes out wider than its 96-dpi
    // width times s (in whole pixels), it is asked for with that width; fonts that fit keep
    // their own.
    struct Known {
        std::wstring face;
        LONG height;
        LONG weight;
        BYTE italic;
        int dpi;
        LONG width;
    };
    static std::vector<Known> known;
    for (const Known& k : known) {
        if (k.face == font.lfFaceName && k.height == font.lfHeight && k.weight == font.lfWeight &&
            k.italic == font.lfItalic && k.dpi == dpi_)
            return k.width;
    }
    const auto averageWidth = [this](const LOGFONTW& request) -> LONG {
        const FontOwner probe(CreateFontIndirectW(&request));
        if (!probe)
            return 0;
        const SelectGuard selection(dc_.get(), probe.get());
        TEXTMETRICW metrics{};
        return GetTextMetricsW(dc_.get(), &metrics) ? metrics.tmAveCharWidth : 0;
    };
    LOGFONTW at96 = font;
    at96.lfHeight = -pointsToPixels(points, BaseDpi);
    const auto limit =
        static_cast<LONG>(std::floor(static_cast<double>(averageWidth(at96)) * dpi_ / BaseDpi));
    const LONG natural = averageWidth(font);
    const LONG width = limit > 0 && natural > limit ? limit : 0;
    known.push_back({font.lfFaceName, font.lfHeight, font.lfWeight, font.lfItalic, dpi_, width});
    return width;
}

void Canvas::setFont(std::string_view face, int points, int style)
{
    if (!valid())
        return;
    HDC target = dc_.get();
    if (points <= 0 || points > MaxFontPoints)
        points = DefaultFontPoints;

    LOGFONTW font{};
    // Negative: the character height (cell height less internal leading) in pixels at the
    // window's DPI.
    font.lfHeight = -pointsToPixels(points, dpi_);
    font.lfWeight = (style & FontBold) != 0 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style & FontItalic) != 0 ? TRUE : FALSE;
    font.lfUnderline = (style & FontUnderline) != 0 ? TRUE : FALSE;
    font.lfStrikeOut = (style & FontStrikeOut) != 0 ? TRUE : FALSE;
    // Western fonts whatever the system code page: the texts are Windows-1252 characters, and
    // the default character set would let a Cyrillic or East Asian system pick other faces.
    font.lfCharSet = ANSI_CHARSET;
    const std::size_t faceLength =
        std::min({face.size(), face.find('\0'), static_cast<std::size_t>(MaxFacenameChars)});
    const std::wstring wideFace = wideText(face.substr(0, faceLength));
    std::copy(wideFace.begin(), wideFace.end(), font.lfFaceName);

    if (dpi_ != BaseDpi)
        font.lfWidth = scaledFontWidth(font, points);

    FontOwner created(CreateFontIndirectW(&font));
    if (!created)
        return;  // the previous font stays
    // Put the DC's original font back first, so the guard keeps remembering that one and the
    // old canvas font is no longer selected when its owner deletes it.
    fontSelection_.restore();
    SelectGuard selection(target, created.get());
    if (!selection.active()) {
        fontSelection_ = SelectGuard(target, font_.get());
        return;
    }
    fontSelection_ = std::move(selection);
    font_ = std::move(created);

    TEXTMETRICW metrics{};
    if (GetTextMetricsW(target, &metrics)) {
        lineHeight_ = static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
        averageCharWidth_ = static_cast<int>(metrics.tmAveCharWidth);
    }
}

void Canvas::setScale(float x1, float y1, float x2, float y2)
{
    if (!valid())
        return;
    const float factorX = static_cast<float>(width_) / (x2 - x1);
    const float factorY = static_cast<float>(height_) / (y2 - y1);
    // An empty or non-finite rectangle has no mapping; the previous scale stays.
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(factorX) ||
        !std::isfinite(factorY) || factorX == 0.0f || factorY == 0.0f)
        return;
    originX_ = x1;
    originY_ = y1;
    factorX_ = factorX;
    factorY_ = factorY;
    reversedX_ = x1 > x2;
    reversedY_ = y1 > y2;
}

void Canvas::moveTo(float x, float y)
{
    if (!valid())
        return;
    const POINT p = pixel(x, y);
    MoveToEx(dc_.get(), p.x, p.y, nullptr);
}

PointF Canvas::position() const
{
    if (!valid())
        return {};
    POINT p{};
    GetCurrentPositionEx(dc_.get(), &p);
    const auto world = [](LONG pixels, float origin, float factor) {
        const float value = static_cast<float>(pixels);
        return (factor != 0.0f ? value / factor : value) + origin;
    };
    return {world(p.x, originX_, factorX_), world(p.y, originY_, factorY_)};
}

void Canvas::lineTo(float x, float y, Color color)
{
    if (!valid())
        return;
    const POINT p = pixel(x, y);
    {
        CallTools tools(dc_.get(), linePixels(), outlineColor(color), ColorNone, FillSolid);
        LineTo(dc_.get(), p.x, p.y);
    }
    updated();
}

void Canvas::print(std::string_view text)
{
    if (!valid())
        return;
    const std::wstring wide = wideText(text);
    TextOutW(dc_.get(), 0, 0, wide.data(), textLength(wide));
    updated();
}

void Canvas::newLine()
{
    if (!valid())
        return;
    POINT p{};
    GetCurrentPositionEx(dc_.get(), &p);
    MoveToEx(dc_.get(), 0, p.y + lineHeight_, nullptr);
}

SizeF Canvas::textSize(std::string_view text) const
{
    const SizeF pixels = textSizeInPixels(text);
    const auto world = [](float value, float factor) {
        return factor != 0.0f ? value / std::fabs(factor) : value;
    };
    return {world(pixels.width, factorX_), world(pixels.height, factorY_)};
}

SizeF Canvas::textSizeInPixels(std::string_view text) const
{
    if (!valid())
        return {};
    SIZE size{};
    const std::wstring wide = wideText(text);
    if (!GetTextExtentPoint32W(dc_.get(), wide.data(), textLength(wide), &size))
        return {};
    return {static_cast<float>(size.cx), static_cast<float>(size.cy)};
}

Color Canvas::getPixel(float x, float y) const
{
    if (!valid())
        return ColorNone;
    const POINT p = pixel(x, y);
    const COLORREF value = GetPixel(dc_.get(), p.x, p.y);
    if (value == CLR_INVALID)
        return ColorNone;  // outside the bitmap
    return static_cast<Color>(value & RgbMask);
}

void Canvas::setPixel(float x, float y, Color color)
{
    if (!valid())
        return;
    const POINT p = pixel(x, y);
    HDC target = dc_.get();
    MoveToEx(target, p.x, p.y, nullptr);
    const Color value = outlineColor(color);
    if (value != ColorNone) {
        if (std::fabs(factorX_) > 1.0f || std::fabs(factorY_) > 1.0f) {
            // A world pixel scaled up is a block of pixels: the one from this point to the next.
            const RectPixels block = ordered(p, pixel(x + 1, y + 1));
            const RECT area{block.left, block.top, std::max(block.right, block.left + 1),
                            std::max(block.bottom, block.top + 1)};
            BrushOwner brush(CreateSolidBrush(colorRef(value)));
            FillRect(target, &area, brush.get());
        } else {
            SetPixelV(target, p.x, p.y, colorRef(value));
        }
    }
    updated();
}

void Canvas::box(float x1, float y1, float x2, float y2, int corner, Color outline, Color fill,
                 int fillStyle)
{
    if (!valid())
        return;
    const RectPixels r = ordered(pixel(x1, y1), pixel(x2, y2));
    const long long width = static_cast<long long>(r.right) - r.left;
    const long long height = static_cast<long long>(r.bottom) - r.top;
    long long cornerWidth = 0;
    long long cornerHeight = 0;
    if (corner == EllipseCorner) {
        // One more than the box: RoundRect then has no straight edge left, an ellipse.
        cornerWidth = width + 1;
        cornerHeight = height + 1;
    } else {
        const long long percent = std::clamp(corner, 0, 100);
        cornerWidth = cornerHeight = std::min(width, height) * percent / 100;
    }
    const Color line = outlineColor(outline);
    {
        CallTools tools(dc_.get(), linePixels(), line, fillColor(fill, line), fillStyle);
        RoundRect(dc_.get(), r.left, r.top, r.right, r.bottom, static_cast<int>(cornerWidth),
                  static_cast<int>(cornerHeight));
    }
    updated();
}

void Canvas::arc(float x1, float y1, float x2, float y2, double startAngle, double endAngle,
                 Color color)
{
    if (!valid())
        return;
    const RectPixels r = ordered(pixel(x1, y1), pixel(x2, y2));
    const POINT start = radialPoint(r, startAngle);
    const POINT end = radialPoint(r, endAngle);
    {
        CallTools tools(dc_.get(), linePixels(), outlineColor(color), ColorNone, FillSolid);
        Arc(dc_.get(), r.left, r.top, r.right, r.bottom, start.x, start.y, end.x, end.y);
    }
    updated();
}

void Canvas::pie(float x1, float y1, float x2, float y2, double startAngle, double endAngle,
                 Color outline, Color fill, int fillStyle)
{
    if (!valid())
        return;
    const RectPixels r = ordered(pixel(x1, y1), pixel(x2, y2));
    const POINT start = radialPoint(r, startAngle);
    const POINT end = radialPoint(r, endAngle);
    const Color line = outlineColor(outline);
    {
        CallTools tools(dc_.get(), linePixels(), line, fillColor(fill, line), fillStyle);
        Pie(dc_.get(), r.left, r.top, r.right, r.bottom, start.x, start.y, end.x, end.y);
    }
    updated();
}

void Canvas::polygon(std::span<const PointF> points, Color outline, Color fill, int fillStyle,
                     bool alternate)
{
    if (!valid())
        return;
    if (points.size() < 2 || points.size() > MaxPolygonPoints)
        return;
    std::array<POINT, MaxPolygonPoints> corners{};
    for (std::size_t i = 0; i < points.size(); ++i)
        corners[i] = pixel(points[i].x, points[i].y);
    const Color line = outlineColor(outline);
    {
        CallTools tools(dc_.get(), linePixels(), line, fillColor(fill, line), fillStyle);
        SetPolyFillMode(dc_.get(), alternate ? ALTERNATE : WINDING);
        Polygon(dc_.get(), corners.data(), static_cast<int>(points.size()));
    }
    updated();
}

void Canvas::setMix(int mode)
{
    if (!valid())
        return;
    SetROP2(dc_.get(), mode >= R2_BLACK && mode <= R2_WHITE ? mode : R2_COPYPEN);
}

bool Canvas::saveBitmap(const std::string& path) const
{
    if (!valid() || path.empty() || path.find('\0') != std::string::npos)
        return false;
    // The ANSI path in the system code page, as CreateFileA would read it.
    const int length =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (length <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return saveBitmap(wide);
}

bool Canvas::saveBitmap(const std::wstring& path) const
{
    if (!valid() || path.empty() || path.find(L'\0') != std::wstring::npos)
        return false;
    std::vector<unsigned char> file = bitmapFileImage(width_, height_);
    if (file.empty())
        return false;
    BITMAPINFO info = bitmapFileInfo(width_, height_);
    {
        // GetDIBits wants the bitmap out of every DC; the guard selects the DC's original
        // bitmap for the moment and puts the canvas back afterwards.
        SelectGuard aside(dc_.get(), bitmapSelection_.previous());
        const int rows = GetDIBits(dc_.get(), bitmap_.get(), 0, static_cast<UINT>(height_),
                                   file.data() + BitmapHeadersSize, &info, DIB_RGB_COLORS);
        if (rows != height_)
            return false;
    }
    return replaceFileWith(path, file);
}

void createCanvas(HWND dialog, int controlId)
{
    HWND control = dialog != nullptr ? GetDlgItem(dialog, controlId) : nullptr;
    // A second call keeps the canvas (and the references handed out for it).
    if (control == nullptr || canvasOf(control) != nullptr)
        return;
    auto canvas = std::make_unique<Canvas>(dialog, controlId, control);
    if (!SetWindowSubclass(control, canvasSubclassProc, CanvasSubclassId,
                           reinterpret_cast<DWORD_PTR>(canvas.get())))
        return;
    if (!SetPropA(control, CanvasProperty, canvas.get())) {
        RemoveWindowSubclass(control, canvasSubclassProc, CanvasSubclassId);
        return;
    }
    canvas.release();  // owned by the control now; freed at its WM_NCDESTROY
}

void recreateCanvas(HWND dialog, int controlId)
{
    HWND control = dialog != nullptr ? GetDlgItem(dialog, controlId) : nullptr;
    Canvas* old = canvasOf(control);
    if (old == nullptr) {
        createCanvas(dialog, controlId);
        return;
    }
    auto fresh = std::make_unique<Canvas>(dialog, controlId, control);
    fresh->setBuffered(old->buffered());
    // The same subclass id again replaces its data: the control now owns the fresh canvas.
    if (!SetWindowSubclass(control, canvasSubclassProc, CanvasSubclassId,
                           reinterpret_cast<DWORD_PTR>(fresh.get())) ||
        !SetPropA(control, CanvasProperty, fresh.get())) {
        SetWindowSubclass(control, canvasSubclassProc, CanvasSubclassId,
                          reinterpret_cast<DWORD_PTR>(old));
        return;
    }
    delete old;
    fresh.release();
}

Canvas& attachCanvas(HWND dialog, int controlId, bool buffered)
{
    Canvas* canvas = dialog != nullptr ? canvasOf(GetDlgItem(dialog, controlId)) : nullptr;
    if (canvas == nullptr) {
        static Canvas inert;
        return inert;
    }
    canvas->setBuffered(buffered);
    return *canvas;
}

Canvas* canvasOf(HWND control)
{
    if (control == nullptr)
        return nullptr;
    return static_cast<Canvas*>(GetPropA(control, CanvasProperty));
}

void paintCanvasItem(const DRAWITEMSTRUCT& item)
{
    const Canvas* canvas = canvasOf(item.hwndItem);
    if (canvas == nullptr || !canvas->valid() || item.hDC == nullptr)
        return;
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, canvas->width(), canvas->height(),
           canvas->dc(), 0, 0, SRCCOPY);
}

}  // namespace display
