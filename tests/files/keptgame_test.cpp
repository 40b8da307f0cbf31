// SPDX-License-Identifier: MIT
// The kept game: every game written reads back equal, anything damaged is refused without
// touching the caller's game, a killed writer never damages the file, and the file's place
// and its setting aside.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "files/keptgame.h"
#include "keptgame_random.h"
#include "support/tempdir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

// A game no text produces: whatever a failed parse touched shows.
KeptGame sentinel() {
    KeptGame game;
    game.board[0].Value = 7;
    game.caption = "untouched";
    return game;
}

TEST(KeptGameText, RandomGamesReadBackEqual) {
    std::mt19937 rng(2024);
    int withRedo = 0, withGroups = 0;
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE(i);
        const KeptGame game = test::RandomKeptGame(rng, i % 60);
        const std::string text = FormatKeptGame(game);
        KeptGame read = sentinel();
        const FileResult result = ParseKeptGame(text, read);
        ASSERT_TRUE(result.ok) << result.error << "\n" << text;
        EXPECT_EQ(read.puzzle, game.puzzle);
        EXPECT_EQ(read.board, game.board);
        EXPECT_EQ(read.notes, game.notes);
        EXPECT_EQ(read.history.undo, game.history.undo);
        EXPECT_EQ(read.history.redo, game.history.redo);
        EXPECT_EQ(read.elapsedSeconds, game.elapsedSeconds);
        EXPECT_EQ(read.caption, game.caption);
        EXPECT_EQ(FormatKeptGame(read), text);
        withRedo += !game.history.redo.empty();
        withGroups += text.find("group-end") != std::string::npos;
    }
    // The sweep means little unless the histories took every shape.
    EXPECT_GT(withRedo, 50);
    EXPECT_GT(withGroups, 100);
}

// A small whole game the refusal table edits.
const std::string& baseText() {
    static const std::string text = [] {
        KeptGame game;
        game.board[1] = {5, true, MarkNone};
        game.board[2] = {3, false, MarkAnswer};
        game.notes[3] = 0x15;
        game.caption = " [問題.csv]";
        return FormatKeptGame(game);
    }();
    return text;
}

std::string edited(std::string_view from, std::string_view to) {
    std::string text = baseText();
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(KeptGameText, RefusesDamagedTextsAndLeavesTheGame) {
    std::mt19937 rng(7);
    KeptGame big;
    do big = test::RandomKeptGame(rng, 80);
    while (big.history.redo.empty() || big.history.undo.empty());
    const std::string whole = FormatKeptGame(big);

    std::vector<std::pair<std::string, std::string>> cases;
    // Cut short anywhere but just before the final line end, which loses nothing.
    for (std::size_t cut = 0; cut + 1 < whole.size(); ++cut)
        cases.emplace_back("cut", whole.substr(0, cut));
    const std::string history = "undo 0\nredo 0\n";
    const std::pair<std::string, std::string> edits[] = {
        {"kazarinoset-game 1", "kazarinoset-game 2"},
        {"kazarinoset-game 1", "sudoku 1"},
        {"問題", "問\n題"},
        {"問題", "問\x01題"},
        {"問題", "問\xC2\x85題"},
        {"問題", "問\xE2\x80\xA8題"},
        {"問題", "\xFF"},
        {"問題", std::string(kMaxKeptCaptionBytes - 6, 'x')},
        {"elapsed none", "elapsed -1"},
        {"elapsed none", "elapsed 99999999999"},
        {"puzzle none", "puzzle 12"},
        {"digits 530", "digits 5300"},
        {"givens 100", "givens 200"},
        {"givens 100", "givens 101"},
        {"marks 020", "marks 030"},
        {"notes - - 135", "notes - - 315"},
        {"notes - - 135", "notes - 135"},
        {history, "undo 1\nredo 0\n"},
        {history, "undo 2\nset 5 0 1 0\nredo 0\n"},
        {history, "undo 1\nset 0 0 1 0\nredo 0\n"},
        {history, "undo 1\nset 5 0 10 0\nredo 0\n"},
        {history, "undo 1\nnote 5 11 -\nredo 0\n"},
        {history, "undo 1\nbreakpoint 0\nredo 0\n"},
        {history, "undo 1\nclear 5\nredo 0\n"},
        {history, "undo 1\ngroup-end\nredo 0\n"},
        {history, "undo 2\ngroup-start\nset 5 0 1 0\nredo 0\n"},
        {history, "undo 3\ngroup-start\nbreakpoint\ngroup-end\nredo 0\n"},
        {history, "undo 3\nbreakpoint\ngroup-end\ngroup-end\nredo 0\n"},
        {history, "undo 1\nbreakpoint\nredo 1\nstep 1\ngroup-end\n"},
        {history, "undo 0\nredo 1\nstep 0\n"},
        {history, "undo 1000001\nredo 0\n"},
        {"end\n", "end\nmore\n"},
    };
    for (const auto& [from, to] : edits) cases.emplace_back(from + " -> " + to, edited(from, to));
    cases.emplace_back("oversize", baseText() + std::string(kMaxKeptGameBytes, '\n'));

    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name + " (" + std::to_string(text.size()) + " bytes)");
        KeptGame game = sentinel();
        const FileResult result = ParseKeptGame(text, game);
        ASSERT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(game, sentinel());
    }
    KeptGame game;
    EXPECT_NE(ParseKeptGame(edited("game 1", "game 2"), game).error.find("version 2"),
              std::string::npos);
}

