#include "display/info_blocks.hpp"

#include "display/page_frame.hpp"
#include "display/palette.hpp"

#include "events/number_format.hpp"

#include <cmath>
#include <string>
#include <utility>

namespace display {
namespace {

LinkArea web;
LinkArea mail;

// A titled white box with a grey shadow on its right and bottom edges.
struct Block {
    std::string_view title;
    float x0;     // left edge of the contents
    float width;  // width the title is centred in
    float depth;  // frame depth below the first contents line
    float top;    // title line
};

constexpr Block MoonDataBlock{"Monddaten", 35, 446, 189, 145};
constexpr Block SourceBlock{"Quelle", 18, 484, 180, 160};

// Draws the title and the frame; returns the top of the first contents line.
float drawBlockFrame(Canvas& canvas, const Block& block)
{
    canvas.setForeground(Black);
    canvas.setBackground(ColorNone);

    canvas.setFont("Courier New", 16, FontBold);
    const float titleWidth = canvas.textSize(block.title).width;
    canvas.moveTo(block.x0 + (block.width / 2 - (titleWidth / 2 - 1)), block.top);
    canvas.print(block.title);
    canvas.newLine();
    canvas.setFont("Courier New", 10, 0);
    canvas.print("");
    canvas.newLine();

    const float py = canvas.position().y;
    const float left = block.x0 - 8;
    const float right = block.x0 + block.width + 8;
    const float bottom = py + block.depth;
    drawShadowedFrame(canvas, left, py, right, bottom);
    return py;
}

// The start of both blocks: canvas attached with the page's colours and font.
Canvas& startBlock(HWND dialog, int controlId)
{
    Canvas& canvas = attachCanvas(dialog, controlId, true);
    canvas.setForeground(Black);
    canvas.setBackground(LightBlueGrey);
    canvas.setFont("Courier New", 10, 0);
    return canvas;
}

// A text after the value of a row: an exponent raised by 4 pixels in 9 pt, or a unit on the
// value line in 10 pt.
struct Extra {
    std::string_view text;
    float offset;  // from the left edge of the table
    float raise;
    int points;
};

struct MoonFact {
    std::string_view label;
    float valueOffset;
    std::string_view value;
    std::array<Extra, 3> extras;
    int extraCount;
    float gap;  // below the row
};

constexpr float TableLeft = 35;

// The volume reads 2,199 x 10^10 km^3 and the mass 7,350 x 10^22 kg, with raised exponents.
// clang-format off
constexpr MoonFact MoonFacts[] = {
    {"Gr\xF6\xDF" "te Entfernung zur Erde", 371, "406740 km", {}, 0, 2},
    {"Mittlere Entfernung zur Erde", 371, "384403 km", {}, 0, 2},
    {"Kleinste Entfernung zur Erde", 371, "356410 km", {}, 0, 2},
    {"Umfang", 380, "10920 km", {}, 0, 4},
    {"Volumen", 318, "2,199 * 10",
     {{{"10", 399, 4, 9}, {"km", 421, 0, 10}, {"3", 438, 4, 9}}}, 3, 8},
    {"Masse", 325, "7,350 * 10", {{{"22", 406, 4, 9}, {"kg", 428, 0, 10}}}, 2, 2},
    {"Oberfl\xE4" "chentemperatur bei Vollmond", 397, "+120\xB0" "C", {}, 0, 2},
    {"Oberfl\xE4" "chentemperatur bei Neumond", 397, "-130\xB0" "C", {}, 0, 2},
    {"Synodische Umlaufzeit in mittleren Tagen", 381, "29,53059", {}, 0, 2},
    {"Siderische Umlaufzeit in mittleren Tagen", 381, "27,32166", {}, 0, 0},
};
// clang-format on

// The source block's lines, each centred; the ruler and the web and mail links are found by
// their index.
const std::string Hyphens(96, '-');
const std::string_view SourceLines[] = {
    "Der Algorithmus zur Mondphasenberechnung stammt aus dem Buch:",
    "Astronomische Algorithmen",
    "von Jean Meeus.",
    "Verlag Johann Ambrosius Barth, Leipzig, Berlin, Heidelberg 2. Auflage 1994.",
    "ISBN 3-335-00400-0",
    Hyphens,
    "Das Programm ist eine \xDC"
    "bersetzung der Homepage hier:",
    HomepageLine,
    AuthorLine,
    ProgramLine,
};
constexpr std::size_t RulerLine = 5;
constexpr std::size_t WebLinkLine = 7;
constexpr std::size_t MailLinkLine = 8;

constexpr float PageCentreLeft = 18 + 242;  // the lines centre on x = 261

}  // namespace

LinkArea& webLink()
{
    return web;
}

LinkArea& mailLink()
{
    return mail;
}

void resetLinkAreas()
{
    web = LinkArea{};
    mail = LinkArea{};
}

void drawMoonDataPage(HWND dialog, int controlId)
{
    Canvas& canvas = startBlock(dialog, controlId);
    float y = drawBlockFrame(canvas, MoonDataBlock);

    for (const MoonFact& fact : MoonFacts) {
        canvas.moveTo(TableLeft, y);
        canvas.print(fact.label);
        canvas.newLine();
        canvas.moveTo(TableLeft + fact.valueOffset, y);
        canvas.print(fact.value);
        canvas.newLine();
        for (int i = 0; i < fact.extraCount; ++i) {
            const Extra& extra = fact.extras[static_cast<std::size_t>(i)];
            canvas.moveTo(TableLeft + extra.offset, y - extra.raise);
            canvas.setFont("Courier New", extra.points, 0);
            canvas.print(extra.text);
            canvas.newLine();
        }
        // After a raised exponent the next row counts from the exponent's line.
        if (fact.extraCount > 0)
            canvas.setFont("Courier New", 10, 0);
        y = canvas.position().y + fact.gap;
    }
    canvas.redraw();
}

void drawSourcePage(HWND dialog, int controlId)
{
    Canvas& canvas = startBlock(dialog, controlId);
    const float py = drawBlockFrame(canvas, SourceBlock);

    constexpr const char* LinkFont = "Microsoft Sans Serif";
    constexpr int LinkFontSize = 9;
    canvas.setFont(LinkFont, LinkFontSize, 0);
    float y = py + 2;
    for (std::size_t i = 0; i < std::size(SourceLines); ++i) {
        const SizeF size = canvas.textSize(SourceLines[i]);
        const float x = PageCentreLeft - (size.width / 2 - 1);
        canvas.moveTo(x, y);
        // The pixel the text starts at: the link rectangles are measured from it.
        const PointF start = canvas.position();
        canvas.print(SourceLines[i]);
        canvas.newLine();

        if (i == WebLinkLine) {
            web.controlId = controlId;
            web.left = events::nearestInt(start.x) - 1;
            web.top = events::nearestInt(start.y);
            web.width = events::nearestInt(size.width);
            web.height = events::nearestInt(size.height);
            web.normalText = Black;
            web.normalBackground = White;
            web.raisedText = Blue;
            web.raisedBackground = White;
            web.fontFace.assign(LinkFont);
            web.fontSize = LinkFontSize;
            web.fontStyle = 0;
            web.text.assign(SourceLines[i]);
        } else if (i == MailLinkLine) {
            mail.left = events::nearestInt(start.x);
            mail.top = events::nearestInt(start.y);
            mail.width = events::nearestInt(size.width);
            mail.height = events::nearestInt(size.height);
            mail.text.assign(SourceLines[i]);
            mail.mailAddress.assign(AuthorMailAddress);
        }
        y = canvas.position().y + 2;
    }
    canvas.redraw();
}

std::vector<std::string> moonDataLines()
{
    std::vector<std::string> lines{std::string(MoonDataBlock.title)};
    for (const MoonFact& fact : MoonFacts) {
        std::string row(fact.label);
        row += '\t';
        row += fact.value;
        for (int i = 0; i < fact.extraCount; ++i) {
            const Extra& extra = fact.extras[static_cast<std::size_t>(i)];
            row += extra.raise > 0 ? '^' : ' ';
            row += extra.text;
        }
        lines.push_back(std::move(row));
    }
    return lines;
}

std::vector<std::string> sourceLines()
{
    std::vector<std::string> lines{std::string(SourceBlock.title)};
    for (std::size_t i = 0; i < std::size(SourceLines); ++i) {
        if (i != RulerLine) {
            lines.emplace_back(SourceLines[i]);
        }
    }
    return lines;
}

}  // namespace display
