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

}  // namespace app
