// SPDX-License-Identifier: MIT
// Fuzzes the problem-file reader: whatever the bytes, it either yields 81 digits that survive
// a write and a second read unchanged, or fails without touching the caller's board.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/board.h"
#include "core/fields.h"
#include "files/fileio.h"
#include "fuzz/check.h"

namespace {

// Whether a line is text, decided apart from the reader's own check: each sequence is decoded
// to its code point, which must be in its shortest form, a scalar value, and no control
// character other than TAB.
bool isText(const std::string& line) {
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < line.size();) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const std::size_t n = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        if (n == 0 || i + n > line.size()) return false;
        std::uint32_t cp = n == 1 ? lead : lead & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto next = static_cast<unsigned char>(line[i + k]);
            if ((next >> 6) != 0x2) return false;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if ((cp < 0x20 && cp != '\t') || cp == 0x7F) return false;
        i += n;
    }
    return true;
}

// What the reader should make of the text, rebuilt from the line reader and the field
// helpers: the first nine lines, all text, the first nine fields of each, every value 0..9.
bool expectedValues(const std::string& text, kz::ValueArray16& values) {
    std::istringstream in(text);
    std::string line;
    for (int row = 0; row < 9; ++row) {
        if (kz::ReadLine(in, line) != kz::LineStatus::Ok || !isText(line)) return false;
        for (int column = 1; column <= 9; ++column) {
            std::int16_t value = 0;
            if (kz::ReadIntField(line, value) != kz::FieldStatus::Ok) return false;
            if (value < 0 || value > 9) return false;
            values[9 * row + column] = value;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // A board no file can produce, so any write to it shows.
    kz::ValueArray16 before{};
    for (int n = 0; n < kz::kArraySize; ++n) before[n] = static_cast<std::int16_t>(-100 - n);
    kz::ValueArray16 values = before;
    std::istringstream in(text);
    const kz::FileResult result = kz::ReadProblemStream(in, values);

    kz::ValueArray16 expected = before;
    const bool expectOk = expectedValues(text, expected);
    KZ_FUZZ_CHECK(result.ok == expectOk);
    KZ_FUZZ_CHECK(result.ok == result.error.empty());
    if (!result.ok) {
        KZ_FUZZ_CHECK(values == before);
        return 0;
    }
    for (int n = 1; n <= kz::kCellCount; ++n) KZ_FUZZ_CHECK(values[n] == expected[n]);

    const std::string written = kz::FormatProblem(values);
    KZ_FUZZ_CHECK(written.size() == 180);
    kz::ValueArray16 reread = before;
    std::istringstream again(written);
    KZ_FUZZ_CHECK(kz::ReadProblemStream(again, reread).ok);
    for (int n = 1; n <= kz::kCellCount; ++n) KZ_FUZZ_CHECK(reread[n] == values[n]);
    return 0;
}
