// SPDX-License-Identifier: MIT
// The move history: undo one, rewinding to a breakpoint, groups, and the menu listener.
#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

#include "history/undodata.h"

namespace kz {
namespace {

using Records = std::vector<UndoRecord>;
using Calls = std::vector<std::pair<bool, bool>>;
using Restores = std::vector<std::pair<int, int>>;

// The history with a window stand-in: a grid of values the restorer writes into, and the
// listener calls in order.
struct Harness {
    Harness() {
        history.setMenuListener(
            [this](bool one, bool toBreak) { calls.emplace_back(one, toBreak); });
        history.ResetUndo();
        calls.clear();
    }
    UndoData::CellRestorer restorer() {
        return [this](int cell, int oldValue) {
            restores.emplace_back(cell, oldValue);
            grid[cell] = oldValue;
        };
    }
    // A placement as the window makes it: record, then write.
    void place(int cell, int digit) {
        history.PushUndo(cell, grid[cell], digit);
        grid[cell] = digit;
    }
    // Show-all-answers: breakpoint, each filled cell, group end.
    void answerAll(const std::vector<std::pair<int, int>>& answers) {
        history.PushUndo(UndoBreakpoint, 0, 0);
        for (auto [cell, digit] : answers) place(cell, digit);
        history.PushUndo(UndoGroupEnd, 0, 0);
    }
    std::pair<bool, bool> menu() const {
        return {history.canUndoOne(), history.canUndoToBreakpoint()};
    }

