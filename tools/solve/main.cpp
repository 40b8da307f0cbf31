// SPDX-License-Identifier: MIT
// kazarinoset-solve: prints the verification code, the completion, the rating or the step path
// of every board it reads, or sets the boards in a booklet as a PDF file.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/answer.h"
#include "core/fields.h"
#include "files/fileio.h"
#include "logic/describe.h"
#include "logic/hint.h"
#include "logic/solver.h"
#include "tools/solve/boardline.h"
#include "tools/solve/generatemode.h"
#include "tools/solve/pdfmode.h"

namespace {

constexpr int kExitMalformed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kHelp =
    "Usage: kazarinoset-solve [--solve | --rate | --explain | --hint] [--lang en|ja] [FILE...]\n"
    "       kazarinoset-solve --pdf OUT [--per-page N] [--solutions] [--tiles]\n"
    "                         [--paper a4|letter] [FILE...]\n"
    "\n"
    "Checks Sudoku boards. With no FILE, or when FILE is -, reads standard input.\n"
    "A FILE whose name ends in .csv is a problem file holding one board (nine lines of\n"
    "nine comma-terminated digits). Any other input is a list of boards, one a line: 81\n"
    "characters, 1-9 for a given digit and 0 or . for a blank cell, in cell order row by\n"
    "row. Blanks around a line are ignored; empty lines and lines starting with # are\n"
    "skipped.\n"
    "\n"
    "Output, one line per board in input order:\n"
    "  default   the verification code, a tab and its word:\n"
    "            -1 contradiction  the rule step shows the board cannot be completed\n"
    "             0 none           no solution\n"
    "             1 unique         exactly one solution\n"
    "             2 multiple       two or more solutions\n"
    "  --solve   the 81 digits of the completion that is smallest in cell order, or -\n"
    "            when there is none\n"
    "  --rate    how hard the board is for a person: the level (1 beginner to 6 expert),\n"
    "            a tab, the difficulty on the players' community scale (SER, 1.0 to\n"
    "            about 12, one decimal: its hardest step's), a tab and the hardest\n"
    "            technique the solution needs\n"
    "  --explain the whole solution path as a person would take it, one step a line,\n"
    "            then the 81 digits of the solution on a line of their own\n"
    "  --hint    reads lines of a puzzle, a space and the board (81 characters each: the\n"
    "            board holds every digit on it, the givens included), then optionally a\n"
    "            space and the notes: 729 characters, nine per cell in cell order, the\n"
    "            k-th of a cell's nine the digit k for note k and . for none. It prints\n"
    "            'wrong' and the cells whose digit is wrong (r<row>c<col>), else\n"
    "            'missing' and each cell whose notes lack its solution digit\n"
    "            (r<row>c<col>#<digit>), else 'solved' for a full board, else the next\n"
    "            step as --explain writes it. A cell with notes has its notes as\n"
    "            candidates, a cell without every digit its row, column and box allow.\n"
    "  --pdf OUT writes no lines but sets the boards, numbered and rated, in a booklet\n"
    "            that it writes to the file OUT as PDF; a board without exactly one\n"
    "            solution is named on standard error and left out of the booklet\n"
    "With --rate, --explain and --hint, a puzzle without exactly one solution prints\n"
    "its verification code and word instead.\n"
    "\n"
    "A malformed board prints 'error' in its place and a message naming the file and\n"
    "line on standard error.\n"
    "\n"
    "Exit status: 0 all boards read, 1 some board was malformed, 2 a file could not be\n"
    "read, the output or the PDF file could not be written or the options were wrong.\n"
    "\n"
    "Options:\n"
    "  --solve          print completions instead of verification codes\n"
    "  --rate           print level, difficulty and hardest technique\n"
    "  --explain        print the solution path step by step\n"
    "  --hint           print the next step from a board and its notes\n"
    "  --lang en|ja     language of --explain and --hint: English (the default) or\n"
    "                   Japanese\n"
    "  --pdf OUT        write the boards as a booklet to the PDF file OUT\n"
    "  --per-page N     with --pdf: puzzles on a page, 1, 2, 4 (the default) or 6\n"
    "  --solutions      with --pdf: the solutions at the end, small, twelve to a page\n"
    "  --tiles          with --pdf: pin tiles in place of numerals\n"
    "  --paper a4|letter\n"
    "                   with --pdf: the paper size, A4 (the default) or US Letter\n"
    "  --help           show this text and exit\n";

enum class Mode { Verify, Solve, Rate, Explain, Hint, Pdf };

// The options that choose what is printed; at most one of them.
constexpr std::pair<std::string_view, Mode> kModes[] = {{"--solve", Mode::Solve},
                                                        {"--rate", Mode::Rate},
                                                        {"--explain", Mode::Explain},
                                                        {"--hint", Mode::Hint}};

struct Options {
    Mode mode = Mode::Verify;
    kz::logic::Lang lang = kz::logic::Lang::English;
    bool langGiven = false;
    kz::PdfOptions pdf;
    std::vector<std::string> files;
};

// Reads the command line into `options`; an error message when it is wrong. Options that
// take a value accept it as the next argument or after "=".
std::string ParseOptions(int argc, char** argv, Options& options) {
    bool optionsDone = false;
    const char* modeName = nullptr;
    auto setMode = [&](Mode mode, const char* name) -> std::string {
        if (modeName && options.mode != mode) {
            return std::string(modeName) + " and " + name + " cannot be used together";
        }
        options.mode = mode;
        modeName = name;
        return {};
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsDone || arg == "-" || arg.size() < 2 || arg.front() != '-') {
            options.files.emplace_back(arg);
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        auto takeValue = [&]() -> std::optional<std::string_view> {
            if (value) return value;
            if (i + 1 < argc) return std::string_view(argv[++i]);
            return std::nullopt;
        };
        auto noValue = [&]() -> std::string {
            return value ? "option " + std::string(name) + " takes no value" : std::string();
        };
        std::string error;
        if (name == "--") {
            optionsDone = true;
        } else if (const auto mode = std::find_if(std::begin(kModes), std::end(kModes),
                                                  [&](const auto& m) { return m.first == name; });
                   mode != std::end(kModes)) {
            error = noValue();
            if (error.empty()) error = setMode(mode->second, mode->first.data());
        } else if (name == "--lang") {
            const std::optional<std::string_view> lang = takeValue();
            if (!lang) {
                error = "option --lang needs a value: en or ja";
            } else if (*lang == "en") {
                options.lang = kz::logic::Lang::English;
            } else if (*lang == "ja") {
                options.lang = kz::logic::Lang::Japanese;
            } else {
                error = "unknown language '" + std::string(*lang) + "' for --lang: use en or ja";
            }
            options.langGiven = true;
        } else if (name == "--pdf") {
            const std::optional<std::string_view> out = takeValue();
            error = !out || out->empty() ? "option --pdf needs the name of the file to write"
                                         : setMode(Mode::Pdf, "--pdf");
            if (error.empty()) options.pdf.out = std::string(*out);
        } else if (kz::IsPdfOption(name)) {
            error = kz::TakePdfOption(name, value, takeValue, options.pdf);
        } else {
            error = "unknown option " + std::string(arg);
        }
        if (!error.empty()) return error;
    }
    if (options.langGiven && options.mode != Mode::Explain && options.mode != Mode::Hint) {
        return "option --lang applies to --hint and --explain only";
    }
    if (options.pdf.anyGiven && options.mode != Mode::Pdf) {
        return "options --per-page, --solutions, --tiles and --paper apply to --pdf only";
    }
    return {};
}

class Checker {
public:
    explicit Checker(const Options& options) : m_options(options) {}

