// SPDX-License-Identifier: MIT
// Each finder on small candidate positions built by hand, with the removals a person would
// make from the pattern: every instance is found, and nothing more.
//
// Positions start from a board (empty unless an 81-character word gives one) and are shaped by
// edits in a compact notation: "r1c23=37" keeps only 3 and 7 in r1c2 and r1c3, "r45c1-5" removes 5
// from r4c1 and r5c1. Expected results use "rXcY-D" for removals and "rXcY+D" for placements.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "logic/finders.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

struct Edit {
    std::vector<int> cells;
    char op;
    Mask digits;
};

Edit ParseEdit(const std::string& text) {
    Edit e{};
    std::vector<int> rows;
    std::vector<int> cols;
    std::size_t i = 1;
    for (; text[i] != 'c'; ++i) rows.push_back(text[i] - '1');
    for (++i; text[i] != '=' && text[i] != '-' && text[i] != '+'; ++i)
        cols.push_back(text[i] - '1');
    e.op = text[i];
    for (++i; i < text.size(); ++i) e.digits |= static_cast<Mask>(1u << (text[i] - '1'));
    for (int r : rows) {
        for (int c : cols) e.cells.push_back(9 * r + c);
    }
    return e;
}

std::vector<Edit> ParseEdits(const std::string& text) {
    std::istringstream in(text);
    std::vector<Edit> edits;
    for (std::string word; in >> word;) {
        if (word.size() != 81) edits.push_back(ParseEdit(word));
    }
    return edits;
}

// A word of 81 characters among the edits is the board to start from.
State Position(const std::string& edits) {
    std::istringstream in(edits);
    std::string board;
    for (std::string word; in >> word;) {
        if (word.size() == 81) board = word;
    }
    std::optional<State> state =
        State::FromDigits(board.empty() ? Digits{} : test::ParseDigits(board));
    for (const Edit& e : ParseEdits(edits)) {
        for (int c : e.cells) {
            for (int d = 1; d <= 9; ++d) {
                const bool listed = (e.digits >> (d - 1)) & 1;
                if (e.op == '=' ? !listed : listed) state->Eliminate(c, d);
            }
        }
    }
    return *state;
}

// "r1c1-5"-style words for removals and placements, so that failures print readably.
std::set<std::string> Expand(const std::string& text) {
    std::set<std::string> out;
    for (const Edit& e : ParseEdits(text)) {
        for (int c : e.cells) {
            for (int d = 1; d <= 9; ++d) {
                if ((e.digits >> (d - 1)) & 1) {
                    out.insert("r" + std::to_string(c / 9 + 1) + "c" + std::to_string(c % 9 + 1) +
                               e.op + std::to_string(d));
                }
            }
        }
    }
    return out;
}

std::set<std::string> Found(Technique t, const State& state, bool unique = true) {
    const Digits anySolution{};
    const Context context{unique ? &anySolution : nullptr};
    std::set<std::string> out;
    FinderOf(t)(state, context, [&](Step&& step) {
        EXPECT_EQ(step.technique, t);
        EXPECT_FALSE(step.placements.empty() && step.eliminations.empty());
        auto cell = [](int c) {
            return "r" + std::to_string(c / 9 + 1) + "c" + std::to_string(c % 9 + 1);
        };
        for (const Placement& p : step.placements)
            out.insert(cell(p.cell) + "+" + std::to_string(p.digit));
        for (const Elimination& e : step.eliminations)
            out.insert(cell(e.cell) + "-" + std::to_string(e.digit));
        return true;
    });
    return out;
}

struct Case {
    const char* name;
    Technique technique;
    std::string edits;
    std::string expected;  ///< empty: the finder must find nothing
};

using T = Technique;

const Case kCases[] = {
    {"full house", T::FullHouse, "12345678." + std::string(72, '.'), "r1c9+9"},
    {"hidden single in a row", T::HiddenSingle, "r1c23456789-5", "r1c1+5"},
    {"naked single", T::NakedSingle, "r5c5=7", "r5c5+7"},
    {"pointing", T::Pointing, "r23c123-5", "r1c456789-5"},
    {"claiming", T::Claiming, "r1c456789-5", "r23c123-5"},
    {"naked pair in row and box", T::NakedPair, "r1c12=37", "r1c3456789-37 r23c123-37"},
    {"naked triple", T::NakedTriple, "r1c1=37 r1c5=39 r1c9=79", "r1c234678-379"},
    {"naked quad", T::NakedQuad, "r1c1=12 r1c2=23 r1c4=34 r1c7=14", "r1c35689-1234"},
    {"hidden pair", T::HiddenPair, "r1c2346789-37", "r1c15-1245689"},
    {"hidden triple", T::HiddenTriple, "r1c234678-379", "r1c159-124568"},
    {"hidden quad", T::HiddenQuad, "r1c35689-1234", "r1c1247-56789"},
    {"x-wing", T::XWing, "r1c1345689-5 r4c1345689-5", "r235679c27-5 r8c27-5"},
    {"x-wing in columns", T::XWing, "r2345679c1-5 r2345679c9-5", "r18c2345678-5"},
    {"swordfish", T::Swordfish, "r1c1346789-5 r4c1234679-5 r7c1345679-5", "r235689c258-5"},
    {"jellyfish", T::Jellyfish, "r1c3456789-5 r3c1356789-5 r5c1235789-5 r7c2345789-5",
     "r24689c1246-5"},
    {"skyscraper", T::Skyscraper, "r1c1345689-5 r4c1345679-5", "r23c8-5 r56c7-5"},
    {"an x-wing is no skyscraper", T::Skyscraper, "r1c1345689-5 r4c1345689-5", ""},
    {"two-string kite", T::TwoStringKite, "r1c1345689-5 r1345789c1-5", "r6c7-5"},
    {"xy-wing", T::XYWing, "r1c1=12 r1c5=13 r5c1=23", "r5c5-3"},
    {"xy-wing needs one digit shared per pincer", T::XYWing, "r1c1=12 r1c5=12 r5c1=23", ""},
    {"xyz-wing", T::XYZWing, "r1c1=123 r1c5=13 r2c2=23", "r1c23-3"},
    {"wxyz-wing: 4 is the one digit in cells that do not all see each other", T::WXYZWing,
     "r1c1=1234 r1c2=14 r2c3=24 r1c7=34", "r1c3-4"},
    {"a wxyz-wing with two such digits proves nothing", T::WXYZWing,
     "r1c1=1234 r1c2=14 r5c1=14 r2c3=23", ""},
    {"vwxyz-wing", T::VWXYZWing, "r1c1=12345 r1c2=15 r2c3=25 r1c7=35 r3c2=45", "r1c3-5"},
    {"w-wing", T::WWing, "r1c1=12 r5c5=12 r9c2346789-1", "r1c5-2 r5c1-2"},
    {"a w-wing pair must not see each other", T::WWing, "r1c1=12 r1c5=12 r9c2346789-1", ""},
    {"simple colouring trap", T::SimpleColouring, "r1c2345789-5 r2c456-5 r3c56-5 r1245679c4-5",
     "r8c1-5"},
    {"simple colouring wrap", T::SimpleColouring,
     "r1c2346789-5 r2345789c5-5 r6c1346789-5 r345789c2-5", "r1c1-5 r6c5-5 r2c2-5"},
    {"unique rectangle type 1", T::UniqueRectangle1, "r1c1=37 r1c5=37 r2c1=37 r2c5=379", "r2c5-37"},
    {"a rectangle over four boxes proves nothing", T::UniqueRectangle1,
     "r1c1=37 r1c5=37 r5c1=37 r5c5=379", ""},
};