TEST(KeptGameText, AcceptsWhatEditorsDoToText) {
    std::string crlf;
    for (char c : baseText()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    KeptGame expected;
    ASSERT_TRUE(ParseKeptGame(baseText(), expected).ok);
    for (const std::string& text : {crlf, baseText().substr(0, baseText().size() - 1),
                                    edited("digits 530000000 000", "digits    5300000000 00")}) {
        KeptGame game;
        EXPECT_TRUE(ParseKeptGame(text, game).ok) << text;
        EXPECT_EQ(game, expected);
    }
    KeptGame game;
    ASSERT_TRUE(ParseKeptGame(edited("問題", std::string(kMaxKeptCaptionBytes - 7, 'x')), game).ok);
    EXPECT_EQ(game.caption.size(), kMaxKeptCaptionBytes);
}

class KeptGameFile : public test::TempDirTest {};

TEST_F(KeptGameFile, PathFollowsTheEnvironment) {
    const auto saved = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto state = saved("XDG_STATE_HOME"), home = saved("HOME");
    const auto set = [](const char* name, const char* value) {
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    };
    const struct {
        const char* state;
        const char* home;
        const char* path;
    } cases[] = {
        {"/s", "/h", "/s/kazarinoset/game.txt"},
        {"", "/h", "/h/.local/state/kazarinoset/game.txt"},
        {"rel", "/h", "/h/.local/state/kazarinoset/game.txt"},
        {nullptr, "/h", "/h/.local/state/kazarinoset/game.txt"},
        {nullptr, "rel", ""},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        set("XDG_STATE_HOME", c.state);
        set("HOME", c.home);
        EXPECT_EQ(KeptGamePath(), fs::path(c.path)) << (c.state ? c.state : "(unset)");
    }
    set("XDG_STATE_HOME", state ? state->c_str() : nullptr);
    set("HOME", home ? home->c_str() : nullptr);
}

TEST_F(KeptGameFile, WritesIntoNewPrivateFoldersAndReadsBack) {
    std::mt19937 rng(3);
    const KeptGame game = test::RandomKeptGame(rng, 40);
    const fs::path path = m_dir / "state" / "kazarinoset" / "game.txt";
    ASSERT_TRUE(WriteKeptGame(path, game).ok);
    for (const fs::path& dir : {m_dir / "state", m_dir / "state" / "kazarinoset"}) {
        EXPECT_EQ(fs::status(dir).permissions() & fs::perms::all, fs::perms::owner_all) << dir;
    }
    KeptGame read;
    ASSERT_TRUE(ReadKeptGame(path, read).ok);
    EXPECT_EQ(read, game);

    std::ofstream(m_dir / "file") << "x";
    EXPECT_FALSE(WriteKeptGame(m_dir / "file" / "game.txt", game).error.empty());
    const FileResult missing = ReadKeptGame(m_dir / "none.txt", read);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.empty());
    fs::resize_file(path, kMaxKeptGameBytes + 1);
    EXPECT_NE(ReadKeptGame(path, read).error.find("larger"), std::string::npos);
    EXPECT_EQ(read, game);
}

TEST_F(KeptGameFile, SetAsideNeverReplacesAnEarlierOne) {
    const fs::path path = m_dir / "game.txt";
    EXPECT_EQ(SetAsideKeptGame(path), fs::path());
    std::ofstream(m_dir / "game.txt.damaged-1") << "first";
    std::ofstream(m_dir / "game.txt.damaged-3") << "third";
    for (const char* expected : {"game.txt.damaged-2", "game.txt.damaged-4"}) {
        std::ofstream(path) << expected;
        EXPECT_EQ(SetAsideKeptGame(path), m_dir / expected);
        EXPECT_FALSE(fs::exists(path));
        EXPECT_EQ(test::slurp(m_dir / expected), expected);
    }
    EXPECT_EQ(test::slurp(m_dir / "game.txt.damaged-1"), "first");
    EXPECT_EQ(test::slurp(m_dir / "game.txt.damaged-3"), "third");
}

// A writer killed at random moments while it rewrites the kept game: the file always holds one
// whole game of those written, and at most one temporary file is ever left beside it.
TEST_F(KeptGameFile, KilledWriterLeavesOneWholeGame) {
    std::mt19937 rng(11);
    // Long histories, so that a kill often lands inside a write.
    const KeptGame games[] = {test::RandomKeptGame(rng, 3000), test::RandomKeptGame(rng, 2000)};
    ASSERT_NE(games[0], games[1]);
    const fs::path path = m_dir / "game.txt";
    ASSERT_TRUE(WriteKeptGame(path, games[0]).ok);

    // The kills spread over about three writes, and the whole probe over a few seconds.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WriteKeptGame(path, games[0]).ok);
    const auto write = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<long> delay(0, std::min(3 * write.count() + 300, 50000L));

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
