#include "app/dialog_template.hpp"

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

// The dialog manager wants UTF-16; the template's texts are plain ASCII.
void appendText(std::vector<BYTE>& out, std::string_view text)
{
    for (char c : text) {
        appendWord(out, static_cast<WORD>(static_cast<unsigned char>(c)));
    }
    appendWord(out, 0);
}

}  // namespace

std::vector<BYTE> buildDialogTemplate(const DialogTemplateSpec& spec)
{
    std::vector<BYTE> out(sizeof(TemplateHeader));
    const TemplateHeader header{spec.style, spec.extendedStyle, 0,
                                spec.x,     spec.y,             spec.width,
                                spec.height};
    std::memcpy(out.data(), &header, sizeof header);
    appendWord(out, 0);  // no menu
    appendWord(out, 0);  // the predefined dialog class
    appendText(out, spec.caption);
    if ((spec.style & DS_SETFONT) != 0) {
        appendWord(out, spec.fontPoints);
        appendText(out, spec.fontFace);
    }
    return out;
}

std::vector<BYTE> buildMainWindowTemplate()
{
    DialogTemplateSpec spec;
    // No sizing border and no maximise box: the window has a fixed size. It is created hidden
    // and shown when the message loop starts.
    spec.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS |
                 DS_CENTER | DS_SETFOREGROUND | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE |
                 DS_3DLOOK;
    spec.extendedStyle = WS_EX_CONTROLPARENT;
    spec.x = 39;
    spec.y = 2;
    spec.width = 457;
    spec.height = 328;
    spec.caption = " Lunavista";
    spec.fontPoints = 8;
    spec.fontFace = "MS Sans Serif";
    return buildDialogTemplate(spec);
}

}  // namespace app
