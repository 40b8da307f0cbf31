// SPDX-License-Identifier: MIT
// The technique table and the finder of each technique.
#include <array>

#include "logic/finders.h"
#include "logic/step.h"

namespace kz::logic {

namespace {

using T = Technique;

// Weights grow with the level, so that the easiest technique first is also the lowest level
// first; within a level they follow how long a person usually looks for the pattern.
constexpr std::array<TechniqueInfo, kTechniqueCount> kTechniques{{
    {T::FullHouse, 1, 10, false, "Full House", "フルハウス"},
    {T::HiddenSingle, 1, 12, false, "Hidden Single", "ヒドゥンシングル"},
    {T::NakedSingle, 2, 23, false, "Naked Single", "ネイキッドシングル"},
    {T::Pointing, 3, 26, false, "Locked Candidates (Pointing)", "ポインティング"},
    {T::Claiming, 3, 28, false, "Locked Candidates (Claiming)", "クレーミング"},
    {T::NakedPair, 3, 30, false, "Naked Pair", "ネイキッドペア"},
    {T::HiddenPair, 3, 34, false, "Hidden Pair", "ヒドゥンペア"},
    {T::NakedTriple, 4, 36, false, "Naked Triple", "ネイキッドトリプル"},
    {T::XWing, 4, 38, false, "X-Wing", "X-ウィング"},
    {T::HiddenTriple, 4, 40, false, "Hidden Triple", "ヒドゥントリプル"},
    {T::Skyscraper, 4, 40, false, "Skyscraper", "スカイスクレイパー"},
    {T::TwoStringKite, 4, 41, false, "2-String Kite", "2ストリングカイト"},
    {T::XYWing, 4, 42, false, "XY-Wing", "XY-ウィング"},
    {T::XYZWing, 4, 44, false, "XYZ-Wing", "XYZ-ウィング"},
    {T::WWing, 4, 44, false, "W-Wing", "W-ウィング"},
    {T::Swordfish, 4, 45, false, "Swordfish", "ソードフィッシュ"},
    {T::SimpleColouring, 4, 45, false, "Simple Colouring", "シンプルカラーリング"},
    {T::UniqueRectangle1, 4, 46, true, "Unique Rectangle Type 1", "ユニークレクタングル タイプ1"},
    {T::BugPlusOne, 4, 48, true, "BUG+1", "BUG+1"},
    {T::NakedQuad, 4, 50, false, "Naked Quad", "ネイキッドクアッド"},
    {T::Jellyfish, 4, 52, false, "Jellyfish", "ジェリーフィッシュ"},
    {T::HiddenQuad, 4, 54, false, "Hidden Quad", "ヒドゥンクアッド"},
    {T::XChain, 5, 60, false, "X-Chain", "X-チェーン"},
    {T::XYChain, 5, 62, false, "XY-Chain", "XY-チェーン"},
    {T::Aic, 5, 66, false, "Alternating Inference Chain", "AIC"},
    {T::AlsXz, 5, 68, false, "ALS-XZ", "ALS-XZ"},
    {T::ForcingChain, 6, 75, false, "Forcing Chain", "フォーシングチェーン"},
    {T::ForcingNet, 6, 85, false, "Forcing Net", "フォーシングネット"},
    {T::Guess, 6, 100, true, "Trial and Error", "試行錯誤"},
}};

constexpr bool TableInOrder() {
    for (int i = 0; i < kTechniqueCount; ++i) {
        if (static_cast<int>(kTechniques[i].technique) != i) return false;
        if (i > 0 && (kTechniques[i].weight < kTechniques[i - 1].weight ||
                      kTechniques[i].level < kTechniques[i - 1].level)) {
            return false;
        }
    }
    return true;
}
static_assert(TableInOrder(), "one row per technique, in enum order, weights and levels rising");

constexpr std::array<Finder, kTechniqueCount> kFinders{
    FindFullHouse,  FindHiddenSingle,    FindNakedSingle,      FindPointing,   FindClaiming,
    FindNakedPair,  FindHiddenPair,      FindNakedTriple,      FindXWing,      FindHiddenTriple,
    FindSkyscraper, FindTwoStringKite,   FindXYWing,           FindXYZWing,    FindWWing,
    FindSwordfish,  FindSimpleColouring, FindUniqueRectangle1, FindBugPlusOne, FindNakedQuad,
    FindJellyfish,  FindHiddenQuad,      FindXChain,           FindXYChain,    FindAic,
    FindAlsXz,      FindForcingChain,    FindForcingNet,       FindGuess,
};

constexpr std::array<std::string_view, kMaxLevel + 1> kLevelNames{"",     "入門", "初級",  "中級",
                                                                  "上級", "難問", "超難問"};

}  // namespace

const TechniqueInfo& Info(Technique t) {
    return kTechniques[static_cast<int>(t)];
}

Finder FinderOf(Technique t) {
    return kFinders[static_cast<int>(t)];
}

bool LooksWhereChanged(Technique t) {
    switch (t) {
        case T::Pointing:
        case T::Claiming:
        case T::NakedPair:
        case T::HiddenPair:
        case T::NakedTriple:
        case T::XWing:
        case T::HiddenTriple:
        case T::Skyscraper:
        case T::TwoStringKite:
        case T::Swordfish:
        case T::SimpleColouring:
        case T::NakedQuad:
        case T::Jellyfish:
        case T::HiddenQuad:
        case T::XChain:
            return true;
        default:
            return false;
    }
}

std::string_view LevelName(int level) {
    return level >= 1 && level <= kMaxLevel ? kLevelNames[level] : std::string_view{};
}

}  // namespace kz::logic
