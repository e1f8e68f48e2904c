#include "display/phase_diagram.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "display/angles.hpp"
#include "display/canvas.hpp"
#include "display/palette.hpp"
#include "events/lenient_number.hpp"

namespace display {
namespace {

// The crescent as it stands on the upper left disc, seen upside down: row 1 is the disc's
// bottom row. One character per cell.
// clang-format off
constexpr std::array<std::string_view, 20> CrescentRows = {
    "00000011111110000000",
    "00001111111111100000",
    "00011111110000000000",
    "00111111000000000000",
    "01111100000000000000",
    "01111100000000000000",
    "01111000000000000000",
    "11111000000000000000",
    "11110000000000000000",
    "11110000000000000000",
    "11100000000000000000",
    "11100000000000000000",
    "11100000000000000000",
    "11100000000000000000",
    "01100000000000000000",
    "01100000000000000000",
    "01110000000000000000",
    "00110000000000000000",
    "00011000000000000000",
    "00001100000000000000",
};
// clang-format on

constexpr std::array<std::string_view, CrescentMaskTexts> crescentTable()
{
    std::array<std::string_view, CrescentMaskTexts> table{};
    table[0] = "20";  // columns
    table[1] = "20";  // rows
    std::size_t next = 2;
    for (std::string_view row : CrescentRows) {
        for (char cell : row)
            table[next++] = cell == '1' ? "1" : "0";
    }
    return table;
}

// A disc of 20 pixels whose left half is lit.
void halfLitDisc(Canvas& canvas, float x, float y)
{
    canvas.pie(x, y, x + 20, y + 20, turnsToRadians(0.25f), turnsToRadians(0.75f), Yellow, Yellow,
               FillSolid);
    canvas.pie(x + 1, y, x + 20, y + 20, turnsToRadians(0.75f), turnsToRadians(0.25f), Black, Black,
               FillSolid);
}

// A whole disc of 20 pixels: equal start and end angles give the full ellipse.
void fullDisc(Canvas& canvas, float x, float y, Color color)
{
    canvas.pie(x, y, x + 20, y + 20, 0, 0, color, color, FillSolid);
}

void label(Canvas& canvas, float x, float y, std::string_view text)
{
    canvas.setFont("Courier New", 10, 0);
    canvas.moveTo(x, y);
    canvas.print(text);
    canvas.newLine();
}

// Yellow arrows pointing right, one every 10 pixels from y = 70 to 350. Each head is nine rows
// of lines from x = 30 that end one pixel earlier per row away from the shaft.
void sunlight(Canvas& canvas)
{
    canvas.setForeground(Yellow);
    for (float y = 70; y <= 350; y += 10) {
        canvas.moveTo(10, y);
        canvas.lineTo(30, y);
        for (int d = -4; d <= 4; ++d) {
            canvas.moveTo(30, y + static_cast<float>(d));
            canvas.lineTo(static_cast<float>(35 - std::abs(d)), y + static_cast<float>(d));
        }
    }
}

void earth(Canvas& canvas)
{
    canvas.pie(240, 175, 310, 244, turnsToRadians(0.25f), turnsToRadians(0.75f), Black, Blue,
               FillSolid);
    canvas.pie(241, 175, 309, 244, turnsToRadians(0.75f), turnsToRadians(0.25f), Black, Navy,
               FillSolid);

    canvas.setForeground(Yellow);
    canvas.setBackground(ColorNone);
    canvas.setFont("Courier New", 10, 0);
    const SizeF size = canvas.textSize("ERDE");
    canvas.moveTo(240 + (35 - size.width / 2) - 1, 175 + (35 - size.height / 2) - 1);
    canvas.print("ERDE");
    canvas.newLine();
}

void moonDiscs(Canvas& canvas)
{
    struct Corner {
        float x;
        float y;
    };
    // The eight places on the orbit, then the half Moons of the outer ring (top and bottom).
    constexpr Corner halfLit[] = {{176, 114}, {354, 114}, {265, 75},  {176, 286}, {354, 286},
                                  {265, 325}, {140, 200}, {389, 200}, {265, 45},  {265, 355}};
    for (const Corner& c : halfLit)
        halfLitDisc(canvas, c.x, c.y);
    fullDisc(canvas, 419, 200, Yellow);  // Full Moon
    fullDisc(canvas, 110, 200, Black);   // New Moon
}

// The orbit in eight pieces between the inner discs, and two arrows running counter-clockwise
// on a wider circle.
void orbit(Canvas& canvas)
{
    struct Span {
        float start;
        float end;
    };
    constexpr Span pieces[] = {{0.017f, 0.106f}, {0.14f, 0.232f},  {0.27f, 0.36f},
                               {0.395f, 0.484f}, {0.517f, 0.605f}, {0.64f, 0.731f},
                               {0.769f, 0.86f},  {0.895f, 0.984f}};
    for (const Span& s : pieces)
        canvas.arc(150, 85, 400, 335, turnsToRadians(s.start), turnsToRadians(s.end), Blue);

    canvas.arc(120, 55, 430, 365, turnsToRadians(0.425f), turnsToRadians(0.454f), Black);
    canvas.arc(120, 55, 430, 365, turnsToRadians(0.925f), turnsToRadians(0.954f), Black);
    constexpr PointF leftHead[] = {{124, 164}, {130, 165}, {124, 175}};
    constexpr PointF rightHead[] = {{419, 254}, {425, 255}, {425, 243}};
    canvas.polygon(leftHead, Black, Black, FillSolid, false);
    canvas.polygon(rightHead, Black, Black, FillSolid, false);
}

// The diagonal discs of the outer ring and their crescents: the mask lights the left edge of
// the dark discs (waxing and waning crescent) and darkens the right edge of the lit ones
// (gibbous Moons). The upper discs see the mask upside down.
void diagonalDiscs(Canvas& canvas)
{
    fullDisc(canvas, 375, 93, Yellow);
    fullDisc(canvas, 155, 93, Black);
    fullDisc(canvas, 375, 307, Yellow);
    fullDisc(canvas, 155, 307, Black);

    const long columns = maskNumber(crescentMask[0]);
    const long rows = maskNumber(crescentMask[1]);
    const auto w = static_cast<float>(columns);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            if (!crescentCellSet(r, c))
                continue;
            const auto row = static_cast<float>(r);
            const auto column = static_cast<float>(c);
            canvas.setPixel(154 + column, 113 - row, Yellow);
            canvas.setPixel(154 + column, 306 + row, Yellow);
            canvas.setPixel(375 + w - column, 113 - row, Black);
            canvas.setPixel(375 + w - column, 306 + row, Black);
        }
    }
}

}  // namespace

