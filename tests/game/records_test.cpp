// SPDX-License-Identifier: MIT
// The records file: any records written read back equal, through text and through the file;
// a damaged or newer file is refused without losing what the caller holds.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "game/records.h"

namespace kz {
namespace {

TEST(Records, RoundTripSweep) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kz-records-" + std::to_string(std::random_device()()));
    const auto path = dir / "deep" / "records.txt";
    std::mt19937 rng(7);
    const auto pick = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<GameRecord> records(static_cast<std::size_t>(pick(0, 40)));
        for (GameRecord& r : records) {
            // Edges of every field as often as values inside.
            r = GameRecord{pick(0, 1) ? 0 : pick(0, 1'000'000'000'000),
                           int(pick(0, 6)),
                           pick(0, 3) ? pick(0, 4000) : 1'000'000'000'000,
                           int(pick(0, 2) ? 0 : pick(0, 100000)),
                           int(pick(0, 2) ? 0 : pick(0, 81)),
                           pick(0, 1) == 1};
        }
        std::vector<GameRecord> read;
        ASSERT_FALSE(ParseRecords(FormatRecords(records), read));
        ASSERT_EQ(read, records);
        ASSERT_FALSE(WriteRecords(path, records));
        read.clear();
        ASSERT_FALSE(ReadRecords(path, read));
        ASSERT_EQ(read, records);
    }
    // A file from a later version, or cut off, is refused and left as it is.
    for (const char* text : {"kazarinoset records 2\n", "kazarinoset records 1\n1 1 1 1 1 1"}) {
        { std::ofstream(path, std::ios::binary) << text; }
        std::vector<GameRecord> held{GameRecord{1, 1, 1, 0, 0, false}};
        EXPECT_TRUE(ReadRecords(path, held));
        EXPECT_EQ(held.size(), 1u);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kz
