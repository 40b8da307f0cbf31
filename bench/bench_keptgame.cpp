// SPDX-License-Identifier: MIT
// What keeping the game aside costs after each move: the text of a half-played game, and its
// whole atomic write (temporary file, flush to disk, rename), whose p99 is what a click waits
// for when the window writes on its own thread.
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "core/answer.h"
#include "files/keptgame.h"
#include "files/keptwriter.h"
#include "history/notes.h"

namespace {

namespace fs = std::filesystem;
using namespace kz;

// A puzzle of the hardest kind (the first of forum_hardest_1106) played half way as a player does:
// notes filled once a third of the blanks are done, then placements that tidy the notes of their
// peers, a breakpoint every ten moves, a single revealed answer, and the last three steps undone.
KeptGame halfPlayedGame() {
    const char* text =
        "000000008003000400090020060000079000000061200060502070008000500010000020405000003";
    KeptGame game;
    game.puzzle.emplace();
    ValueArray16 solution{};
    for (int n = 1; n <= kCellCount; ++n) {
        const auto d = static_cast<std::uint8_t>(text[n - 1] - '0');
        (*game.puzzle)[n - 1] = d;
        game.board[n] = {d, d != 0, MarkNone};
        solution[n] = d;
    }
    if (!Solver().SolveBoard(solution)) std::abort();

    std::vector<int> blanks;
    for (int n = 1; n <= kCellCount; ++n) {
        if (game.board[n].Value == 0) blanks.push_back(n);
    }
    std::shuffle(blanks.begin(), blanks.end(), std::mt19937(1));

    UndoData history;
    const auto apply = [&](const std::vector<UndoEntry>& step) {
        for (const UndoEntry& e : step)
            game.notes[e.record.Cell] = static_cast<NoteSet>(e.record.NewValue);
        history.PushStep(step);
    };
    for (int move = 0; move < 40; ++move) {
        const int n = blanks[static_cast<std::size_t>(move)];
        const int d = solution[n];
        if (move == 20) apply(FillAllNotes(game.board, game.notes));
        if (move % 10 == 9) history.SetBreakpoint();
        std::vector<UndoEntry> step{
            {{static_cast<std::int16_t>(n), 0, static_cast<std::int16_t>(d)},
             move == 30 ? MarkAnswer : MarkNone}};
        const NoteChanges tidied = TidyAfterPlacement(game.notes, n, d, true);
        step.insert(step.end(), tidied.begin(), tidied.end());
        apply(step);
        game.board[n] = {static_cast<std::uint8_t>(d), false, step.front().mark};
    }
    UndoData::ChangeWriter write;
    write.digit = [&](int cell, int value, int mark) {
        game.board[cell] = {static_cast<std::uint8_t>(value), false,
                            static_cast<std::uint8_t>(mark)};
    };
    write.notes = [&](int cell, NoteSet notes) { game.notes[cell] = notes; };
    for (int i = 0; i < 3; ++i) history.UndoOne(write);
    game.history = history.snapshot();
    game.elapsedSeconds = 754;
    game.caption = " [新しい問題 難問]";
    return game;
}

void addShape(benchmark::State& state, const KeptGame& game) {
    std::size_t redo = 0;
    for (const auto& step : game.history.redo) redo += step.size();
    state.counters["undo_records"] = static_cast<double>(game.history.undo.size());
    state.counters["redo_records"] = static_cast<double>(redo);
    state.counters["bytes"] = static_cast<double>(FormatKeptGame(game).size());
}

void BM_FormatKeptGame(benchmark::State& state) {
    const KeptGame game = halfPlayedGame();
    for (auto _ : state) benchmark::DoNotOptimize(FormatKeptGame(game));
    addShape(state, game);
}

void BM_ParseKeptGame(benchmark::State& state) {
    const std::string text = FormatKeptGame(halfPlayedGame());
    for (auto _ : state) {
        KeptGame game;
        if (!ParseKeptGame(text, game).ok) state.SkipWithError("the game did not read back");
        benchmark::DoNotOptimize(game);
    }
}

// Each write timed on its own: the tail, not the mean, is what a player notices. With
// range(0) = 0 the whole atomic write; with 1 what a click waits for in the window: the text
// made and handed to the writer thread, which flushes to disk meanwhile.
void BM_WriteKeptGame(benchmark::State& state) {
    const KeptGame game = halfPlayedGame();
    const fs::path dir =
        fs::temp_directory_path() / ("kz_bench_kept_" + std::to_string(::getpid()));
    const fs::path path = dir / "kazarinoset" / "game.txt";
    fs::remove_all(dir);
    const bool onClick = state.range(0) == 1;
    std::optional<KeptGameWriter> writer;
    if (onClick) writer.emplace(path);
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        FileResult result{true, {}};
        if (onClick) {
            writer->Submit(FormatKeptGame(game));
        } else {
            result = WriteKeptGame(path, game);
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        if (!result.ok) state.SkipWithError(result.error.c_str());
        // Clicks come a human's beat apart, not back to back.
        if (onClick) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (onClick) writer->Flush();
    writer.reset();
    fs::remove_all(dir);
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[static_cast<std::size_t>(q * static_cast<double>(micros.size() - 1))];
    };
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
    addShape(state, game);
}

BENCHMARK(BM_FormatKeptGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseKeptGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteKeptGame)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