const std::array<std::string_view, CrescentMaskTexts> crescentMask = crescentTable();

long maskNumber(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    constexpr std::int32_t Limit = 1000000;  // far above any table size
    return std::clamp(events::roundedToInt32(events::readLeadingNumber(text)), -Limit, Limit);
}

bool crescentCellSet(int row, int column)
{
    const long columns = maskNumber(crescentMask[0]);
    if (row < 1 || column < 1 || column > columns)
        return false;
    const long index = 2 + (static_cast<long>(row) - 1) * columns + (column - 1);
    if (index >= static_cast<long>(crescentMask.size()))
        return false;
    return maskNumber(crescentMask[static_cast<std::size_t>(index)]) == 1;
}

void initPageCanvas(HWND dialog, int controlId)
{
    Canvas& canvas = attachCanvas(dialog, controlId, false);
    canvas.setForeground(Black);
    canvas.setBackground(LightBlueGrey);
    canvas.setFont("Courier New", 10, 0);
    canvas.setScale(0, 0, static_cast<float>(canvas.logicalWidth()),
                    static_cast<float>(canvas.logicalHeight()));
}

void drawPhaseDiagramPage(HWND dialog, int controlId)
{
    // Lines keep the pen width left on the canvas (one pixel).
    Canvas& canvas = attachCanvas(dialog, controlId, true);
    canvas.clear(LightBlueGrey, FillSolid);
    canvas.setForeground(Black);
    canvas.setBackground(ColorNone);

    canvas.moveTo(180, 2);
    canvas.setFont("Courier New", 16, FontBold);
    canvas.print("Die Mondphasen");
    canvas.newLine();

    label(canvas, 212, 25, "Letztes Viertel");
    label(canvas, 45, 203, "Neumond");
    label(canvas, 445, 203, "Vollmond");
    label(canvas, 222, 380, "Erstes Viertel");

    sunlight(canvas);
    earth(canvas);
    moonDiscs(canvas);
    orbit(canvas);
    diagonalDiscs(canvas);
    canvas.redraw();
}

}  // namespace display