    UndoData history;
    std::array<int, 82> grid{};
    Calls calls;
    Restores restores;
};

TEST(UndoData, BackToBreakpointRewindsSilently) {
    Harness h;
    h.place(1, 5);
    h.history.SetBreakpoint();
    h.place(2, 3);
    h.place(3, 4);
    h.history.UndoToBreakpoint(h.restorer());
    EXPECT_EQ(h.restores, (Restores{{3, 0}, {2, 0}}));
    EXPECT_EQ(h.history.records(), (Records{{1, 0, 5}}));
    EXPECT_EQ(h.menu(), std::make_pair(true, false));
    EXPECT_EQ(h.grid[1], 5);

    // With a breakpoint on top the command only removes it.
    h.history.SetBreakpoint();
    h.restores.clear();
    h.history.UndoToBreakpoint(h.restorer());
    EXPECT_TRUE(h.restores.empty());
    EXPECT_EQ(h.history.records(), (Records{{1, 0, 5}}));
}

TEST(UndoData, UndoOneOutcomes) {
    struct Case {
        const char* name;
        void (*setup)(Harness&);
        UndoData::UndoOutcome outcome;
        Restores restores;
        Records left;
    } cases[] = {
        {"empty history", [](Harness&) {}, UndoData::UndoOutcome::Nothing, {}, {}},
        {"digit over digit",
         [](Harness& h) {
             h.place(7, 2);
             h.place(7, 6);
         },
         UndoData::UndoOutcome::Restored,
         {{7, 2}},
         {{7, 0, 2}}},
        {"erase",
         [](Harness& h) {
             h.place(7, 2);
             h.place(7, 0);
         },
         UndoData::UndoOutcome::Restored,
         {{7, 2}},
         {{7, 0, 2}}},
        {"same digit again still a record",
         [](Harness& h) {
             h.place(7, 2);
             h.place(7, 2);
         },
         UndoData::UndoOutcome::Restored,
         {{7, 2}},
         {{7, 0, 2}}},
        {"breakpoint on top",
         [](Harness& h) {
             h.place(7, 2);
             h.history.SetBreakpoint();
         },
         UndoData::UndoOutcome::BreakpointRemoved,
         {},
         {{7, 0, 2}}},
        {"answer group",
         [](Harness& h) {
             h.place(7, 2);
             h.answerAll({{1, 4}, {5, 9}, {80, 1}});
         },
         UndoData::UndoOutcome::GroupRewound,
         {{80, 0}, {5, 0}, {1, 0}},
         {{7, 0, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        c.setup(h);
        EXPECT_EQ(h.history.UndoOne(h.restorer()), c.outcome);
        EXPECT_EQ(h.restores, c.restores);
        EXPECT_EQ(h.history.records(), c.left);
    }
}

TEST(UndoData, AnswerGroupOfKPlusTwoRecords) {
    Harness h;
    h.place(10, 3);
    const Records before = h.history.records();
    h.answerAll({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
    EXPECT_EQ(h.history.records().size(), before.size() + 4 + 2);
    EXPECT_EQ(h.history.UndoOne(h.restorer()), UndoData::UndoOutcome::GroupRewound);
    EXPECT_EQ(h.history.records(), before);
    for (int cell : {1, 2, 3, 4}) EXPECT_EQ(h.grid[cell], 0);
    EXPECT_EQ(h.menu(), std::make_pair(true, false));
}

TEST(UndoData, UserBreakpointUnderGroupStays) {
    Harness h;
    h.place(10, 3);
    h.history.SetBreakpoint();
    h.answerAll({{1, 1}, {2, 2}});
    h.history.UndoToBreakpoint(h.restorer());
    EXPECT_EQ(h.history.records(), (Records{{10, 0, 3}, {UndoBreakpoint, 0, 0}}));
    EXPECT_EQ(h.menu(), std::make_pair(true, true));
    EXPECT_EQ(h.grid[1], 0);
    EXPECT_EQ(h.grid[2], 0);
}

TEST(UndoData, DoubleBreakpointIsOne) {
    Harness h;
    h.place(4, 4);
    h.history.SetBreakpoint();
    h.history.SetBreakpoint();
    EXPECT_EQ(h.history.records(), (Records{{4, 0, 4}, {UndoBreakpoint, 0, 0}}));
}

TEST(UndoData, BreakpointOnEmptyHistory) {
    Harness h;
    h.history.SetBreakpoint();
    EXPECT_EQ(h.menu(), std::make_pair(true, true));
    EXPECT_EQ(h.history.UndoOne(h.restorer()), UndoData::UndoOutcome::BreakpointRemoved);
    EXPECT_EQ(h.menu(), std::make_pair(false, false));
    EXPECT_EQ(h.calls, (Calls{{true, true}, {false, false}}));
    EXPECT_TRUE(h.restores.empty());
}

TEST(UndoData, ListenerToldOnlyOnChanges) {
    Harness h;
    h.place(1, 1);                             // (T,F)
    h.place(2, 2);                             // no change
    h.history.SetBreakpoint();                 // (T,T)
    h.place(3, 3);                             // no change
    h.history.SetBreakpoint();                 // no change: a second breakpoint
    h.history.UndoOne(h.restorer());           // pops the top breakpoint; one is left
    h.history.UndoToBreakpoint(h.restorer());  // (T,F)
    h.history.UndoOne(h.restorer());           // no change
    h.history.UndoOne(h.restorer());           // (F,F)
    h.history.UndoOne(h.restorer());           // empty: nothing
    h.history.ResetUndo();                     // always told
    EXPECT_EQ(h.calls,
              (Calls{{true, false}, {true, true}, {true, false}, {false, false}, {false, false}}));
}

TEST(UndoData, PopAndPeekOnEmpty) {
    UndoData history;  // no listener set: must not matter
    EXPECT_EQ(history.PeekUndo(), UndoRecord{});
    EXPECT_EQ(history.PopUndo(), UndoRecord{});
    history.PushUndo(5, 1, 2);
    EXPECT_EQ(history.PeekUndo(), (UndoRecord{5, 1, 2}));
    EXPECT_EQ(history.PopUndo(), (UndoRecord{5, 1, 2}));
    EXPECT_FALSE(history.canUndoOne());
}

TEST(UndoData, NoLimitAt32767Entries) {
    Harness h;
    constexpr int kMoves = 40'000;
    for (int i = 0; i < kMoves; ++i) h.place(i % 81 + 1, i % 9 + 1);
    h.history.SetBreakpoint();
    for (int i = 0; i < kMoves; ++i) h.place(i % 81 + 1, (i + 4) % 9 + 1);
    EXPECT_EQ(h.history.records().size(), 2u * kMoves + 1);
    EXPECT_EQ(h.menu(), std::make_pair(true, true));

    const std::array<int, 82> atBreakpoint = [] {
        std::array<int, 82> g{};
        for (int i = 0; i < kMoves; ++i) g[i % 81 + 1] = i % 9 + 1;
        return g;
    }();
    h.history.UndoToBreakpoint(h.restorer());
    EXPECT_EQ(h.grid, atBreakpoint);
    EXPECT_EQ(h.history.records().size(), static_cast<std::size_t>(kMoves));
    EXPECT_EQ(h.menu(), std::make_pair(true, false));
    while (h.history.canUndoOne()) h.history.UndoOne(h.restorer());
    EXPECT_EQ(h.grid, (std::array<int, 82>{}));
}

// A game stand-in with notes: redo must bring back exactly what each kind of undo took,
// marks included, and undo then redo again must leave the history as it was.
TEST(UndoData, RedoAfterEachKindOfUndo) {
    struct Game {
        std::array<int, 82> digit{};
        std::array<int, 82> mark{};
        NoteArray notes{};
        UndoData history;
        UndoData::ChangeWriter writer() {
            return {[this](int c, int v, int m) { digit[c] = v, mark[c] = m; },
                    [this](int c, NoteSet n) { notes[c] = n; }};
        }
        void place(int c, int d, int m = MarkNone) {
            history.PushStep({{{static_cast<std::int16_t>(c), static_cast<std::int16_t>(digit[c]),
                                static_cast<std::int16_t>(d)},
                               static_cast<std::uint8_t>(m)},
                              {{static_cast<std::int16_t>(c + 1), 0, 0x11, true}}});
            digit[c] = d, mark[c] = m, notes[c + 1] = 0x11;
        }
    };
    using Undo = void (*)(Game&);
    const std::pair<const char*, Undo> undos[] = {
        {"one group", [](Game& g) { g.history.UndoOne(g.writer()); }},
        {"to breakpoint", [](Game& g) { g.history.UndoToBreakpoint(g.writer()); }},
        {"breakpoint alone",
         [](Game& g) {
             g.history.SetBreakpoint();
             g.history.UndoOne(g.writer());
         }},
    };
    for (const auto& [name, undo] : undos) {
        SCOPED_TRACE(name);
        Game g;
        g.place(1, 5);
        g.history.SetBreakpoint();
        g.place(10, 7, MarkAnswer);
        g.place(20, 2);
        const Game before = [&] {
            Game copy;
            copy.digit = g.digit, copy.mark = g.mark, copy.notes = g.notes;
            return copy;
        }();
        const UndoData::Snapshot kept = g.history.snapshot();
        EXPECT_FALSE(g.history.canRedo());
        undo(g);
        ASSERT_TRUE(g.history.canRedo());
        UndoData::Snapshot redone = g.history.snapshot();
        EXPECT_TRUE(g.history.Redo(g.writer()));
        EXPECT_FALSE(g.history.canRedo());
        EXPECT_EQ(g.digit, before.digit);
        EXPECT_EQ(g.mark, before.mark);
        EXPECT_EQ(g.notes, before.notes);
        if (std::string_view(name) != "breakpoint alone") {
            EXPECT_EQ(g.history.snapshot(), kept);
        }
        // A history taken up again redoes as the one it was kept from.
        UndoData resumed;
        resumed.restore(redone);
        EXPECT_EQ(resumed.snapshot(), redone);
        EXPECT_TRUE(resumed.canRedo());
        // Any new record ends the redo list.
        undo(g);
        g.place(30, 1);
        EXPECT_FALSE(g.history.canRedo());
        EXPECT_FALSE(g.history.Redo(g.writer()));
    }
}

}  // namespace
}  // namespace kz
