#include "app/page_layer.hpp"

#include "app/accessible_controls.hpp"
#include "app/control_ids.hpp"
#include "app/control_text.hpp"
#include "app/exe_location.hpp"
#include "app/page_buttons.hpp"
#include "astro/system_time.hpp"
#include "astro/time_scale.hpp"
#include "display/canvas.hpp"
#include "display/info_blocks.hpp"
#include "display/list_pages.hpp"
#include "display/phase_diagram.hpp"
#include "display/pointer.hpp"
#include "events/current_phase.hpp"
#include "events/event_sets.hpp"
#include "events/page_texts.hpp"

#include <iterator>
#include <string>
#include <vector>

namespace app {
namespace {

// Window-wide state of the page layer.
int page = 0;
int pointer = 0;
int pointerDivisions = events::PointerDivisions;

bool isPageCommand(int command)
{
    switch (command) {
    case IdButtonPhases:
    case CmdPhasesAlias:
    case IdButtonData:
    case CmdDataAlias:
    case IdButtonSource:
    case CmdSourceAlias:
        return true;
    default:
        return false;
    }
}

// Appends the second list of lines to the first.
void append(std::vector<std::string>& lines, std::vector<std::string> more)
{
    lines.insert(lines.end(), std::make_move_iterator(more.begin()),
                 std::make_move_iterator(more.end()));
}

// The shown page as text, in reading order: page 1 its title and where the Moon stands, pages 2
// and 3 the lines of their list (as the companion prints them) and their information block.
std::string pageTextAt(int shownPage, const astro::SystemTime& reading)
{
    std::vector<std::string> lines;
    switch (shownPage) {
    case 1:
        lines.emplace_back(pageButtonCaption(IdButtonPhases));
        append(lines, events::moonStateLinesAt(reading));
        break;
    case 2:
        lines = events::phaseListLinesAt(reading);
        append(lines, display::moonDataLines());
        break;
    case 3:
        lines = events::eclipseListLinesAt(reading);
        append(lines, display::sourceLines());
        break;
    default:
        break;
    }
    return events::joinedLines(lines);
}

// The drawing area's window text is what a screen reader reads of it. It is set when a page opens
// and on the minute update of the lists, never by the once-a-second refresh; a screen reader is
// told when it reads differently.
void showPageText(HWND window, const astro::SystemTime& reading)
{
    if (changeControlText(window, IdDrawingArea, pageTextAt(page, reading))) {
        raiseControlEvent(window, IdDrawingArea, EVENT_OBJECT_NAMECHANGE);
    }
}

void openPage(HWND window, int command)
{
    // One reading for the page drawn and its text.
    const astro::SystemTime reading = astro::readLocalClock();
    const int shownBefore = page;
    switch (command) {
    case IdButtonPhases:
    case CmdPhasesAlias:
        page = 1;
        display::drawPhaseDiagramPage(window, IdDrawingArea);
        // The refresh's page step draws the pointer into the fresh page.
        SendMessageA(window, RefreshMessage, 0, 0);
        break;
    case IdButtonData:
    case CmdDataAlias:
        page = 2;
        display::drawPhaseListPageAt(window, IdDrawingArea, display::ListGround::Clear, reading);
        display::drawMoonDataPage(window, IdDrawingArea);
        break;
    case IdButtonSource:
    case CmdSourceAlias:
        page = 3;
        // Drawing the source block also fills the link records the link handler reads.
        display::drawEclipseListPageAt(window, IdDrawingArea, display::ListGround::Clear, reading);
        display::drawSourcePage(window, IdDrawingArea);
        break;
    default:
        break;
    }
    showPageText(window, reading);
    // The shown page's tab is the selected one.
    if (page != shownBefore) {
        raiseControlEvent(window, pageButtonAt(page), EVENT_OBJECT_SELECTION);
    }
}

int focusedButton()
{
    return pageButtonAt(pageButtonState().buttonSelection);
}

int shownPageButton()
{
    return pageButtonAt(page);
}

}  // namespace

PageTabs pageTabs()
{
    return {focusedButton, shownPageButton, clickPageButton};
}

int currentPage()
{
    return page;
}

int pointerPosition()
{
    return pointer;
}

void pollPageButtons(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    pageButtonDispatcher(window, message, wParam, lParam, 0, ButtonRequest::Poll);
}

void startPages(HWND window, WPARAM wParam, LPARAM lParam)
{
    pageButtonDispatcher(window, WM_INITDIALOG, wParam, lParam, IdButtonPhases,
                         ButtonRequest::FirstDrawing);
    display::initPageCanvas(window, IdDrawingArea);
    display::drawPhaseDiagramPage(window, IdDrawingArea);
}

void redrawPageButtons(HWND window)
{
    // The buttons get their face and font again; the mouse move this posts shows the selection.
    pageButtonDispatcher(window, WM_NULL, 0, 0, 0, ButtonRequest::FirstDrawing);
}

void rescalePages(HWND window)
{
    redrawPageButtons(window);
    display::initPageCanvas(window, IdDrawingArea);
    switch (page) {
    case 2:
        openPage(window, IdButtonData);
        break;
    case 3:
        openPage(window, IdButtonSource);
        break;
    default:
        // The refresh that follows draws the pointer into it.
        display::drawPhaseDiagramPage(window, IdDrawingArea);
        break;
    }
}

void startPageTimer(HWND window)
{
    SetTimer(window, ListTimer, 60000, nullptr);
}

void onPageTimer(HWND window, UINT_PTR timer)
{
    if (timer != ListTimer) {
        return;
    }
    const astro::SystemTime reading = astro::readLocalClock();
    // The list is drawn over itself; the information block below it stays.
    if (page == 2) {
        display::drawPhaseListPageAt(window, IdDrawingArea, display::ListGround::Keep, reading);
    } else if (page == 3) {
        display::drawEclipseListPageAt(window, IdDrawingArea, display::ListGround::Keep, reading);
    }
    showPageText(window, reading);
}

void stopPageTimer(HWND window)
{
    KillTimer(window, ListTimer);
}

void onPageCommand(HWND window, int command, int source)
{
    if (command == CmdSaveBitmap) {
        saveDrawingBitmap(window);
        return;
    }
    if (isPageCommand(command) && (source == 0 || source == 1)) {
        openPage(window, command);
    }
}

void refreshPage(HWND window)
{
    if (page != 1) {
        return;
    }
    const events::PhaseSet next = events::nextPhasesFromTomorrow();
    const double percent = events::illuminatedFractionOfLocalClock(astro::currentJulianDay());
    pointer = events::pointerPositionFromFraction(percent, next[events::Phase::NewMoon],
                                                  next[events::Phase::FullMoon], pointerDivisions);
    display::drawPhasePointer(window, IdDrawingArea, pointer, pointerDivisions);
}

std::wstring snapshotPath(int pageNumber)
{
    return exeDirectory() + L"Lunavista_00" + std::to_wstring(pageNumber) + L".bmp";
}

void saveDrawingBitmap(HWND window)
{
    display::Canvas& canvas = display::attachCanvas(window, IdDrawingArea, false);
    if (page >= 1 && page <= 3) {
        canvas.saveBitmap(snapshotPath(page));
    }
}

void resetPageState()
{
    page = 0;
    pointer = 0;
    pointerDivisions = events::PointerDivisions;
    resetPageButtons();
}

}  // namespace app
