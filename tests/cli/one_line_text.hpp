// What the companion's messages must be, read independently of the code that writes them.
#pragma once

#include <cstddef>
#include <string_view>

namespace cli::test {

// One line of UTF-8 text without a control character (C0, DEL, C1): a terminal shows it as it
// is. Empty text is not a message.
inline bool isOneLineOfText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > text.size() || lead < 0x20 || lead == 0x7F ||
            (lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return !text.empty();
}

}  // namespace cli::test
