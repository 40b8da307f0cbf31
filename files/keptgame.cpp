// SPDX-License-Identifier: MIT
// The kept game's text: a first line naming the format and its version, one named line per
// part of the board, one line per history record, and a closing `end` line, so that a file cut
// short anywhere is told from a whole one.
#include "files/keptgame.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

#include "core/atomicfile.h"
#include "files/textline.h"

namespace kz {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "kazarinoset-game";
constexpr int kVersion = 1;
// A century: anything longer is not a clock that ran, but damage.
constexpr std::uint64_t kMaxElapsedSeconds = 100ull * 366 * 24 * 3600;
// Undo and redo records together. A player who fills every note after every placement makes
// about a hundred records a move, so a real game stays far below this.
constexpr std::uint64_t kMaxRecords = 1'000'000;

constexpr std::string_view kBreakpoint = "breakpoint";
constexpr std::string_view kGroupStart = "group-start";
constexpr std::string_view kGroupEnd = "group-end";

FileResult failure(std::string text) {
    return {false, std::move(text)};
}

// ---- Writing ----

// Nine rows of nine characters, a space between rows.
template <typename CharOf>
void appendGrid(std::string& out, std::string_view name, CharOf charOf) {
    out += name;
    for (int n = 1; n <= kCellCount; ++n) {
        if (n % 9 == 1) out += ' ';
        out += charOf(n);
    }
    out += '\n';
}

// The digits of the set in rising order, "-" for none.
void appendNoteSet(std::string& out, NoteSet notes) {
    if ((notes & kAllNotes) == 0) {
        out += '-';
        return;
    }
    for (int d = 1; d <= 9; ++d) {
        if (notes & NoteBit(d)) out += static_cast<char>('0' + d);
    }
}

void appendRecord(std::string& out, const UndoEntry& entry) {
    const UndoRecord& r = entry.record;
    switch (r.Cell) {
        case UndoBreakpoint:
            out += kBreakpoint;
            break;
        case UndoGroupStart:
            out += kGroupStart;
            break;
        case UndoGroupEnd:
            out += kGroupEnd;
            break;
        default:
            if (r.Note) {
                out += "note " + std::to_string(r.Cell) + ' ';
                appendNoteSet(out, static_cast<NoteSet>(r.OldValue));
                out += ' ';
                appendNoteSet(out, static_cast<NoteSet>(r.NewValue));
            } else {
                out += "set " + std::to_string(r.Cell) + ' ' + std::to_string(r.OldValue) + ' ' +
                       std::to_string(r.NewValue) + ' ' + std::to_string(entry.mark);
            }
            break;
    }
    out += '\n';
}

// ---- Reading ----

// The words of a line, split at runs of blanks.
class Words {
public:
    explicit Words(std::string_view line) : m_rest(line) {}

    bool next(std::string_view& word) {
        skipBlanks();
        if (m_rest.empty()) return false;
        const std::size_t end = std::min(m_rest.find(' '), m_rest.size());
        word = m_rest.substr(0, end);
        m_rest.remove_prefix(end);
        return true;
    }
    bool atEnd() {
        skipBlanks();
        return m_rest.empty();
    }

private:
    void skipBlanks() {
        while (!m_rest.empty() && m_rest.front() == ' ') m_rest.remove_prefix(1);
    }

    std::string_view m_rest;
};

// A decimal number without sign, at most `max`.
bool readNumber(std::string_view word, std::uint64_t max, std::uint64_t& value) {
    if (word.empty() || word.size() > 20) return false;
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v > max) return false;
    value = v;
    return true;
}

bool readNoteSet(std::string_view word, NoteSet& notes) {
    if (word == "-") {
        notes = 0;
        return true;
    }
    if (word.empty() || word.size() > 9) return false;
    NoteSet set = 0;
    int last = 0;
    for (char c : word) {
        const int d = c - '0';
        // Rising digits only, so that a set has one spelling.
        if (d <= last || d > 9) return false;
        set = static_cast<NoteSet>(set | NoteBit(d));
        last = d;
    }
    notes = set;
    return true;
}

