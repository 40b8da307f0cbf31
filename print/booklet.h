// SPDX-License-Identifier: MIT
// A booklet of puzzles: the puzzles with their solutions and ratings, how they are set on the
// pages, and the texts printed around the grids. Texts are UTF-8.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "generate/generator.h"
#include "logic/state.h"

namespace kz::print {

inline constexpr int kMaxPuzzles = 100;

/// One puzzle of a booklet.
struct Entry {
    logic::Digits givens{};
    logic::Digits solution{};
    int level = 0;       ///< 1..6, 0 when not known
    int difficulty = 0;  ///< on the players' community scale, in tenths (Rating::difficulty)
};

struct Booklet {
    std::vector<Entry> puzzles;
    int perPage = 4;         ///< one of kPerPageChoices
    bool solutions = false;  ///< the solutions on pages of their own at the end
    bool tiles = false;      ///< pin tiles in place of numerals
    std::string title;       ///< atop every page
    std::string origin;      ///< small print at the foot of every page; may be empty
};

/// A puzzle read from elsewhere, rated and solved; nothing when it has not exactly one
/// solution.
std::optional<Entry> RatedEntry(const logic::Digits& givens);

/// New puzzles for a booklet.
struct Order {
    int count = 24;  ///< 1..kMaxPuzzles
    generate::Request request;
    std::uint64_t seed = 0;
};

struct Made {
    std::vector<Entry> puzzles;  ///< all that were made, in order
    bool cancelled = false;
    /// Set when the generator's budget ran out before the count was reached.
    std::optional<generate::Result> gaveUp;
};

/// Called after each puzzle with how many are done.
using ProgressFn = std::function<void(int done)>;

/// Makes the puzzles in turn from one random source seeded with the order's seed, so that
/// `kazarinoset-solve --generate` with the same count, level, symmetry and seed prints the
/// same puzzles. `cancel` (may be null) is polled often. The generator is passed in so that
/// tests can use one they control.
using GenerateFn =
    std::function<generate::Result(const generate::Request&, std::mt19937_64&,
                                   const std::atomic<bool>*, const generate::AttemptFn&)>;
Made MakePuzzles(const Order& order, const GenerateFn& generate,
                 const std::atomic<bool>* cancel = nullptr, const ProgressFn& progress = {});

/// "上級 24問" when every puzzle has one known level, else "問題集 24問".
std::string TitleFor(const std::vector<Entry>& puzzles);
/// The small print of a booklet made for an order: the seed and the command that makes the
/// same puzzles again.
std::string OriginOf(const Order& order);
/// The level and the difficulty as the pages show them: "上級（4.2）"; empty when not known.
std::string RatingText(const Entry& entry);
/// The line above a grid: "No.3　上級（4.2）", or "No.3 の答え" above a solution.
std::string SlotLabel(const Entry& entry, int index, bool solution);
/// The page number as the heading shows it: "3 / 7".
std::string PageNumberText(int number, int pageCount);

}  // namespace kz::print
