// SPDX-License-Identifier: MIT
// Fuzzes the kept-game reader: whatever the bytes, it either yields a game whose text reads
// back equal and unchanged, or fails with a reason without touching the caller's game.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/keptgame.h"
#include "fuzz/check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // A game no text can produce, so any write to it shows.
    kz::KeptGame before;
    before.board[0].Value = 99;
    // Appended, not assigned from a literal: the sanitized GCC build warns of an overlap that
    // the assignment cannot have (-Wrestrict), and warnings fail that build.
    before.caption.push_back('\n');
    kz::KeptGame game = before;
    const kz::FileResult result = kz::ParseKeptGame(text, game);
    KZ_FUZZ_CHECK(result.ok == result.error.empty());
    if (!result.ok) {
        KZ_FUZZ_CHECK(game == before);
        return 0;
    }
    KZ_FUZZ_CHECK(game.caption.size() <= kz::kMaxKeptCaptionBytes);

    const std::string written = kz::FormatKeptGame(game);
    kz::KeptGame reread = before;
    KZ_FUZZ_CHECK(kz::ParseKeptGame(written, reread).ok);
    KZ_FUZZ_CHECK(reread == game);
    KZ_FUZZ_CHECK(kz::FormatKeptGame(reread) == written);
    return 0;
}
