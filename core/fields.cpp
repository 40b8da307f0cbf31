// SPDX-License-Identifier: MIT
// Comma-terminated field lines and the bounded line reader shared by both file formats.
#include "core/fields.h"

#include <limits>

namespace kz {

namespace {

std::string_view trimBlanks(std::string_view s) {
    // Only U+0020 counts: a tab or a no-break space makes the field non-numeric, as it always
    // has for these files.
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Parse { NotNumeric, Ok, OutOfRange };

// Exact decimal parse with round-half-to-even; going through a double would misround
// values such as 32767.5000000000001 and accept forms (exponents, hex) that are not ours.
Parse parseNumber(std::string_view s, std::int16_t& out) {
    s = trimBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Anything beyond this can only be out of range; the cap keeps the sum from overflowing.
    constexpr long kHuge = 1'000'000;
    long whole = 0;
    bool sawDigit = false;
    std::size_t i = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        sawDigit = true;
        if (whole < kHuge) whole = whole * 10 + (s[i] - '0');
    }
    int firstFraction = -1;  // first digit after the point, -1 when there is none
    bool laterNonZero = false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        for (; i < s.size() && isDigit(s[i]); ++i) {
            sawDigit = true;
            if (firstFraction < 0) {
                firstFraction = s[i] - '0';
            } else if (s[i] != '0') {
                laterNonZero = true;
            }
        }
    }
    if (!sawDigit || i != s.size()) return Parse::NotNumeric;

    if (firstFraction > 5 || (firstFraction == 5 && (laterNonZero || whole % 2 == 1))) {
        ++whole;
    }
    const long value = negative ? -whole : whole;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return Parse::OutOfRange;
    }
    out = static_cast<std::int16_t>(value);
    return Parse::Ok;
}

}  // namespace

void SplitField(std::string_view line, std::string& field, std::string& rest) {
    const std::size_t comma = line.find(',');
    std::string_view head = line;
    std::string_view tail;
    if (comma != std::string_view::npos) {
        head = line.substr(0, comma);
        tail = line.substr(comma + 1);
    }
    head = trimBlanks(head);
    if (head.size() >= 2 && head.front() == '"' && head.back() == '"') {
        head = head.substr(1, head.size() - 2);
    }
    // Build `rest` before `field`: either may alias the caller's line.
    std::string newRest(tail);
    field.assign(head);
    rest = std::move(newRest);
}

FieldStatus ReadIntField(std::string& line, std::int16_t& value) {
    std::string field;
    std::string rest;
    SplitField(line, field, rest);
    line = std::move(rest);
    std::int16_t parsed = 0;
    switch (parseNumber(field, parsed)) {
        case Parse::OutOfRange:
            return FieldStatus::OutOfRange;
        case Parse::NotNumeric:
            value = 0;
            return FieldStatus::Ok;
        case Parse::Ok:
            break;
    }
    value = parsed;
    return FieldStatus::Ok;
}

void AppendIntField(std::string& line, std::int16_t value) {
    line += std::to_string(value);
    line += ',';
}

LineStatus ReadLine(std::istream& in, std::string& line, std::size_t cap) {
    line.clear();
    if (in.bad()) return LineStatus::Error;
    if (!in.good()) return in.eof() ? LineStatus::End : LineStatus::Error;
    std::streambuf* buf = in.rdbuf();
    if (buf == nullptr) {
        in.setstate(std::ios::badbit);
        return LineStatus::Error;
    }
    using Traits = std::streambuf::traits_type;
    bool any = false;
    try {
        for (;;) {
            const Traits::int_type c = buf->sbumpc();
            if (Traits::eq_int_type(c, Traits::eof())) {
                in.setstate(std::ios::eofbit);
                return any ? LineStatus::Ok : LineStatus::End;
            }
            any = true;
            const char ch = Traits::to_char_type(c);
            if (ch == '\n') return LineStatus::Ok;
            if (ch == '\r') {
                if (Traits::eq_int_type(buf->sgetc(), Traits::to_int_type('\n'))) buf->sbumpc();
                return LineStatus::Ok;
            }
            // Stop at the cap instead of reading on: a file without line breaks must not be
            // pulled into memory whole.
            if (line.size() >= cap) return LineStatus::TooLong;
            line.push_back(ch);
        }
    } catch (...) {
        in.setstate(std::ios::badbit);
        return LineStatus::Error;
    }
}

bool ReadIntNumber(std::string_view text, std::int16_t& value) {
    return parseNumber(text, value) == Parse::Ok;
}

}  // namespace kz
