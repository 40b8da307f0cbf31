// SPDX-License-Identifier: MIT
// The technique table: each technique's level, weight, names, finder and wording.
#include <array>
#include <type_traits>

#include "logic/finders.h"
#include "logic/step.h"

namespace kz::logic {

namespace {

using T = Technique;
using W = Wording;

// What a row may say besides its numbers.
enum Flags : unsigned {
    kNone = 0,
    kUniqueOnly = 1,    // only sound on a board known to have one solution
    kWhereChanged = 2,  // the finder looks only where the candidates changed
    kNarrowable = 4,    // the finder can be told which sets of assumptions to start from
};

// The finder comes as a reference to a function, so a row cannot leave it out or pass a null
// one (and no constant check has to compare a function's address, which a sanitized build
// refuses as a constant expression).
constexpr TechniqueRow Row(T technique, int level, int weight, int ser, unsigned flags,
                           std::remove_pointer_t<Finder>& finder, W wording,
                           std::string_view english, std::string_view japanese) {
    return {{technique, level, weight, ser, (flags & kUniqueOnly) != 0, english, japanese},
            finder,
            (flags & kWhereChanged) != 0,
            (flags & kNarrowable) != 0,
            wording};
}

// Weights grow with the level, so that the easiest technique first is also the lowest level
// first; within a level they follow how long a person usually looks for the pattern. The
// third number is the technique's difficulty on the community's scale in tenths: its
// published value where the scale names it; a skyscraper, a kite and simple colouring are
// X-chains (6.6), a W-wing and ALS-XZ are short alternating chains (7.0), an open XY-chain is
// one of its forcing chains (7.0), and the five-cell wing sits where the boards it decides
// sit on the scale (6.2). A forcing chain is 7.0 as one branch and 8.0 as several from one
// cell or house (StepDifficulty), a net is dynamic (8.5, or 9.0 through a group), the nested
// chains are the scale's dynamic chains with the easy techniques inside (9.0) and its nested
// levels (9.5, 10.0, 10.5), and a board whose search ran out of its budget ranks past a
// nested dynamic chain (11.0).
constexpr std::array<TechniqueRow, kTechniqueCount> kTechniques{{
    Row(T::FullHouse, 1, 10, 10, kNone, FindFullHouse, W::FullHouse, "Full House", "フルハウス"),
    Row(T::HiddenSingle, 1, 12, 12, kNone, FindHiddenSingle, W::HiddenSingle, "Hidden Single",
        "ヒドゥンシングル"),
    Row(T::NakedSingle, 2, 23, 23, kNone, FindNakedSingle, W::NakedSingle, "Naked Single",
        "ネイキッドシングル"),
    Row(T::Pointing, 3, 26, 26, kWhereChanged, FindPointing, W::LockedCandidates,
        "Locked Candidates (Pointing)", "ポインティング"),
    Row(T::Claiming, 3, 28, 28, kWhereChanged, FindClaiming, W::LockedCandidates,
        "Locked Candidates (Claiming)", "クレーミング"),
    Row(T::NakedPair, 3, 30, 30, kWhereChanged, FindNakedPair, W::NakedSubset, "Naked Pair",
        "ネイキッドペア"),
    Row(T::HiddenPair, 3, 34, 34, kWhereChanged, FindHiddenPair, W::HiddenSubset, "Hidden Pair",
        "ヒドゥンペア"),
    Row(T::NakedTriple, 4, 36, 36, kWhereChanged, FindNakedTriple, W::NakedSubset, "Naked Triple",
        "ネイキッドトリプル"),
    Row(T::XWing, 4, 38, 32, kWhereChanged, FindXWing, W::Fish, "X-Wing", "X-ウィング"),
    Row(T::HiddenTriple, 4, 40, 40, kWhereChanged, FindHiddenTriple, W::HiddenSubset,
        "Hidden Triple", "ヒドゥントリプル"),
    Row(T::Skyscraper, 4, 40, 66, kWhereChanged, FindSkyscraper, W::TwoStrongLinks, "Skyscraper",
        "スカイスクレイパー"),
    Row(T::TwoStringKite, 4, 41, 66, kWhereChanged, FindTwoStringKite, W::TwoStrongLinks,
        "2-String Kite", "2ストリングカイト"),
    Row(T::XYWing, 4, 42, 42, kNone, FindXYWing, W::Wing, "XY-Wing", "XY-ウィング"),
    Row(T::XYZWing, 4, 44, 44, kNone, FindXYZWing, W::Wing, "XYZ-Wing", "XYZ-ウィング"),
    Row(T::WWing, 4, 44, 70, kNone, FindWWing, W::WWing, "W-Wing", "W-ウィング"),
    Row(T::Swordfish, 4, 45, 38, kWhereChanged, FindSwordfish, W::Fish, "Swordfish",
        "ソードフィッシュ"),
    Row(T::SimpleColouring, 4, 45, 66, kWhereChanged, FindSimpleColouring, W::Colouring,
        "Simple Colouring", "シンプルカラーリング"),
    Row(T::UniqueRectangle1, 4, 46, 45, kUniqueOnly, FindUniqueRectangle1, W::UniqueRectangle,
        "Unique Rectangle Type 1", "ユニークレクタングル タイプ1"),
    Row(T::BugPlusOne, 4, 48, 56, kUniqueOnly, FindBugPlusOne, W::Bug, "BUG+1", "BUG+1"),
    Row(T::NakedQuad, 4, 50, 50, kWhereChanged, FindNakedQuad, W::NakedSubset, "Naked Quad",
        "ネイキッドクアッド"),
    Row(T::Jellyfish, 4, 52, 52, kWhereChanged, FindJellyfish, W::Fish, "Jellyfish",
        "ジェリーフィッシュ"),
    Row(T::HiddenQuad, 4, 54, 54, kWhereChanged, FindHiddenQuad, W::HiddenSubset, "Hidden Quad",
        "ヒドゥンクアッド"),
    Row(T::WXYZWing, 5, 55, 55, kWhereChanged, FindWXYZWing, W::Wing, "WXYZ-Wing", "WXYZ-ウィング"),
    Row(T::VWXYZWing, 5, 56, 62, kWhereChanged, FindVWXYZWing, W::Wing, "VWXYZ-Wing",
        "VWXYZ-ウィング"),
    Row(T::XChain, 5, 60, 66, kWhereChanged, FindXChain, W::Notation, "X-Chain", "X-チェーン"),
    Row(T::XYChain, 5, 62, 70, kNone, FindXYChain, W::Notation, "XY-Chain", "XY-チェーン"),
    Row(T::Aic, 5, 66, 70, kNone, FindAic, W::Notation, "Alternating Inference Chain", "AIC"),
    Row(T::AlsXz, 5, 68, 70, kNone, FindAlsXz, W::Notation, "ALS-XZ", "ALS-XZ"),
    Row(T::ForcingChain, 6, 75, 70, kNarrowable, FindForcingChain, W::Notation, "Forcing Chain",
        "フォーシングチェーン"),
    Row(T::ForcingNet, 6, 85, 85, kNarrowable, FindForcingNet, W::Notation, "Forcing Net",
        "フォーシングネット"),
    Row(T::ForcingChainPlus, 6, 88, 90, kNarrowable, FindForcingChainPlus, W::Branches,
        "Dynamic Forcing Chain (+)", "ダイナミックフォーシングチェーン（＋）"),
    Row(T::NestedForcingChain, 6, 91, 95, kNarrowable, FindNestedForcingChain, W::Branches,
        "Nested Forcing Chain", "ネスト型フォーシングチェーン"),
    Row(T::NestedMultipleChain, 6, 94, 100, kNarrowable, FindNestedMultipleChain, W::Branches,
        "Nested Multiple Forcing Chain", "ネスト型マルチプルフォーシングチェーン"),
    Row(T::NestedDynamicChain, 6, 97, 105, kNarrowable, FindNestedDynamicChain, W::Branches,
        "Nested Dynamic Forcing Chain", "ネスト型ダイナミックフォーシングチェーン"),
    Row(T::Guess, 6, 100, 110, kUniqueOnly, FindGuess, W::Guess, "Trial and Error", "試行錯誤"),
}};

// A row out of place would give a technique another's finder, level or name: the table is
// checked as it is compiled.
constexpr bool TableInOrder() {
    for (int i = 0; i < kTechniqueCount; ++i) {
        const TechniqueInfo& info = kTechniques[i].info;
        if (static_cast<int>(info.technique) != i) return false;
        if (info.level < 1 || info.level > kMaxLevel || info.english.empty() ||
            info.japanese.empty()) {
            return false;
        }
        if (i > 0 && (info.weight < kTechniques[i - 1].info.weight ||
                      info.level < kTechniques[i - 1].info.level)) {
            return false;
        }
    }
    return true;
}
static_assert(TableInOrder(), "one row per technique, in enum order, weights and levels rising");

constexpr std::array<std::string_view, kMaxLevel + 1> kLevelNames{"",     "入門", "初級",  "中級",
                                                                  "上級", "難問", "超難問"};

}  // namespace

const TechniqueRow& RowOf(Technique t) {
    return kTechniques[static_cast<int>(t)];
}

const TechniqueInfo& Info(Technique t) {
    return kTechniques[static_cast<int>(t)].info;
}

std::string_view LevelName(int level) {
    return level >= 1 && level <= kMaxLevel ? kLevelNames[level] : std::string_view{};
}

}  // namespace kz::logic
