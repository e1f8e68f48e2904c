#include "app/link_handler.hpp"

#include "app/control_place.hpp"
#include "display/canvas.hpp"
#include "display/info_blocks.hpp"
#include "display/wide_text.hpp"

#include <shellapi.h>

namespace app {
namespace {

// Window-wide hover flags, one per link.
int webHover = 0;
int mailHover = 0;
ShellExecuteFunction shellExecute = ShellExecuteW;

constexpr INT_PTR FileNotFound = 2;

// The rectangle of a link in the window's client area: the canvas control's place, read as
// dialog units and converted back, plus the link's place on the canvas; one pixel is added to
// the vertical bounds and none to the horizontal ones. All bounds inclusive.
bool insideLink(HWND window, const display::LinkArea& link, LPARAM lParam)
{
    const int controlId = display::webLink().controlId;
    const ControlPlace place = controlPlace(window, controlId);
    // The link's place is in the page's 96-dpi units; the canvas knows its pixels.
    int left = link.left;
    int top = link.top;
    int width = link.width;
    int height = link.height;
    if (const display::Canvas* canvas = display::canvasOf(GetDlgItem(window, controlId))) {
        const auto x = static_cast<float>(link.left);
        const auto y = static_cast<float>(link.top);
        left = canvas->pixelX(x);
        top = canvas->pixelY(y);
        width = canvas->pixelX(x + static_cast<float>(link.width)) - left;
        height = canvas->pixelY(y + static_cast<float>(link.height)) - top;
    }
    return pointInside(lParam, place.left + left, place.top + 1 + top, width, height);
}

void drawLink(HWND window, const display::LinkArea& link, bool raised)
{
    const display::LinkArea& style = display::webLink();  // colours and font serve both links
    display::Canvas& canvas = display::attachCanvas(window, style.controlId, true);
    canvas.setForeground(raised ? style.raisedText : style.normalText);
    canvas.setBackground(raised ? style.raisedBackground : style.normalBackground);
    canvas.setFont(style.fontFace.view(), style.fontSize, style.fontStyle);
    canvas.moveTo(static_cast<float>(link.left), static_cast<float>(link.top));
    canvas.print(link.text.view());
    canvas.newLine();
    canvas.redraw();
}

void openWebLink(const display::LinkArea& link)
{
    const std::wstring address = display::wideText(trimmedLinkText(std::string(link.text.view())));
    const auto result = reinterpret_cast<INT_PTR>(
        shellExecute(nullptr, L"", L"firefox.exe", address.c_str(), L"", SW_SHOWNORMAL));
    if (result == FileNotFound) {
        // No such browser: the system's handler for web addresses opens it.
        shellExecute(nullptr, L"", address.c_str(), L"", L"", SW_SHOWNORMAL);
    }
}

void openMailLink(const display::LinkArea& link)
{
    const std::wstring target =
        display::wideText(mailtoAddress(trimmedLinkText(std::string(link.mailAddress.view()))));
    shellExecute(nullptr, L"Open", target.c_str(), L"", L"", SW_SHOWNORMAL);
}

void onMouseMove(HWND window, LPARAM lParam)
{
    const display::LinkArea& web = display::webLink();
    const display::LinkArea& mail = display::mailLink();
    if (insideLink(window, web, lParam) && mailHover == 0) {
        drawLink(window, web, true);
        webHover = 1;
    } else if (webHover == 1) {
        drawLink(window, web, false);
        webHover = 0;
    }
    // The second test sees the first link's flag as just updated.
    if (insideLink(window, mail, lParam) && webHover == 0) {
        drawLink(window, mail, true);
        mailHover = 1;
    } else if (mailHover == 1) {
        drawLink(window, mail, false);
        mailHover = 0;
    }
}

}  // namespace

std::string trimmedLinkText(const std::string& text)
{
    const auto stripped = [](char c) { return c == '\0' || c == ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && stripped(text[first])) {
        ++first;
    }
    while (last > first && stripped(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

std::string mailtoAddress(const std::string& mail)
{
    return "mailto:" + mail + "?subject=Programm:%20Lunavista";
}

void linkHandler(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_LBUTTONUP) {
        if (insideLink(window, display::webLink(), lParam)) {
            openWebLink(display::webLink());
            PostMessageA(window, WM_MOUSEMOVE, 0, 0);
        } else if (insideLink(window, display::mailLink(), lParam)) {
            openMailLink(display::mailLink());
            PostMessageA(window, WM_MOUSEMOVE, 0, 0);
        }
    } else if (message == WM_MOUSEMOVE) {
        onMouseMove(window, lParam);
    }
}

bool webLinkRaised()
{
    return webHover == 1;
}

bool mailLinkRaised()
{
    return mailHover == 1;
}

void resetLinks()
{
    webHover = 0;
    mailHover = 0;
}

ShellExecuteFunction setShellExecute(ShellExecuteFunction function)
{
    const ShellExecuteFunction previous = shellExecute;
    shellExecute = function != nullptr ? function : ShellExecuteW;
    return previous;
}

}  // namespace app