    void board(const kz::ValueArray16& values) {
        if (m_options.mode == Mode::Pdf) {
            if (std::optional<kz::print::Entry> entry = kz::print::RatedEntry(Digits(values))) {
                m_booklet.push_back(*entry);
            } else {
                malformed(m_source, m_line, "not exactly one solution: left out of the booklet");
            }
            return;
        }
        if (m_options.mode == Mode::Hint) {
            // A problem file is a puzzle with nothing played yet.
            hint(values, values, kz::NoteArray{});
            return;
        }
        if (m_options.mode == Mode::Rate || m_options.mode == Mode::Explain) {
            rate(values);
            return;
        }
        if (m_options.mode == Mode::Solve) {
            kz::ValueArray16 completed = values;
            if (m_solver.SolveBoard(completed)) {
                std::string digits;
                for (int n = 1; n <= kz::kCellCount; ++n) {
                    digits += static_cast<char>('0' + completed[n]);
                }
                std::cout << digits << '\n';
            } else {
                std::cout << "-\n";
            }
            return;
        }
        const int code = m_solver.VerifyProblem(values);
        std::cout << code << '\t' << Word(code) << '\n';
    }

    void rate(const kz::ValueArray16& values) {
        kz::logic::Digits digits{};
        for (int n = 1; n <= kz::kCellCount; ++n) {
            digits[n - 1] = static_cast<std::uint8_t>(values[n]);
        }
        kz::logic::Path path;
        const kz::logic::Rating rating = kz::logic::Rate(digits, &path);
        if (rating.verifyCode != kz::VerifyUnique) {
            std::cout << rating.verifyCode << '\t' << Word(rating.verifyCode) << '\n';
            return;
        }
        if (m_options.mode == Mode::Rate) {
            // A complete board needs no technique at all.
            std::cout << rating.level << '\t' << kz::logic::DifficultyText(rating.difficulty)
                      << '\t'
                      << (path.steps.empty() ? std::string_view("-")
                                             : kz::logic::Info(rating.hardest).english)
                      << '\n';
            return;
        }
        std::optional<kz::logic::State> state = kz::logic::State::FromDigits(digits);
        for (const kz::logic::Step& step : path.steps) {
            std::cout << StepLine(step, *state) << '\n';
            state->Apply(step);
        }
        std::string solution;
        for (int d : path.end.Values()) solution += static_cast<char>('0' + d);
        std::cout << solution << '\n';
    }

