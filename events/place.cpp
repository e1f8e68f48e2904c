#include "events/place.hpp"

#include "events/encoding.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace events {
namespace {

// Longer texts are no place anyone types; the limit keeps the reading of any text cheap.
constexpr std::size_t LongestPlaceText = 200;

// One character of a UTF-8 text at `pos`, moving `pos` past it; nullopt for a malformed sequence
// (an overlong form, a surrogate, a value beyond U+10FFFF or a cut-off sequence).
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0u) != 0x80u) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    static constexpr char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < shortest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return value;
}

// The characters of a UTF-8 text; nullopt where it is no valid UTF-8.
std::optional<std::u32string> utf8CodePoints(std::string_view text)
{
    std::u32string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::optional<char32_t> c = nextCodePoint(text, pos);
        if (!c) {
            return std::nullopt;
        }
        out += *c;
    }
    return out;
}

// The characters of a text: UTF-8 where it is valid, else each byte a Windows-1252 character
// (every byte has a character there, so the second reading always succeeds).
std::u32string codePoints(std::string_view text)
{
    std::optional<std::u32string> out = utf8CodePoints(text);
    return out ? *std::move(out) : utf8CodePoints(utf8FromWindows1252(text)).value_or(U"");
}

// ---- city names ----

// The ASCII letters of U+00C0..U+00FF without their accents; '*' marks the umlauts and ß, which
// get two letters, and '-' the two signs that are no letters.
constexpr std::string_view Latin1Letters =
    "aaaa*aaceeeeiiiidnoooo*-ouuu*yt*aaaa*aaceeeeiiiidnoooo*-ouuu*yty";
static_assert(Latin1Letters.size() == 64);

// The key a name is compared by: lower-case ASCII letters and digits, words separated by one
// blank. Umlauts become the vowel and e, or with `bareUmlauts` the bare vowel; ß (and ẞ) becomes
// ss; other accents are dropped, combining marks too (a combining diaeresis counts as the
// umlaut's e); anything else separates words.
std::string nameKey(std::u32string_view name, bool bareUmlauts)
{
    std::string key;
    bool blank = false;
    const auto letter = [&](std::string_view letters) {
        if (blank && !key.empty()) {
            key += ' ';
        }
        blank = false;
        key += letters;
    };
    for (const char32_t c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            letter(std::string(1, static_cast<char>(c)));
        } else if (c >= 'A' && c <= 'Z') {
            letter(std::string(1, static_cast<char>(c - 'A' + 'a')));
        } else if (c >= 0xC0 && c <= 0xFF && Latin1Letters[c - 0xC0] != '-') {
            const char plain = Latin1Letters[c - 0xC0];
            if (plain != '*') {
                letter(std::string(1, plain));
            } else if (c == 0xDF) {
                letter("ss");
            } else {
                // Ä Ö Ü ä ö ü
                const char vowel = c == 0xC4 || c == 0xE4   ? 'a'
                                   : c == 0xD6 || c == 0xF6 ? 'o'
                                                            : 'u';
                letter(bareUmlauts ? std::string(1, vowel) : std::string{vowel, 'e'});
            }
        } else if (c == 0x1E9E) {
            letter("ss");
        } else if (c == 0x0308) {
            if (!bareUmlauts) {
                letter("e");
            }
        } else if (c >= 0x0300 && c <= 0x036F) {
            // other combining accents: the letter before stands for itself
        } else {
            blank = true;
        }
    }
    return key;
}

std::string nameKey(std::string_view utf8, bool bareUmlauts)
{
    return nameKey(codePoints(utf8), bareUmlauts);
}

// ---- coordinates ----

enum class TokenKind { Number, Sign, Degrees, Minutes, Seconds, Letter, Separator };

struct Token {
    TokenKind kind = TokenKind::Number;
    double value = 0.0;     // Number
    bool fraction = false;  // Number: written with a decimal sign
    bool negative = false;  // Sign: minus
    char letter = 0;        // Letter: N, S, E or W (O for Ost becomes E)
};

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char32_t c)
{
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0x202F || c == 0x2009;
}

// The marks people type after degrees, minutes and seconds: the degree sign (and the ordinal
// indicator of the same key on many keyboards); the apostrophe, acute accent, prime and right
// single quotation mark; the quotation mark, double prime and right double quotation mark.
std::optional<TokenKind> markOf(char32_t c)
{
    switch (c) {
    case 0xB0:
    case 0xBA:
        return TokenKind::Degrees;
    case '\'':
    case 0xB4:
    case 0x2032:
    case 0x2019:
        return TokenKind::Minutes;
    case '"':
    case 0x2033:
    case 0x201D:
        return TokenKind::Seconds;
    default:
        return std::nullopt;
    }
}

