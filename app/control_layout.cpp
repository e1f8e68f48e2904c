#include "app/control_layout.hpp"

#include "app/colour_scheme.hpp"
#include "app/control_ids.hpp"
#include "display/gdi_owner.hpp"
#include "display/palette.hpp"
#include "events/countdown.hpp"
#include "events/current_phase.hpp"

#include <initializer_list>
#include <utility>
#include <vector>

namespace app {
namespace {

constexpr DWORD Centred = SS_CENTER | SS_CENTERIMAGE;
constexpr DWORD Left = SS_LEFT | SS_CENTERIMAGE;
constexpr DWORD Edge = WS_EX_STATICEDGE;
constexpr DWORD Graphic = SS_OWNERDRAW;
constexpr display::Color Default = display::ColorDefault;
using display::Black;
using display::HeadingYellow;
using display::LightBlueGrey;
using display::White;

// Places in dialog units of "MS Sans Serif" 8 pt. A label on a ground of its own has a text
// colour of its own: the system's text colour could be that of a dark scheme, white on white.
// The two rows at y 35 and y 50 read as lines:
// the nearest phase with days, hours, minutes and seconds (each value box followed by its unit
// box), and the caption of the lit fraction with the gauge that lies over the hidden value label.
constexpr ControlLayout Controls[] = {
    {IdHeading, ControlKind::Label, "Lunavista", 110, 5, 240, 20, Centred, 0, HeadingYellow,
     display::ColorNone},
    {IdEventText, ControlKind::Label, "", 95, 35, 130, 10, Left, Edge, Black, White},
    {IdSpacer, ControlKind::Label, "", 225, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdDays, ControlKind::Label, "", 235, 35, 20, 10, Centred, Edge, Black, White},
    {IdDaysUnit, ControlKind::Label, "d ", 255, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdHours, ControlKind::Label, "", 265, 35, 20, 10, Centred, Edge, Black, White},
    {IdHoursUnit, ControlKind::Label, "h ", 285, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdMinutes, ControlKind::Label, "", 295, 35, 20, 10, Centred, Edge, Black, White},
    {IdMinutesUnit, ControlKind::Label, "m ", 315, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdSeconds, ControlKind::Label, "", 325, 35, 20, 10, Centred, Edge, Black, White},
    {IdSecondsUnit, ControlKind::Label, "s ", 345, 35, 10, 10, Centred, Edge, Black, LightBlueGrey},
    {IdLitCaption, ControlKind::Label, " Beleuchteter Teil der Mondscheibe: ", 95, 50, 145, 10,
     Left, Edge, Black, White},
    {IdLitValue, ControlKind::Label, "", 240, 50, 100, 10, Centred, Edge, Black, White},
    {IdLitPercent, ControlKind::Label, "%", 340, 50, 15, 10, Centred, Edge, Black, White},
    {IdDrawingArea, ControlKind::Graphic, nullptr, 10, 70, 348, 246, Graphic | WS_BORDER, 0,
     Default, Default},
    {IdButtonData, ControlKind::Graphic, nullptr, 370, 250, 75, 15, Graphic, 0, Default, Default},
    {IdButtonSource, ControlKind::Graphic, nullptr, 370, 270, 75, 15, Graphic, 0, Default, Default},
    {IdButtonExit, ControlKind::Graphic, nullptr, 370, 295, 75, 20, Graphic, 0, Default, Default},
    {IdButtonPhases, ControlKind::Graphic, nullptr, 370, 230, 75, 15, Graphic, 0, Default, Default},
    {IdClock, ControlKind::Graphic, nullptr, 370, 71, 75, 69, Graphic, 0, Default, Default},
    {IdCountdownDial, ControlKind::Graphic, nullptr, 380, 15, 54, 50, Graphic, 0, Default, Default},
    {IdLitGauge, ControlKind::Graphic, nullptr, 240, 50, 100, 10, Graphic, Edge, Default, Default},
};

// The solid brushes of the grounds the labels and the window answer with: the program's own
// colours at first, the system's ones too once they are asked for.
std::vector<std::pair<COLORREF, display::BrushOwner>> brushes;

HBRUSH brushFor(COLORREF colour)
{
    for (const auto& [brushColour, brush] : brushes) {
        if (brushColour == colour) {
            return brush.get();
        }
    }
    brushes.emplace_back(colour, display::BrushOwner(CreateSolidBrush(colour)));
    return brushes.back().second.get();
}

// The program's own grounds, made with the window (the system's ones when first asked for).
void makeGroundBrushes()
{
    brushes.clear();
    for (const display::Color ground : {display::NightBlue, White, LightBlueGrey}) {
        brushFor(static_cast<COLORREF>(ground));
    }
}

// Every text the count-down's labels can show: the event line of each phase, coming and past,
// and the days' digits (the other parts are written the same way).
std::string phaseLabelTexts()
{
    std::string texts;
    for (const events::Phase phase : {events::Phase::NewMoon, events::Phase::FirstQuarter,
                                      events::Phase::FullMoon, events::Phase::LastQuarter}) {
        texts += events::eventLineText(phase, 1.0);
        texts += events::eventLineText(phase, -1.0);
    }
    for (int days = 0; days <= 9; ++days) {
        texts += events::countdownParts(days).daysText;
    }
    return texts;
}

}  // namespace

std::span<const ControlLayout> mainWindowControls()
{
    return Controls;
}

const ControlLayout* findControlLayout(int id)
{
    for (const ControlLayout& layout : Controls) {
        if (layout.id == id) {
            return &layout;
        }
    }
    return nullptr;
}

std::string labelTexts()
{
    std::string texts;
    for (const ControlLayout& layout : Controls) {
        if (layout.kind == ControlKind::Label && layout.id != IdHeading) {
            texts += layout.text;
        }
    }
    return texts + phaseLabelTexts();
}

INT_PTR answerStaticColour(HDC dc, HWND control)
{
    const ControlLayout* layout = findControlLayout(GetDlgCtrlID(control));
    if (layout == nullptr) {
        return 0;
    }
    const LabelColours colours = labelColours(layout->textColour, layout->backgroundColour);
    SetTextColor(dc, colours.text);
    if (colours.transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, colours.background);
    return reinterpret_cast<INT_PTR>(brushFor(colours.background));
}

HBRUSH windowGroundBrush()
{
    return brushFor(windowGround());
}

void takeColourScheme()
{
    refreshColourScheme();
    makeGroundBrushes();
}

void followColourScheme(HWND window)
{
    takeColourScheme();
    InvalidateRect(window, nullptr, TRUE);
}

void releaseGroundBrushes()
{
    brushes.clear();
}

}  // namespace app