    // A step's sentence, and for a chain why each link holds on the board, on the same line.
    std::string StepLine(const kz::logic::Step& step, const kz::logic::State& state) const {
        const bool en = m_options.lang == kz::logic::Lang::English;
        std::string line = kz::logic::Describe(step, m_options.lang);
        const std::vector<std::string> links = kz::logic::ChainLinks(step, state, m_options.lang);
        if (!links.empty()) line += en ? "." : "。";
        for (const std::string& link : links) line += (en ? " " : "") + link;
        return line;
    }

    void hint(const kz::ValueArray16& puzzle, const kz::ValueArray16& board,
              const kz::NoteArray& notes) {
        const kz::logic::Hint hint = kz::logic::FindHint(Digits(puzzle), Digits(board), notes);
        switch (hint.kind) {
            case kz::logic::HintKind::Unsolvable:
                std::cout << hint.verifyCode << '\t' << Word(hint.verifyCode) << '\n';
                return;
            case kz::logic::HintKind::Solved:
                std::cout << "solved\n";
                return;
            case kz::logic::HintKind::Wrong:
                std::cout << "wrong";
                for (int c : hint.wrong) std::cout << ' ' << CellName(c);
                std::cout << '\n';
                return;
            case kz::logic::HintKind::Missing:
                std::cout << "missing";
                for (const kz::logic::CellDigit& m : hint.missing)
                    std::cout << ' ' << CellName(m.cell) << '#' << m.digit;
                std::cout << '\n';
                return;
            case kz::logic::HintKind::Steps:
                std::cout << StepLine(hint.steps.front(), hint.states.front()) << '\n';
                return;
        }
    }

    void malformed(std::string_view source, long line, std::string_view why) {
        // A booklet has no lines to hold the place of the board.
        if (m_options.mode != Mode::Pdf) std::cout << "error\n";
        std::cout.flush();
        std::cerr << "kazarinoset-solve: " << source;
        if (line > 0) std::cerr << ':' << line;
        std::cerr << ": " << why << '\n';
        m_status = std::max(m_status, kExitMalformed);
    }

    void unreadable(std::string_view message) {
        std::cout.flush();
        std::cerr << "kazarinoset-solve: " << message << '\n';
        m_status = kExitUsage;
    }