// The text as tokens; false for a character that belongs to no coordinate. With `decimalComma`
// a comma between two digits is the decimal sign of a number that has none yet.
bool tokenize(std::u32string_view text, bool decimalComma, std::vector<Token>& tokens)
{
    tokens.clear();
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = text[i];
        if (isDigit(c)) {
            std::string digits;
            bool fraction = false;
            while (i < text.size()) {
                if (isDigit(text[i])) {
                    digits += static_cast<char>(text[i++]);
                } else if (!fraction && i + 1 < text.size() && isDigit(text[i + 1]) &&
                           (text[i] == '.' || (decimalComma && text[i] == ','))) {
                    digits += '.';
                    fraction = true;
                    ++i;
                } else {
                    break;
                }
            }
            Token token;
            const char* end = digits.data() + digits.size();
            const auto [stop, fault] = std::from_chars(digits.data(), end, token.value);
            if (stop != end || fault != std::errc()) {
                return false;
            }
            token.fraction = fraction;
            tokens.push_back(token);
            continue;
        }
        ++i;
        Token token;
        if (isBlank(c)) {
            continue;
        }
        if (c == '+' || c == '-' || c == 0x2212) {
            token.kind = TokenKind::Sign;
            token.negative = c != '+';
        } else if (const std::optional<TokenKind> mark = markOf(c)) {
            token.kind = *mark;
            // Two minute signs are the seconds sign.
            if (*mark == TokenKind::Minutes && !tokens.empty() &&
                tokens.back().kind == TokenKind::Minutes &&
                markOf(text[i - 2]) == TokenKind::Minutes) {
                tokens.back().kind = TokenKind::Seconds;
                continue;
            }
        } else if (c == ',' || c == ';' || c == '/') {
            token.kind = TokenKind::Separator;
        } else {
            static constexpr std::u32string_view letters = U"NnSsEeOoWw";
            const std::size_t at = letters.find(c);
            if (at == std::u32string_view::npos) {
                return false;
            }
            token.kind = TokenKind::Letter;
            token.letter = "NSEEW"[at / 2];
        }
        tokens.push_back(token);
    }
    return true;
}

enum class Axis { Unknown, Latitude, Longitude };

struct Coordinate {
    double degrees = 0.0;
    Axis axis = Axis::Unknown;
};

// One coordinate: [letter] [sign] degrees [°] [minutes ['] [seconds ["]]] [letter], with at most
// one letter and then no sign, a fraction only on the last number, and minutes and seconds below
// 60. Several numbers without any sign after them need the letter.
std::optional<Coordinate> coordinate(std::span<const Token> tokens)
{
    std::size_t i = 0;
    char letter = 0;
    const auto takeLetter = [&] {
        if (i < tokens.size() && tokens[i].kind == TokenKind::Letter && letter == 0) {
            letter = tokens[i++].letter;
        }
    };
    takeLetter();
    const bool signed_ = i < tokens.size() && tokens[i].kind == TokenKind::Sign;
    const bool negative = signed_ && tokens[i].negative;
    i += signed_ ? 1 : 0;
    double parts[3] = {};
    std::size_t count = 0;
    bool marked = false;
    bool fraction = false;
    while (i < tokens.size() && tokens[i].kind == TokenKind::Number) {
        if (count == std::size(parts) || fraction) {
            return std::nullopt;  // a fourth number, or one after a fraction
        }
        fraction = tokens[i].fraction;
        parts[count] = tokens[i++].value;
        const TokenKind mark = i < tokens.size() ? tokens[i].kind : TokenKind::Number;
        const std::size_t rank = mark == TokenKind::Degrees   ? 0
                                 : mark == TokenKind::Minutes ? 1
                                 : mark == TokenKind::Seconds ? 2
                                                              : count;
        if (rank != count) {
            return std::nullopt;  // the signs follow one another in order
        }
        if (mark == TokenKind::Degrees || mark == TokenKind::Minutes ||
            mark == TokenKind::Seconds) {
            marked = true;
            ++i;
        }
        ++count;
    }
    takeLetter();
    if (i != tokens.size() || count == 0 || (signed_ && letter != 0) ||
        (count > 1 && !marked && letter == 0) || parts[1] >= 60.0 || parts[2] >= 60.0) {
        return std::nullopt;
    }
    Coordinate c;
    c.degrees = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    if (negative || letter == 'S' || letter == 'W') {
        c.degrees = -c.degrees;
    }
    c.axis = letter == 0                      ? Axis::Unknown
             : letter == 'N' || letter == 'S' ? Axis::Latitude
                                              : Axis::Longitude;
    return c;
}

