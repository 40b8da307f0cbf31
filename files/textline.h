// SPDX-License-Identifier: MIT
// What the readers of the program's own files accept as text: UTF-8 in its strict form, and
// which characters count as control characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kz {

/// Length of the UTF-8 sequence at the start of `s`, or 0 when it is not one (overlong forms,
/// surrogates and code points past U+10FFFF included).
std::size_t Utf8Length(std::string_view s);

/// UTF-8 (ASCII included) without control characters other than the tab.
bool IsTextLine(std::string_view line);

/// UTF-8 without any control character (the tab included, and the C1 controls) and without
/// the Unicode line and paragraph separators: text that stays on one line wherever it is shown.
bool IsSingleLineText(std::string_view text);
/// Any bytes made into text IsSingleLineText accepts, at most `maxBytes` long: each character
/// it would refuse, and each byte that is not UTF-8, becomes U+FFFD; the text is cut after
/// the last whole character that fits.
std::string SingleLineText(std::string_view bytes, std::size_t maxBytes);

}  // namespace kz