    void lines(std::istream& in, std::string_view source) {
        std::string line;
        long number = 0;
        kz::ValueArray16 values{};
        kz::HintLine hintLine;
        for (;;) {
            const kz::LineStatus status = kz::ReadLine(in, line);
            if (status == kz::LineStatus::End || status == kz::LineStatus::Error) break;
            ++number;
            if (status == kz::LineStatus::TooLong) {
                // Skip the rest in pieces of the cap, so a file without line breaks never
                // has to fit in memory.
                while (kz::ReadLine(in, line) == kz::LineStatus::TooLong) {
                }
                malformed(source, number, "line too long");
                continue;
            }
            if (m_options.mode == Mode::Hint) {
                switch (kz::ParseHintLine(line, hintLine)) {
                    case kz::BoardLineKind::Skip:
                        break;
                    case kz::BoardLineKind::Board:
                        hint(hintLine.puzzle, hintLine.board, hintLine.notes);
                        break;
                    case kz::BoardLineKind::Malformed:
                        malformed(source, number,
                                  "not a hint line (a puzzle and a board of 81 characters "
                                  "of 1-9, 0 or ., then optionally 729 note characters, "
                                  "expected)");
                        break;
                }
                continue;
            }
            switch (kz::ParseBoardLine(line, values)) {
                case kz::BoardLineKind::Skip:
                    break;
                case kz::BoardLineKind::Board:
                    m_source = source;
                    m_line = number;
                    board(values);
                    break;
                case kz::BoardLineKind::Malformed:
                    malformed(source, number,
                              "not a board (81 characters of 1-9, 0 or . expected)");
                    break;
            }
        }
        if (in.bad()) unreadable("cannot read " + std::string(source));
    }

    void file(const std::string& name) {
        if (name == "-") {
            lines(std::cin, "<stdin>");
            return;
        }
        std::error_code ec;
        if (std::filesystem::is_directory(name, ec)) {
            unreadable("cannot read " + name + ": it is a directory");
            return;
        }
        std::ifstream in(name, std::ios::binary);
        if (!in) {
            unreadable("cannot open " + name);
            return;
        }
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".csv") == 0) {
            in.close();
            kz::ValueArray16 values{};
            const kz::FileResult result = kz::ReadProblemFile(name, values);
            if (result.ok) {
                m_source = name;
                m_line = 0;
                board(values);
            } else {
                malformed(name, 0, result.error);
            }
            return;
        }
        lines(in, name);
    }

    int status() const { return m_status; }

    /// In the PDF mode, after every file: writes the booklet of the puzzles read.
    void finish() {
#ifdef KZ_PDF_WRITER
        if (m_options.mode != Mode::Pdf) return;
        m_status = std::max(m_status, kz::WritePdf(m_options.pdf, m_booklet, std::cerr));
#endif
    }

private:
    static kz::logic::Digits Digits(const kz::ValueArray16& values) {
        kz::logic::Digits digits{};
        for (int n = 1; n <= kz::kCellCount; ++n) {
            digits[n - 1] = static_cast<std::uint8_t>(values[n]);
        }
        return digits;
    }

    static std::string CellName(int cell) {
        return kz::logic::CellName(cell, kz::logic::Lang::English);
    }

    static const char* Word(int code) {
        switch (code) {
            case kz::VerifyContradiction:
                return "contradiction";
            case kz::VerifyNoSolution:
                return "none";
            case kz::VerifyUnique:
                return "unique";
            case kz::VerifyMultiple:
                return "multiple";
            default:
                return "internal-error";
        }
    }

    const Options& m_options;
    kz::Solver m_solver;
    int m_status = 0;
    std::vector<kz::print::Entry> m_booklet;
    // Where the board being read comes from, for the PDF mode's messages.
    std::string m_source;
    long m_line = 0;
};

// True when --help or -h comes before any "--": the help is printed whatever else the
// command line holds, in every mode.
bool AsksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

int Run(int argc, char** argv) {
    if (AsksForHelp(argc, argv)) {
        std::cout << kHelp << kz::kGenerateHelp;
        return 0;
    }
    if (const auto status = kz::RunGenerateIfAsked(argc, argv, std::cout, std::cerr))
        return *status;
    Options options;
    const std::string error = ParseOptions(argc, argv, options);
    if (!error.empty()) {
        std::cerr << "kazarinoset-solve: " << error << "\nTry 'kazarinoset-solve --help'.\n";
        return kExitUsage;
    }
#ifndef KZ_PDF_WRITER
    // The booklet is drawn by the same checker built with Qt, a program of its own, so that
    // Qt is loaded for --pdf alone and every other mode starts as fast as ever.
    if (options.mode == Mode::Pdf) return kz::RunPdfWriter(argv, std::cerr);
#endif
    if (options.files.empty()) options.files.emplace_back("-");
    Checker checker(options);
    for (const std::string& name : options.files) {
        if (!std::cout) break;  // nothing more can be told
        checker.file(name);
    }
    checker.finish();
    return checker.status();
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const int status = Run(argc, argv);
    // A full disk or a closed pipe must not pass for success.
    if (!std::cout.flush()) {
        std::cerr << "kazarinoset-solve: cannot write the output\n";
        return kExitUsage;
    }
    return status;
}
