#include "app/control_text.hpp"

#include "display/wide_text.hpp"

#include <string>

namespace app {

void setWindowText(HWND window, std::string_view text)
{
    SetWindowTextW(window, display::wideText(text).c_str());
}

void setControlText(HWND dialog, int controlId, std::string_view text)
{
    setWindowText(GetDlgItem(dialog, controlId), text);
}

bool changeControlText(HWND dialog, int controlId, std::string_view text)
{
    HWND control = GetDlgItem(dialog, controlId);
    const std::wstring wide = display::wideText(text);
    std::wstring current(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    current.resize(static_cast<std::size_t>(
        GetWindowTextW(control, current.data(), static_cast<int>(current.size()))));
    if (current == wide) {
        return false;
    }
    SetWindowTextW(control, wide.c_str());
    return true;
}

}  // namespace app
