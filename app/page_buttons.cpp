#include "app/page_buttons.hpp"

#include "app/accessible_controls.hpp"
#include "app/control_ids.hpp"
#include "app/control_place.hpp"
#include "display/canvas.hpp"
#include "events/number_format.hpp"

namespace app {
namespace {

struct ButtonInfo {
    int id;
    const char* caption;
};

// Dispatch order.
constexpr ButtonInfo Buttons[] = {
    {IdButtonPhases, "Die Mondphasen"},
    {IdButtonData, "Monddaten"},
    {IdButtonSource, "Quelle"},
    {IdButtonExit, "Beenden"},
};
constexpr int ExitPosition = PageButtonCount + 1;

PageButtonState state{};
// The selection a screen reader was last told of as the focus.
int announcedSelection = 0;

int& hoverOf(int position)
{
    return state.hover[position - 1];
}

int& selectedOf(int position)
{
    return state.selected[position - 1];
}

struct CaptionPlace {
    int x0;
    int y0;
};

// A button's world is its place in the window's pixels (read back through dialog units, so it
// can be a pixel off the canvas's own size): the caption is centred with its size in pixels.
CaptionPlace captionPlace(display::Canvas& canvas, const ControlPlace& place, const char* caption)
{
    const display::SizeF size = canvas.textSizeInPixels(caption);
    return {events::nearestInt(place.width / 2.0 - static_cast<double>(size.width) / 2),
            events::nearestInt(place.height / 2.0 - static_cast<double>(size.height) / 2)};
}

// The background is opaque, so every print also repaints the cell behind its text: printing
// the caption in the face colour wipes it.
void printCaption(display::Canvas& canvas, int x, int y, const char* caption, display::Color colour,
                  display::Color face)
{
    canvas.setForeground(colour);
    canvas.setBackground(face);
    canvas.moveTo(static_cast<float>(x), static_cast<float>(y));
    canvas.print(caption);
    canvas.newLine();
}

void drawRaised(HWND window, int position, const ControlPlace& place)
{
    const ButtonInfo& button = Buttons[position - 1];
    const ButtonColours colours = buttonColours(selectedOf(position) == 1);
    display::Canvas& canvas = display::attachCanvas(window, button.id, true);
    const CaptionPlace at = captionPlace(canvas, place, button.caption);
    printCaption(canvas, at.x0, at.y0, button.caption, colours.face, colours.face);
    printCaption(canvas, at.x0 + 1, at.y0 + 1, button.caption, colours.raised, colours.face);
    canvas.redraw();
    hoverOf(position) = 1;
}

void drawNormal(HWND window, int position, const ControlPlace& place)
{
    const ButtonInfo& button = Buttons[position - 1];
    const ButtonColours colours = buttonColours(selectedOf(position) == 1);
    display::Canvas& canvas = display::attachCanvas(window, button.id, true);
    // With high contrast the selection has a face of its own: the whole face changes with it.
    if (highContrast()) {
        canvas.clear(colours.face, display::FillSolid);
    }
    const CaptionPlace at = captionPlace(canvas, place, button.caption);
    printCaption(canvas, at.x0 + 1, at.y0 + 1, button.caption, colours.face, colours.face);
    printCaption(canvas, at.x0, at.y0, button.caption, colours.caption, colours.face);
    canvas.redraw();
    hoverOf(position) = 0;
}

void drawFirstTime(HWND window, int position)
{
    const ButtonInfo& button = Buttons[position - 1];
    display::Canvas& canvas = display::attachCanvas(window, button.id, true);
    const ControlPlace place = controlPlace(window, button.id);
    canvas.setScale(0, 0, static_cast<float>(place.width), static_cast<float>(place.height));
    canvas.clear(buttonColours(false).face, display::FillSolid);
    canvas.setFont("Microsoft Sans Serif", 10, 0);
    canvas.redraw();
    hoverOf(position) = 1;
}

int positionOf(int buttonId)
{
    for (int position = 1; position <= ExitPosition; ++position) {
        if (Buttons[position - 1].id == buttonId) {
            return position;
        }
    }
    return 0;
}

// Selection moves with the keys; the change is shown by the request it turns into.
void onKeyCommand(int command)
{
    switch (command) {
    case CmdKeyUp:
        state.buttonSelection -= 1;
        if (state.buttonSelection <= 0) {
            state.buttonSelection = 1;
        }
        state.buttonSelectionChanged = 1;
        if (state.buttonNavMode == NavMode::ExitReached) {
            state.buttonNavMode = NavMode::Normal;
        }
        break;
    case CmdKeyDown:
        // Down never reaches the exit button.
        if (state.buttonNavMode == NavMode::Normal) {
            state.buttonSelection += 1;
            if (state.buttonSelection >= PageButtonCount) {
                state.buttonSelection = PageButtonCount;
            }
            state.buttonSelectionChanged = 1;
        }
        break;
    case CmdKeyEnter:
        state.buttonSelectionChanged = 1;
        if (state.buttonSelection == ExitPosition) {
            state.buttonNavMode = NavMode::EndingConfirmed;
        } else {
            state.buttonSelection = PageButtonCount;
        }
        break;
    case CmdKeyTab:
        state.buttonSelectionChanged = 1;
        if (state.buttonNavMode == NavMode::ExitReached) {
            state.buttonSelection = state.buttonSelectionSaved;
            state.buttonNavMode = NavMode::Normal;
        } else {
            state.buttonSelectionSaved = state.buttonSelection;
            state.buttonNavMode = NavMode::ExitReached;
            state.buttonSelection = ExitPosition;
        }
        break;
    default:
        break;
    }
}

}  // namespace

int pageButton(HWND window, UINT message, WPARAM, LPARAM lParam, int position,
               ButtonRequest request)
{
    if (position < 1 || position > ExitPosition) {
        return 0;
    }
    int result = 0;
    if (message == WM_LBUTTONUP || message == WM_MOUSEMOVE) {
        const ControlPlace place = controlPlace(window, Buttons[position - 1].id);
        const bool inside = pointInside(lParam, place.left, place.top, place.width, place.height);
        if (message == WM_LBUTTONUP) {
            if (inside) {
                result = Buttons[position - 1].id;
            }
        } else if (inside) {
            drawRaised(window, position, place);
        } else if (hoverOf(position) == 1) {
            drawNormal(window, position, place);
        }
    }

    // A posted mouse move at (0, 0), outside every button, makes each raised button draw its
    // normal look in its current colour: that is how selection changes become visible.
    switch (request) {
    case ButtonRequest::Select:
        hoverOf(position) = 1;
        selectedOf(position) = 1;
        PostMessageA(window, WM_MOUSEMOVE, 0, 0);
        break;
    case ButtonRequest::Deselect:
        hoverOf(position) = 1;
        selectedOf(position) = 0;
        PostMessageA(window, WM_MOUSEMOVE, 0, 0);
        break;
    case ButtonRequest::FirstDrawing:
        drawFirstTime(window, position);
        PostMessageA(window, WM_MOUSEMOVE, 0, 0);
        break;
    default:
        break;
    }
    return result;
}

namespace {

// Every button looks at the mouse message; a click selects its button (or ends the program).
void pollButtons(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (int position = 1; position <= ExitPosition; ++position) {
        const int clicked =
            pageButton(window, message, wParam, lParam, position, ButtonRequest::Poll);
        if (clicked != 0) {
            clickPageButton(window, clicked);
        }
    }
}

// The chosen button becomes the selected one, the others are drawn as not selected, and its
// command is posted (for the exit button only once the ending is confirmed).
void selectButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int buttonId,
                  ButtonRequest request)
{
    const int chosen = positionOf(buttonId);
    if (chosen == 0) {
        return;
    }
    for (int position = 1; position <= ExitPosition; ++position) {
        pageButton(window, message, wParam, lParam, position,
                   position == chosen ? ButtonRequest::Select : ButtonRequest::Deselect);
    }
    if (chosen == ExitPosition) {
        if (request == ButtonRequest::ExitClicked) {
            state.buttonNavMode = NavMode::EndingConfirmed;
        }
    } else {
        state.buttonSelection = chosen;
    }
    if (state.buttonSelection <= PageButtonCount ||
        state.buttonNavMode == NavMode::EndingConfirmed) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(buttonId, 0), 0);
    }
}

