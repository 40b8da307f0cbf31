// SPDX-License-Identifier: MIT
// Fuzzes the records reader: whatever the bytes, it either yields records that are written
// and read back equal, or fails with a reason without touching the caller's records.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/check.h"
#include "game/records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<kz::GameRecord> before{kz::GameRecord{-1, 99, -1, -1, -1, true}};
    std::vector<kz::GameRecord> records = before;
    if (kz::ParseRecords(text, records)) {
        KZ_FUZZ_CHECK(records == before);
        return 0;
    }
    KZ_FUZZ_CHECK(records.size() <= kz::kMaxRecords);
    const std::string written = kz::FormatRecords(records);
    KZ_FUZZ_CHECK(written == text);  // one spelling per record: the text was the program's
    std::vector<kz::GameRecord> reread;
    KZ_FUZZ_CHECK(!kz::ParseRecords(written, reread));
    KZ_FUZZ_CHECK(reread == records);
    return 0;
}
