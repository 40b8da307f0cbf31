// SPDX-License-Identifier: MIT
// Strict UTF-8 and control characters, for the readers of every file the program keeps.
#include "files/textline.h"

#include <algorithm>

namespace kz {

std::size_t Utf8Length(std::string_view s) {
    if (s.empty()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

bool IsTextLine(std::string_view line) {
    while (!line.empty()) {
        const auto c = static_cast<unsigned char>(line.front());
        if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
        const std::size_t length = Utf8Length(line);
        if (length == 0) return false;
        line.remove_prefix(length);
    }
    return true;
}

bool IsSingleLineText(std::string_view text) {
    while (!text.empty()) {
        const auto c0 = static_cast<unsigned char>(text[0]);
        const std::size_t length = Utf8Length(text);
        if (length == 0 || c0 < 0x20 || c0 == 0x7F) return false;
        const auto c1 = length > 1 ? static_cast<unsigned char>(text[1]) : 0;
        // U+0080..U+009F are C2 80..C2 9F; U+2028 and U+2029 are E2 80 A8 and E2 80 A9.
        if (c0 == 0xC2 && c1 <= 0x9F) return false;
        if (c0 == 0xE2 && c1 == 0x80 &&
            (static_cast<unsigned char>(text[2]) == 0xA8 ||
             static_cast<unsigned char>(text[2]) == 0xA9)) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

std::string SingleLineText(std::string_view bytes, std::size_t maxBytes) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string text;
    while (!bytes.empty()) {
        const std::size_t length = std::max<std::size_t>(1, Utf8Length(bytes));
        const std::string_view one = bytes.substr(0, length);
        const std::string_view kept = IsSingleLineText(one) ? one : kReplacement;
        if (text.size() + kept.size() > maxBytes) break;
        text += kept;
        bytes.remove_prefix(length);
    }
    return text;
}

}  // namespace kz