TEST(Finders, FindEveryInstanceOfTheirPatternAndNothingElse) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Found(c.technique, Position(c.edits)), Expand(c.expected));
    }
}

// A wing search told which cells changed looks at the sets holding one of them, whichever
// cell of the set it is: here only r1c7, a cell beside the pivot r1c1, changed.
TEST(Finders, AWingSearchToldWhereThingsChangedLooksAtTheSetsHoldingAChange) {
    const State state = Position("r1c1=1234 r1c2=14 r2c3=24 r1c7=34");
    const auto removals = [&](CellSet changed) {
        Context narrowed;
        narrowed.cells = changed;
        std::set<int> found;
        FindWXYZWing(state, narrowed, [&](Step&& s) {
            for (const Elimination& e : s.eliminations) found.insert(e.cell);
            return true;
        });
        return found;
    };
    EXPECT_EQ(removals(CellSet::Of(6)), std::set<int>{2});
    EXPECT_TRUE(removals(CellSet::Of(40)).empty());
}

TEST(Finders, UniquenessPatternsNeedABoardKnownToHaveOneSolution) {
    const State rectangle = Position("r1c1=37 r1c5=37 r2c1=37 r2c5=379");
    EXPECT_TRUE(Found(T::UniqueRectangle1, rectangle, false).empty());
    EXPECT_FALSE(Found(T::UniqueRectangle1, rectangle, true).empty());
}

// The hint is the easiest step: here a naked pair comes before the X-wing that also applies,
// and without level 3 the X-wing is all there is.
TEST(Finders, TheHintTakesTheEasiestTechnique) {
    const State state = Position("r1c12=37 r1c1245689-5 r4c1245689-5");
    const Digits anySolution{};
    const Context context{&anySolution};
    ASSERT_EQ(Found(T::XWing, state), Expand("r235679c37-5 r8c37-5"));
    const std::optional<Step> hint = NextStep(state, context);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->technique, T::NakedPair);
    const std::optional<Step> without = NextStep(state, context, 2);
    EXPECT_FALSE(without);
}

// A grid of pairs {s, s+1} from a solution has every digit twice in every unit; a third
// candidate in one cell is the digit it must take.
TEST(Finders, BugPlusOnePlacesTheDigitThatOccursThreeTimes) {
    const std::string solution =
        "123456789456789123789123456214365897365897214897214365531642978642978531978531642";
    // `extra` gives cells and how many candidates to add to their pair.
    auto pairs = [&](std::vector<std::pair<int, int>> extra) {
        std::string edits;
        for (int c = 0; c < 81; ++c) {
            const int s = solution[c] - '0';
            edits += " r" + std::to_string(c / 9 + 1) + "c" + std::to_string(c % 9 + 1) + "=" +
                     std::to_string(s) + std::to_string(s % 9 + 1);
            for (auto [cell, count] : extra) {
                for (int k = 0; k < count && c == cell; ++k)
                    edits += std::to_string((s + 1 + k) % 9 + 1);
            }
        }
        return Position(edits);
    };
    // r5c5 holds 9 in the solution: candidates 9, 1 and the extra 2.
    EXPECT_EQ(Found(T::BugPlusOne, pairs({{40, 1}})), Expand("r5c5+2"));
    EXPECT_EQ(Found(T::BugPlusOne, pairs({{40, 1}}), false), Expand(""));
    EXPECT_EQ(Found(T::BugPlusOne, pairs({})), Expand(""));  // no extra: nothing to place
    EXPECT_EQ(Found(T::BugPlusOne, pairs({{40, 1}, {0, 1}})), Expand(""));  // two with three
    EXPECT_EQ(Found(T::BugPlusOne, pairs({{40, 2}})), Expand(""));          // one with four
}

}  // namespace
}  // namespace kz::logic
