// SPDX-License-Identifier: MIT
// A step of a person's solution path as a value: the technique, the pattern it rests on and
// what it changes. The rater, the hint and the explanation are three readers of one path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kz::logic {

/// Every technique the solver knows, easiest first. The order is the order of `kTechniques`.
enum class Technique : std::uint8_t {
    FullHouse,
    HiddenSingle,
    NakedSingle,
    Pointing,
    Claiming,
    NakedPair,
    HiddenPair,
    NakedTriple,
    XWing,
    HiddenTriple,
    Skyscraper,
    TwoStringKite,
    XYWing,
    XYZWing,
    WWing,
    Swordfish,
    SimpleColouring,
    UniqueRectangle1,
    BugPlusOne,
    NakedQuad,
    Jellyfish,
    HiddenQuad,
    XChain,
    XYChain,
    Aic,
    AlsXz,
    ForcingChain,
    ForcingNet,
    Guess,
};

inline constexpr int kTechniqueCount = static_cast<int>(Technique::Guess) + 1;
inline constexpr int kMaxLevel = 6;

/// One row per technique: adding a technique is one finder plus one row here.
struct TechniqueInfo {
    Technique technique;
    int level;                  ///< 1..6: the smallest level whose set holds it
    int weight;                 ///< orders techniques; grows with the level
    bool needsUniqueness;       ///< only sound on a board known to have one solution
    std::string_view english;   ///< as English-speaking players name it
    std::string_view japanese;  ///< as Japanese players name it
};

const TechniqueInfo& Info(Technique t);

/// The level names 入門 … 超難問 (level 1..6).
std::string_view LevelName(int level);

struct Placement {
    std::int8_t cell;   ///< 0..80
    std::int8_t digit;  ///< 1..9
    bool operator==(const Placement&) const = default;
};

struct Elimination {
    std::int8_t cell;   ///< 0..80
    std::int8_t digit;  ///< 1..9
    bool operator==(const Elimination&) const = default;
};

struct Step {
    Technique technique{};
    std::vector<std::int8_t>
        cells;  ///< the pattern's cells (0..80), in the order the text names them
    std::vector<std::int8_t> units;   ///< the units it rests on (0..26)
    std::vector<std::int8_t> digits;  ///< the digits the pattern is about
    std::vector<Placement> placements;
    std::vector<Elimination> eliminations;
    /// Chains and nets in Eureka notation with r1c1 cell names, e.g. "(5)r1c2=r1c7-r4c7=r4c2";
    /// empty for other techniques.
    std::string chain;
};

}  // namespace kz::logic
