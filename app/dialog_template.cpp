#include "app/dialog_template.hpp"

#include "events/encoding.hpp"

#include <cstring>

namespace app {
namespace {

// The fixed part of the template as the dialog manager reads it: packed, 18 bytes.
#pragma pack(push, 2)
struct TemplateHeader {
    DWORD style;
    DWORD extendedStyle;
    WORD itemCount;
    short x;
    short y;
    short cx;
    short cy;
};
#pragma pack(pop)
static_assert(sizeof(TemplateHeader) == 18, "DLGTEMPLATE is 18 bytes");
static_assert(sizeof(TemplateHeader) == sizeof(DLGTEMPLATE));

void appendWord(std::vector<BYTE>& out, WORD value)
{
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>(value >> 8));
}

// The dialog manager reads UTF-16; the program's texts are Windows-1252.
void appendText(std::vector<BYTE>& out, std::string_view text)
{
    for (const char16_t c : events::utf16FromWindows1252(text)) {
        appendWord(out, static_cast<WORD>(c));
    }
    appendWord(out, 0);
}

}  // namespace

std::vector<BYTE> buildDialogTemplate(const DialogTemplateFields& layout)
{
    std::vector<BYTE> out(sizeof(TemplateHeader));
    const TemplateHeader header{layout.style, layout.extendedStyle, 0, layout.x, layout.y,
                                layout.width, layout.height};
    std::memcpy(out.data(), &header, sizeof header);
    appendWord(out, 0);  // no menu
    appendWord(out, 0);  // the predefined dialog class
    appendText(out, layout.caption);
    if ((layout.style & DS_SETFONT) != 0) {
        appendWord(out, layout.fontPoints);
        appendText(out, layout.fontFace);
    }
    return out;
}

std::vector<BYTE> buildMainWindowTemplate()
{
    DialogTemplateFields layout;
    // No sizing border and no maximise box: the window has a fixed size. It is created hidden
    // and shown when the message loop starts.
    layout.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS |
                   DS_CENTER | DS_SETFOREGROUND | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE |
                   DS_3DLOOK;
    layout.extendedStyle = WS_EX_CONTROLPARENT;
    layout.x = 39;
    layout.y = 2;
    layout.width = MainWindowWidthUnits;
    layout.height = MainWindowHeightUnits;
    layout.caption = " Lunavista";
    layout.fontPoints = 8;
    layout.fontFace = "MS Sans Serif";
    return buildDialogTemplate(layout);
}

}  // namespace app