// Whether a history read from its oldest record holds together the way the undo commands
// take it apart: a group start opens a group that a group end closes, with no breakpoint or
// second start inside; a group end with no start open closes back to the last breakpoint,
// as the revealed answers are kept. Nothing is left open at the end.
class HistoryShape {
public:
    /// Empty when the record fits, else why not.
    std::string_view add(std::int16_t cell) {
        switch (cell) {
            case UndoBreakpoint:
                if (m_opener == Opener::GroupStart) return "a breakpoint inside a group";
                m_opener = Opener::Breakpoint;
                break;
            case UndoGroupStart:
                if (m_opener == Opener::GroupStart) return "a group start inside a group";
                m_opener = Opener::GroupStart;
                break;
            case UndoGroupEnd:
                if (m_opener == Opener::None) return "a group end with no start or breakpoint";
                m_opener = Opener::None;
                break;
            default:
                break;
        }
        return {};
    }
    bool closed() const { return m_opener != Opener::GroupStart; }

private:
    enum class Opener { None, Breakpoint, GroupStart };
    Opener m_opener = Opener::None;
};

class Parser {
public:
    explicit Parser(std::string_view text) : m_rest(text) {}

    FileResult parse(KeptGame& game) {
        std::string_view line;
        if (!nextLine(line)) return failure("the file is empty; it is not a kept game");
        if (FileResult r = header(line); !r.ok) return r;
        if (FileResult r = caption(game.caption); !r.ok) return r;
        if (FileResult r = elapsed(game.elapsedSeconds); !r.ok) return r;
        if (FileResult r = puzzle(game.puzzle); !r.ok) return r;
        if (FileResult r = board(game.board); !r.ok) return r;
        if (FileResult r = notes(game.notes); !r.ok) return r;
        if (FileResult r = history(game.history); !r.ok) return r;
        if (!nextLine(line) || line != "end") {
            return error("the file ends early: the closing \"end\" line is missing");
        }
        if (!m_rest.empty()) return error("text after the closing \"end\" line");
        return {true, {}};
    }

private:
    // The next line without its LF (and a CR before it); false at the end of the text.
    bool nextLine(std::string_view& line) {
        if (m_rest.empty()) return false;
        ++m_line;
        const std::size_t lf = m_rest.find('\n');
        line = m_rest.substr(0, lf);
        m_rest.remove_prefix(lf == std::string_view::npos ? m_rest.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

    FileResult error(std::string_view what) const {
        return failure("line " + std::to_string(m_line) + ": " + std::string(what));
    }

    // The next line, which must start with `name`; `words` then holds the rest.
    FileResult namedLine(std::string_view name, Words& words) {
        std::string_view line;
        if (!nextLine(line)) {
            return failure("the file ends early, before the \"" + std::string(name) + "\" line");
        }
        words = Words(line);
        std::string_view first;
        if (!words.next(first) || first != name) {
            return error("expected the \"" + std::string(name) + "\" line");
        }
        return {true, {}};
    }

    FileResult header(std::string_view line) {
        Words words(line);
        std::string_view magic, version;
        if (!words.next(magic) || magic != kMagic) {
            return failure("not a kept game (the first line is not \"" + std::string(kMagic) +
                           " <version>\")");
        }
        std::uint64_t v = 0;
        const std::string known =
            "; this program reads version " + std::to_string(kVersion) + " only";
        if (!words.next(version) || !readNumber(version, 1'000'000, v) || !words.atEnd()) {
            return failure("the kept game is of an unknown version" + known);
        }
        if (v != kVersion) {
            return failure("the kept game is of version " + std::to_string(v) + known);
        }
        return {true, {}};
    }

    FileResult caption(std::string& caption) {
        std::string_view line;
        if (!nextLine(line)) return failure("the file ends early, before the \"caption\" line");
        constexpr std::string_view name = "caption";
        // The text is all that follows one space, blanks at either end included.
        if (line.substr(0, name.size()) != name ||
            (line.size() > name.size() && line[name.size()] != ' ')) {
            return error("expected the \"caption\" line");
        }
        const std::string_view text = line.substr(std::min(line.size(), name.size() + 1));
        if (text.size() > kMaxKeptCaptionBytes) {
            return error("the caption is longer than " + std::to_string(kMaxKeptCaptionBytes) +
                         " bytes");
        }
        if (!IsSingleLineText(text)) {
            return error("the caption holds control characters or bytes that are not UTF-8");
        }
        caption.assign(text);
        return {true, {}};
    }

    FileResult elapsed(std::optional<std::int64_t>& seconds) {
        Words words("");
        if (FileResult r = namedLine("elapsed", words); !r.ok) return r;
        std::string_view word;
        std::uint64_t v = 0;
        if (!words.next(word) || !words.atEnd()) return error("expected one value after elapsed");
        if (word == "none") {
            seconds.reset();
        } else if (readNumber(word, kMaxElapsedSeconds, v)) {
            seconds = static_cast<std::int64_t>(v);
        } else {
            return error("the elapsed time is not a number of seconds 0.." +
                         std::to_string(kMaxElapsedSeconds));
        }
        return {true, {}};
    }

    // 81 characters '0'..'0' + max in the words after the name, spaced as the writer likes.
    FileResult grid(std::string_view name, int max, std::array<std::uint8_t, kArraySize>& out,
                    bool allowNone, bool& none) {
        Words words("");
        if (FileResult r = namedLine(name, words); !r.ok) return r;
        std::string_view word;
        int n = 0;
        none = false;
        while (words.next(word)) {
            if (allowNone && n == 0 && word == "none" && words.atEnd()) {
                none = true;
                return {true, {}};
            }
            for (char c : word) {
                if (c < '0' || c > '0' + max) {
                    return error(std::string(name) + ": '" + std::string(1, c) +
                                 "' is not a value 0.." + std::to_string(max));
                }
                if (++n > kCellCount) break;
                out[n] = static_cast<std::uint8_t>(c - '0');
            }
        }
        if (n != kCellCount) return error(std::string(name) + ": expected 81 values");
        return {true, {}};
    }

    FileResult puzzle(std::optional<std::array<std::uint8_t, kCellCount>>& puzzle) {
        std::array<std::uint8_t, kArraySize> cells{};
        bool none = false;
        if (FileResult r = grid("puzzle", 9, cells, true, none); !r.ok) return r;
        if (none) {
            puzzle.reset();
        } else {
            puzzle.emplace();
            for (int n = 1; n <= kCellCount; ++n) (*puzzle)[n - 1] = cells[n];
        }
        return {true, {}};
    }

    FileResult board(Board& board) {
        std::array<std::uint8_t, kArraySize> digits{}, givens{}, marks{};
        bool none = false;
        if (FileResult r = grid("digits", 9, digits, false, none); !r.ok) return r;
        if (FileResult r = grid("givens", 1, givens, false, none); !r.ok) return r;
        for (int n = 1; n <= kCellCount; ++n) {
            if (givens[n] == 1 && digits[n] == 0) {
                return error("givens: cell " + std::to_string(n) + " is a given without a digit");
            }
        }
        if (FileResult r = grid("marks", 2, marks, false, none); !r.ok) return r;
        for (int n = 1; n <= kCellCount; ++n) {
            board[n] = {digits[n], givens[n] == 1, marks[n]};
        }
        return {true, {}};
    }

    FileResult notes(NoteArray& notes) {
        Words words("");
        if (FileResult r = namedLine("notes", words); !r.ok) return r;
        std::string_view word;
        int n = 0;
        while (words.next(word)) {
            if (++n > kCellCount) break;
            if (!readNoteSet(word, notes[n])) {
                return error("notes: cell " + std::to_string(n) +
                             " is not \"-\" or rising digits 1..9");
            }
        }
        if (n != kCellCount) return error("notes: expected 81 note sets");
        return {true, {}};
    }

    // "<name> <count>", the count within what is left of the budget.
    FileResult count(std::string_view name, std::uint64_t& value) {
        Words words("");
        if (FileResult r = namedLine(name, words); !r.ok) return r;
        std::string_view word;
        if (!words.next(word) || !readNumber(word, m_budget, value) || !words.atEnd()) {
            return error(std::string(name) + ": expected a count up to " +
                         std::to_string(m_budget));
        }
        return {true, {}};
    }

    FileResult record(UndoEntry& entry) {
        std::string_view line;
        if (!nextLine(line)) return failure("the file ends early, inside the history");
        Words words(line);
        std::string_view kind;
        entry = {};
        if (!words.next(kind)) return error("expected a history record");
        if (kind == kBreakpoint || kind == kGroupStart || kind == kGroupEnd) {
            entry.record.Cell = kind == kBreakpoint   ? UndoBreakpoint
                                : kind == kGroupStart ? UndoGroupStart
                                                      : UndoGroupEnd;
            if (!words.atEnd()) return error("a marker carries no values");
            return {true, {}};
        }
        const bool note = kind == "note";
        if (!note && kind != "set") return error("unknown history record");
        std::string_view word[4];
        const int fields = note ? 3 : 4;
        for (int i = 0; i < fields; ++i) {
            if (!words.next(word[i])) return error("too few values in a history record");
        }
        if (!words.atEnd()) return error("too many values in a history record");
        std::uint64_t cell = 0;
        if (!readNumber(word[0], kCellCount, cell) || cell == 0) {
            return error("the cell of a history record is not 1..81");
        }
        entry.record.Cell = static_cast<std::int16_t>(cell);
        entry.record.Note = note;
        if (note) {
            NoteSet before = 0, after = 0;
            if (!readNoteSet(word[1], before) || !readNoteSet(word[2], after)) {
                return error("a note record's sets are not \"-\" or rising digits 1..9");
            }
            entry.record.OldValue = static_cast<std::int16_t>(before);
            entry.record.NewValue = static_cast<std::int16_t>(after);
            return {true, {}};
        }
        std::uint64_t before = 0, after = 0, mark = 0;
        if (!readNumber(word[1], 9, before) || !readNumber(word[2], 9, after)) {
            return error("a digit record's digits are not 0..9");
        }
        if (!readNumber(word[3], MarkAnswer, mark)) return error("a record's mark is not 0..2");
        entry.record.OldValue = static_cast<std::int16_t>(before);
        entry.record.NewValue = static_cast<std::int16_t>(after);
        entry.mark = static_cast<std::uint8_t>(mark);
        return {true, {}};
    }

    // `count` records that, read alone from the first, hold together.
    FileResult records(std::uint64_t count, std::vector<UndoEntry>& out) {
        m_budget -= count;
        HistoryShape shape;
        for (std::uint64_t i = 0; i < count; ++i) {
            UndoEntry entry;
            if (FileResult r = record(entry); !r.ok) return r;
            if (const std::string_view why = shape.add(entry.record.Cell); !why.empty()) {
                return error(why);
            }
            out.push_back(entry);
        }
        if (!shape.closed()) return error("a group is left open");
        return {true, {}};
    }

    FileResult history(UndoData::Snapshot& history) {
        std::uint64_t undo = 0;
        if (FileResult r = count("undo", undo); !r.ok) return r;
        if (FileResult r = records(undo, history.undo); !r.ok) return r;
        std::uint64_t steps = 0;
        if (FileResult r = count("redo", steps); !r.ok) return r;
        for (std::uint64_t i = 0; i < steps; ++i) {
            std::uint64_t size = 0;
            if (FileResult r = count("step", size); !r.ok) return r;
            if (size == 0) return error("an empty redo step");
            if (FileResult r = records(size, history.redo.emplace_back()); !r.ok) return r;
        }
        return {true, {}};
    }

    std::string_view m_rest;
    int m_line = 0;
    std::uint64_t m_budget = kMaxRecords;
};

// The directories of `dir` that do not exist yet, made one by one so that those the program
// makes are the player's alone (the rest of the state folder may hold others' data).
bool makeFolder(const fs::path& dir, std::string& error) {
    std::error_code ec;
    if (dir.empty() || fs::is_directory(dir, ec)) return true;
    std::vector<fs::path> missing;
    for (fs::path p = dir; !p.empty() && !fs::exists(fs::symlink_status(p, ec));
         p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (fs::create_directory(*it, ec)) {
            fs::permissions(*it, fs::perms::owner_all, fs::perm_options::replace, ec);
        } else if (ec) {
            error = "cannot create the folder " + it->string() + ": " + ec.message();
            return false;
        }
    }
    if (!fs::is_directory(dir, ec)) {
        error = "cannot create the folder " + dir.string() + ": not a folder";
        return false;
    }
    return true;
}

// Renames without replacing what is at `to`; false with errno EEXIST when something is.
bool renameAside(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot refuse to replace: look first, which is as good as it gets
    // there.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

KeptGame SafeKeptGame(KeptGame game) {
    game.caption = SingleLineText(game.caption, kMaxKeptCaptionBytes);
    if (game.elapsedSeconds) {
        game.elapsedSeconds = std::clamp<std::int64_t>(
            *game.elapsedSeconds, 0, static_cast<std::int64_t>(kMaxElapsedSeconds));
    }
    return game;
}

std::string FormatKeptGame(const KeptGame& unsafe) {
    // The reader's own bounds, so that nothing written is refused when read back.
    const KeptGame game = SafeKeptGame(unsafe);
    std::string out;
    std::size_t records = game.history.undo.size();
    for (const auto& step : game.history.redo) records += step.size() + 1;
    out.reserve(1024 + game.caption.size() + 24 * records);

    out += std::string(kMagic) + ' ' + std::to_string(kVersion) + '\n';
    out += "caption " + game.caption + '\n';
    out += "elapsed " +
           (game.elapsedSeconds ? std::to_string(*game.elapsedSeconds) : std::string("none")) +
           '\n';
    if (game.puzzle) {
        appendGrid(out, "puzzle",
                   [&](int n) { return static_cast<char>('0' + (*game.puzzle)[n - 1]); });
    } else {
        out += "puzzle none\n";
    }
    appendGrid(out, "digits", [&](int n) { return static_cast<char>('0' + game.board[n].Value); });
    appendGrid(out, "givens", [&](int n) { return game.board[n].Problem ? '1' : '0'; });
    appendGrid(out, "marks", [&](int n) { return static_cast<char>('0' + game.board[n].Mark); });
    out += "notes";
    for (int n = 1; n <= kCellCount; ++n) {
        out += ' ';
        appendNoteSet(out, game.notes[n]);
    }
    out += '\n';
    out += "undo " + std::to_string(game.history.undo.size()) + '\n';
    for (const UndoEntry& entry : game.history.undo) appendRecord(out, entry);
    out += "redo " + std::to_string(game.history.redo.size()) + '\n';
    for (const auto& step : game.history.redo) {
        out += "step " + std::to_string(step.size()) + '\n';
        for (const UndoEntry& entry : step) appendRecord(out, entry);
    }
    out += "end\n";
    return out;
}

FileResult ParseKeptGame(std::string_view text, KeptGame& game) {
    if (text.size() > kMaxKeptGameBytes) {
        return failure("the kept game is larger than " + std::to_string(kMaxKeptGameBytes) +
                       " bytes");
    }
    KeptGame read;
    FileResult result = Parser(text).parse(read);
    if (result.ok) game = std::move(read);
    return result;
}

fs::path XdgFilePath(const char* variable, const fs::path& underHome, const fs::path& name) {
    const auto absolute = [](const char* value) {
        return value != nullptr && *value != '\0' && fs::path(value).is_absolute();
    };
    const char* folder = std::getenv(variable);
    if (absolute(folder)) return fs::path(folder) / "kazarinoset" / name;
    const char* home = std::getenv("HOME");
    if (absolute(home)) return fs::path(home) / underHome / "kazarinoset" / name;
    return {};
}

fs::path KeptGamePath() {
    return XdgFilePath("XDG_STATE_HOME", fs::path(".local") / "state", "game.txt");
}

FileResult WriteKeptGame(const fs::path& path, const KeptGame& game) {
    return WriteKeptGameText(path, FormatKeptGame(game));
}

FileResult WriteKeptGameText(const fs::path& path, std::string_view text) {
    std::string error;
    if (path.empty())
        return failure("no place for the kept game (neither XDG_STATE_HOME nor HOME)");
    if (!makeFolder(path.parent_path(), error)) return failure(error);
    if (!WriteFileAtomically(path, text, &error)) return failure(error);
    return {true, {}};
}

FileResult ReadKeptGame(const fs::path& path, KeptGame& game) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec == std::errc::no_such_file_or_directory) return failure({});
    if (ec) return failure("cannot open " + path.string() + ": " + ec.message());
    // A named pipe or a device would block the window until someone writes to it.
    if (!fs::is_regular_file(status)) {
        return failure("cannot open " + path.string() + ": not a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return failure("cannot open " + path.string());
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxKeptGameBytes) {
            return failure(path.string() + ": larger than " + std::to_string(kMaxKeptGameBytes) +
                           " bytes; not a kept game");
        }
    }
    if (in.bad()) return failure("read error in " + path.string());
    FileResult result = ParseKeptGame(text, game);
    if (!result.ok) result.error = path.string() + ": " + result.error;
    return result;
}

fs::path SetAsideKeptGame(const fs::path& path) {
    std::error_code ec;
    if (path.empty() || !fs::exists(fs::symlink_status(path, ec))) return {};
    for (int n = 1; n <= 10000; ++n) {
        fs::path aside = path;
        aside += ".damaged-" + std::to_string(n);
        if (renameAside(path, aside)) return aside;
        if (errno != EEXIST) return {};
    }
    return {};
}

}  // namespace kz
