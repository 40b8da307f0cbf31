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

// What the reader should make of the text, rebuilt from the line reader and the field
// helpers: the first nine lines, the first nine fields of each, every value 0..9.
bool expectedValues(const std::string& text, kz::ValueArray16& values) {
    std::istringstream in(text);
    std::string line;
    for (int row = 0; row < 9; ++row) {
        if (kz::ReadLine(in, line) != kz::LineStatus::Ok) return false;
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
