// SPDX-License-Identifier: MIT
// A writer killed at random moments while it rewrites the kept game: the file always holds
// one whole game of those written, and at most one temporary file is ever left beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "files/keptgame.h"
#include "keptgame_random.h"
#include "support/tempdir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class KeptGameKill : public test::TempDirTest {};

TEST_F(KeptGameKill, KilledWriterLeavesOneWholeGame) {
    std::mt19937 rng(11);
    // Long histories, so that a kill often lands inside a write.
    const KeptGame games[] = {test::RandomKeptGame(rng, 3000), test::RandomKeptGame(rng, 2000)};
    ASSERT_NE(games[0], games[1]);
    const fs::path path = m_dir / "game.txt";
    ASSERT_TRUE(WriteKeptGame(path, games[0]).ok);

    // The kills spread over about three writes.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WriteKeptGame(path, games[0]).ok);
    const auto write = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<long> delay(0, 3 * write.count() + 300);

    int seen[2] = {0, 0}, temporaries = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int i = 1;; ++i) {
                if (!WriteKeptGame(path, games[i % 2]).ok) ::_exit(1);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed";

        KeptGame read;
        const FileResult result = ReadKeptGame(path, read);
        ASSERT_TRUE(result.ok) << "after kill " << kill << ": " << result.error;
        const bool first = read == games[0];
        ASSERT_TRUE(first || read == games[1]) << "after kill " << kill;
        ++seen[first ? 0 : 1];
        const auto entries = std::distance(fs::directory_iterator(m_dir), fs::directory_iterator());
        ASSERT_LE(entries, 2) << "temporary files pile up";
        temporaries += entries == 2;
    }
    std::printf("kills: 200, first game read %d times, second %d, a temporary left %d times\n",
                seen[0], seen[1], temporaries);
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

}  // namespace
}  // namespace kz