// Latitude and longitude from two coordinates: by their letters where they have them, else
// latitude first.
std::optional<GeoPlace> pair(const Coordinate& first, const Coordinate& second)
{
    if (first.axis != Axis::Unknown && first.axis == second.axis) {
        return std::nullopt;
    }
    const bool swapped = first.axis == Axis::Longitude || second.axis == Axis::Latitude;
    GeoPlace place;
    place.latitudeDeg = swapped ? second.degrees : first.degrees;
    place.longitudeDeg = swapped ? first.degrees : second.degrees;
    return place;
}

// Every way of reading the tokens as two coordinates: split at a separator, or between two
// tokens where none stands.
std::vector<GeoPlace> readings(const std::vector<Token>& tokens)
{
    std::vector<GeoPlace> found;
    const std::span<const Token> all(tokens);
    for (std::size_t split = 1; split < tokens.size(); ++split) {
        const bool separator = tokens[split].kind == TokenKind::Separator;
        const std::optional<Coordinate> first = coordinate(all.first(split));
        const std::optional<Coordinate> second =
            coordinate(all.subspan(separator ? split + 1 : split));
        if (first && second) {
            if (const std::optional<GeoPlace> place = pair(*first, *second)) {
                found.push_back(*place);
            }
        }
    }
    return found;
}

bool samePlace(const GeoPlace& a, const GeoPlace& b)
{
    return a.latitudeDeg == b.latitudeDeg && a.longitudeDeg == b.longitudeDeg;
}

bool readCoordinates(std::u32string_view text, GeoPlace& place, std::string& reason)
{
    std::vector<GeoPlace> found;
    std::vector<Token> tokens;
    if (tokenize(text, false, tokens)) {
        found = readings(tokens);
    }
    // The decimal comma, where a comma stands between two digits.
    bool commaBetweenDigits = false;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        commaBetweenDigits =
            commaBetweenDigits || (text[i] == ',' && isDigit(text[i - 1]) && isDigit(text[i + 1]));
    }
    if (commaBetweenDigits && tokenize(text, true, tokens)) {
        const std::vector<GeoPlace> withComma = readings(tokens);
        found.insert(found.end(), withComma.begin(), withComma.end());
    }
    if (found.empty()) {
        reason = "cannot be read as latitude and longitude";
        return false;
    }
    for (const GeoPlace& other : found) {
        if (!samePlace(other, found.front())) {
            reason =
                "reads as more than one place (is the comma a decimal comma? then separate "
                "latitude and longitude with a semicolon)";
            return false;
        }
    }
    if (std::fabs(found.front().latitudeDeg) > 90.0) {
        reason = "the latitude lies beyond 90 degrees north or south";
        return false;
    }
    if (std::fabs(found.front().longitudeDeg) > 180.0) {
        reason = "the longitude lies beyond 180 degrees east or west";
        return false;
    }
    place = found.front();
    return true;
}

}  // namespace

const City* cityNamed(std::string_view name)
{
    const std::string wanted = nameKey(name, false);
    if (wanted.empty()) {
        return nullptr;
    }
    for (const City& city : cityTable()) {
        std::string_view forms = city.otherNames;
        std::string_view form = city.name;
        while (true) {
            if (nameKey(form, false) == wanted || nameKey(form, true) == wanted) {
                return &city;
            }
            if (forms.empty()) {
                break;
            }
            const std::size_t bar = forms.find('|');
            form = forms.substr(0, bar);
            forms = bar == std::string_view::npos ? std::string_view() : forms.substr(bar + 1);
        }
    }
    return nullptr;
}

bool readPlace(std::string_view text, GeoPlace& place, std::string& reason)
{
    if (text.size() > LongestPlaceText) {
        reason = "is too long for a place";
        return false;
    }
    const std::u32string characters = codePoints(text);
    bool digits = false;
    bool empty = true;
    for (const char32_t c : characters) {
        digits = digits || isDigit(c);
        empty = empty && isBlank(c);
    }
    if (empty) {
        reason = "is empty";
        return false;
    }
    if (digits) {
        return readCoordinates(characters, place, reason);
    }
    const City* city = cityNamed(text);
    if (city == nullptr) {
        reason = "is no city known here and no latitude and longitude";
        return false;
    }
    place = GeoPlace{city->latitudeDeg, city->longitudeDeg, 0.0};
    return true;
}

std::string_view compassWord(double azimuthDeg)
{
    static constexpr std::string_view words[] = {"N", "NO", "O", "SO", "S", "SW", "W", "NW"};
    if (!std::isfinite(azimuthDeg)) {
        return {};
    }
    // Turned by half a sector, so that each sector starts at a multiple of 45 degrees.
    double turned = std::fmod(azimuthDeg + 22.5, 360.0);
    if (turned < 0.0) {
        turned += 360.0;
    }
    return words[static_cast<std::size_t>(turned / 45.0) % std::size(words)];
}

}  // namespace events