void drawButtonsFirstTime(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int buttonId)
{
    for (int position = 1; position <= ExitPosition; ++position) {
        pageButton(window, message, wParam, lParam, position, ButtonRequest::FirstDrawing);
    }
    if (buttonId != 0) {
        selectButton(window, message, wParam, lParam, buttonId, ButtonRequest::Select);
    }
}

}  // namespace

int pageButtonDispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int buttonId,
                         ButtonRequest request)
{
    if (message == WM_COMMAND) {
        onKeyCommand(LOWORD(wParam));
    }
    // A key moved the selection: that button is selected whatever was asked.
    if (state.buttonSelectionChanged == 1) {
        if (state.buttonSelection >= 1 && state.buttonSelection <= ExitPosition) {
            request = ButtonRequest::Select;
            buttonId = Buttons[state.buttonSelection - 1].id;
        }
        state.buttonSelectionChanged = 0;
    }

    switch (request) {
    case ButtonRequest::Poll:
        pollButtons(window, message, wParam, lParam);
        break;
    case ButtonRequest::Select:
    case ButtonRequest::ExitClicked:
        selectButton(window, message, wParam, lParam, buttonId, request);
        break;
    case ButtonRequest::FirstDrawing:
        drawButtonsFirstTime(window, message, wParam, lParam, buttonId);
        break;
    default:
        break;
    }
    // The keyboard selection is the focus a screen reader follows, whatever moved it (a click
    // runs the dispatcher once more inside the poll: the focus is told once).
    if (state.buttonSelection != announcedSelection) {
        announcedSelection = state.buttonSelection;
        raiseControlEvent(window, pageButtonAt(announcedSelection), EVENT_OBJECT_FOCUS);
    }
    return 0;
}

void clickPageButton(HWND window, int buttonId)
{
    // The mouse message plays no part in a selection: the click's own requests do it all.
    pageButtonDispatcher(
        window, WM_NULL, 0, 0, buttonId,
        buttonId == IdButtonExit ? ButtonRequest::ExitClicked : ButtonRequest::Select);
}

int pageButtonAt(int position)
{
    return position >= 1 && position <= ExitPosition ? Buttons[position - 1].id : 0;
}

std::string_view pageButtonCaption(int buttonId)
{
    const int position = positionOf(buttonId);
    return position == 0 ? std::string_view() : Buttons[position - 1].caption;
}

PageButtonState pageButtonState()
{
    return state;
}

void resetPageButtons()
{
    state = PageButtonState{};
    announcedSelection = 0;
}

}  // namespace app
