#include "app/label_font.hpp"

#include "display/dpi.hpp"

#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <vector>

namespace app {

bool drawsTexts(const FaceFacts& face)
{
    return face.trueType ? face.glyphsPresent : face.charSet == ANSI_CHARSET;
}

FaceFacts faceFacts(HFONT font, const std::wstring& texts)
{
    FaceFacts facts{false, DEFAULT_CHARSET, false};
    const display::WindowDcOwner screen(nullptr);
    const display::SelectGuard selection(screen.get(), font);
    if (!selection.active()) {
        return facts;
    }
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(screen.get(), &metrics)) {
        facts.trueType = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
    }
    facts.charSet = GetTextCharset(screen.get());
    std::vector<WORD> glyphs(texts.size());
    facts.glyphsPresent =
        GetGlyphIndicesW(screen.get(), texts.c_str(), static_cast<int>(texts.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR &&
        std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
    return facts;
}

display::FontOwner createLabelFont(int dpi, const std::wstring& texts)
{
    LOGFONTW label{};
    label.lfHeight = -display::pointsToPixels(8, dpi);
    label.lfWeight = FW_DONTCARE;
    label.lfCharSet = DEFAULT_CHARSET;
    label.lfQuality = PROOF_QUALITY;
    display::FontOwner first;
    for (const wchar_t* face : {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma", L"Arial"}) {
        std::wcscpy(label.lfFaceName, face);
        display::FontOwner font(CreateFontIndirectW(&label));
        if (font && drawsTexts(faceFacts(font.get(), texts))) {
            return font;
        }
        if (!first) {
            first = std::move(font);
        }
    }
    return first;
}

}  // namespace app
