// SPDX-License-Identifier: MIT
// Fuzzes the comma-separated field helpers and the bounded line reader that both file formats
// go through. The first input byte picks the line cap, the rest is the text.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "fuzz/check.h"

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional sign, digits with at most one decimal point, at least one digit. Counts the digits
// so that the floating-point oracle below is only trusted where a double is exact enough.
bool looksNumeric(std::string_view s, int& digits) {
    s = trimmed(s);
    digits = 0;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ++digits;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits > 0;
}

void checkSplitField(std::string_view line) {
    std::string field;
    std::string rest;
    kz::SplitField(line, field, rest);
    const std::size_t comma = line.find(',');
    const std::string_view head = comma == std::string_view::npos ? line : line.substr(0, comma);
    const std::string_view tail =
        comma == std::string_view::npos ? std::string_view{} : line.substr(comma + 1);
    KZ_FUZZ_CHECK(rest == tail);
    std::string_view expected = trimmed(head);
    if (expected.size() >= 2 && expected.front() == '"' && expected.back() == '"') {
        expected = expected.substr(1, expected.size() - 2);
    }
    KZ_FUZZ_CHECK(field == expected);

    // The helpers are called with the output aliasing the input.
    std::string aliased(line);
    kz::SplitField(aliased, field, aliased);
    KZ_FUZZ_CHECK(aliased == tail);
}

void checkReadIntField(std::string_view text) {
    std::string line(text);
    // Every call eats one field, so a line of k commas is used up after k + 1 calls.
    const std::size_t fieldCount =
        static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
    for (std::size_t i = 0; i < fieldCount; ++i) {
        std::string field;
        std::string rest;
        kz::SplitField(line, field, rest);
        std::int16_t value = 12345;
        const kz::FieldStatus status = kz::ReadIntField(line, value);
        KZ_FUZZ_CHECK(line == rest);

        int digits = 0;
        if (!looksNumeric(field, digits)) {
            KZ_FUZZ_CHECK(status == kz::FieldStatus::Ok && value == 0);
            continue;
        }
        if (status == kz::FieldStatus::OutOfRange) KZ_FUZZ_CHECK(value == 12345);
        // Up to 15 significant digits a double holds the decimal closely enough that
        // nearbyint (ties to even) decides every case the same way as exact arithmetic.
        const std::string plain(trimmed(field));
        const double parsed = std::strtod(plain.c_str(), nullptr);
        const double rounded = std::nearbyint(parsed);
        const bool inRange = rounded >= -32768.0 && rounded <= 32767.0;
        if (digits <= 15) {
            if (inRange) {
                KZ_FUZZ_CHECK(status == kz::FieldStatus::Ok);
                KZ_FUZZ_CHECK(value == static_cast<std::int16_t>(rounded));
            } else {
                KZ_FUZZ_CHECK(status == kz::FieldStatus::OutOfRange);
            }
        } else if (status == kz::FieldStatus::Ok) {
            KZ_FUZZ_CHECK(std::fabs(value - parsed) <= 0.5 + 1e-6);
        }
        if (status == kz::FieldStatus::Ok) {
            std::string written;
            kz::AppendIntField(written, value);
            KZ_FUZZ_CHECK(written.back() == ',');
            std::int16_t again = 0;
            KZ_FUZZ_CHECK(kz::ReadIntField(written, again) == kz::FieldStatus::Ok);
            KZ_FUZZ_CHECK(again == value && written.empty());
        }
    }
    std::int16_t value = 1;
    KZ_FUZZ_CHECK(line.empty());
    KZ_FUZZ_CHECK(kz::ReadIntField(line, value) == kz::FieldStatus::Ok && value == 0);
}

// Every terminator (CR LF, CR, LF) becomes one line break; a final terminator does not open
// another line.
std::vector<std::string> expectedLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.push_back(current);
            current.clear();
            open = false;
        } else {
            current.push_back(c);
            open = true;
        }
    }
    if (open) lines.push_back(current);
    return lines;
}

void checkReadLine(std::string_view text, std::size_t cap) {
    std::istringstream in{std::string(text)};
    const std::vector<std::string> expected = expectedLines(text);
    std::size_t index = 0;
    std::string line;
    for (;;) {
        const kz::LineStatus status = kz::ReadLine(in, line, cap);
        if (status == kz::LineStatus::End) {
            KZ_FUZZ_CHECK(index == expected.size());
            break;
        }
        KZ_FUZZ_CHECK(status != kz::LineStatus::Error);
        KZ_FUZZ_CHECK(index < expected.size());
        if (status == kz::LineStatus::TooLong) {
            KZ_FUZZ_CHECK(expected[index].size() > cap);
            break;
        }
        KZ_FUZZ_CHECK(line == expected[index]);
        ++index;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t cap = data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    checkReadLine(text, cap);
    checkReadLine(text, kz::kMaxLineLength);
    checkSplitField(text);
    checkReadIntField(text);
    return 0;
}
