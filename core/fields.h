// SPDX-License-Identifier: MIT
// Comma-terminated field lines, the syntax of both of the program's own files, and the
// bounded line reader both files are read with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace kz {

/// Splits off the first field of `line` (up to the first comma), trimmed of U+0020 and
/// stripped of one outer pair of double quotes; `rest` is what follows the comma.
void SplitField(std::string_view line, std::string& field, std::string& rest);

/// Why a field could not be read.
enum class FieldStatus {
    Ok,          ///< value holds the field (0 for a field that is not numeric)
    OutOfRange,  ///< numeric, but outside -32768..32767 after rounding
};

/// Takes the first field off `line` (which becomes the rest) and reads it: a numeric field
/// (optional sign, digits with an optional decimal point, blanks around) is rounded half to
/// even; any other field, the empty one included, reads as 0. On OutOfRange `value` is
/// untouched.
[[nodiscard]] FieldStatus ReadIntField(std::string& line, std::int16_t& value);

/// Appends the decimal form of value and a comma.
void AppendIntField(std::string& line, std::int16_t value);

/// Longest line the readers accept; a longer one fails the read instead of eating memory.
inline constexpr std::size_t kMaxLineLength = 64 * 1024;

enum class LineStatus {
    Ok,       ///< a line was read (possibly the last one, without a line end)
    End,      ///< the stream was already at its end: no line
    TooLong,  ///< the line exceeds the cap
    Error,    ///< the stream failed
};

/// Reads one line ended by CR LF, a lone CR or a lone LF (the terminator is not stored).
LineStatus ReadLine(std::istream& in, std::string& line, std::size_t cap = kMaxLineLength);

/// Reads all of `text` as one number by the numeric rule of ReadIntField (blanks around,
/// optional sign, digits with an optional point, half to even), for input that is a single
/// value rather than a field line. False when it is not numeric or out of range.
[[nodiscard]] bool ReadIntNumber(std::string_view text, std::int16_t& value);

}  // namespace kz
