// SPDX-License-Identifier: MIT
// Random kept games whose histories come from driving a real move history, so that the
// undo and redo parts have the shapes the undo commands give them.
#pragma once

#include <random>
#include <string>

#include "files/keptgame.h"

namespace kz::test {

inline KeptGame RandomKeptGame(std::mt19937& rng, int moves) {
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    KeptGame game;
    if (pick(0, 3) != 0) {
        game.puzzle.emplace();
        for (auto& v : *game.puzzle) v = static_cast<std::uint8_t>(pick(0, 2) ? 0 : pick(1, 9));
    }
    for (int n = 1; n <= kCellCount; ++n) {
        CellData& cell = game.board[n];
        cell.Value = static_cast<std::uint8_t>(pick(0, 1) ? 0 : pick(1, 9));
        cell.Problem = cell.Value != 0 && pick(0, 2) == 0;
        cell.Mark = static_cast<std::uint8_t>(pick(0, 4) < 3 ? MarkNone : pick(1, 2));
        if (pick(0, 2) == 0) game.notes[n] = static_cast<NoteSet>(pick(0, kAllNotes));
    }
    if (pick(0, 1)) game.elapsedSeconds = pick(0, 1) ? pick(0, 1 << 30) : 0;
    static const char* const pieces[] = {" [", "]", "新しい問題 上級", "名前.csv", "ｶﾅ", "🀙", "a b",
                                         " ",  "é", "\"quoted\"",      ",",        "\\"};
    for (int i = pick(0, 6); i > 0; --i) game.caption += pieces[pick(0, 11)];

    UndoData history;
    const UndoData::ChangeWriter ignore;
    const auto change = [&] {
        if (pick(0, 2) == 0) {
            return UndoEntry{{static_cast<std::int16_t>(pick(1, 81)),
                              static_cast<std::int16_t>(pick(0, kAllNotes)),
                              static_cast<std::int16_t>(pick(0, kAllNotes)), true}};
        }
        return UndoEntry{
            {static_cast<std::int16_t>(pick(1, 81)), static_cast<std::int16_t>(pick(0, 9)),
             static_cast<std::int16_t>(pick(0, 9))},
            static_cast<std::uint8_t>(pick(0, 2))};
    };
    for (int i = 0; i < moves; ++i) {
        switch (pick(0, 9)) {
            case 0:
            case 1:
                history.PushStep({change()});  // a lone change: no group around it
                break;
            case 2: {
                std::vector<UndoEntry> step(static_cast<std::size_t>(pick(1, 5)));
                for (UndoEntry& e : step) e = change();
                history.PushStep(step);
                break;
            }
            case 3:  // revealed answers: a breakpoint closed by a group end
                history.PushUndo(UndoBreakpoint, 0, 0);
                for (int k = pick(0, 4); k > 0; --k)
                    history.PushUndo(pick(1, 81), 0, pick(1, 9), MarkAnswer);
                history.PushUndo(UndoGroupEnd, 0, 0);
                break;
            case 4:
                history.SetBreakpoint();
                break;
            case 5:
            case 6:
                history.UndoOne(ignore);
                break;
            case 7:
                history.UndoToBreakpoint(ignore);
                break;
            default:
                history.Redo(ignore);
                break;
        }
    }
    game.history = history.snapshot();
    return game;
}

}  // namespace kz::test
