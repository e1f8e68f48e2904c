#include "app/window_fonts.hpp"

#include "app/control_ids.hpp"
#include "app/control_layout.hpp"
#include "app/label_font.hpp"
#include "display/dpi.hpp"
#include "display/gdi_owner.hpp"
#include "display/wide_text.hpp"

#include <cwchar>
#include <string>
#include <utility>

namespace app {
namespace {

display::FontOwner labelFont;
display::FontOwner headingFont;

}  // namespace

void createFonts(HWND dialog, int dpi)
{
    static const std::wstring texts = display::wideText(labelTexts());
    display::FontOwner freshLabel = createLabelFont(dpi, texts);

    LOGFONTW heading{};
    heading.lfHeight = -display::pointsToPixels(16, dpi);
    heading.lfWeight = FW_NORMAL;
    heading.lfCharSet = ANSI_CHARSET;
    std::wcscpy(heading.lfFaceName, L"Microsoft Sans Serif");
    display::FontOwner freshHeading(CreateFontIndirectW(&heading));

    for (const ControlLayout& layout : mainWindowControls()) {
        const HFONT font = layout.id == IdHeading ? freshHeading.get() : freshLabel.get();
        SendMessageW(GetDlgItem(dialog, layout.id), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                     FALSE);
    }
    // The controls no longer use the fonts these replace.
    labelFont = std::move(freshLabel);
    headingFont = std::move(freshHeading);
}

void releaseFonts()
{
    labelFont = display::FontOwner();
    headingFont = display::FontOwner();
}

}  // namespace app
