// SPDX-License-Identifier: MIT
// kazarinoset-solve: prints the verification code or the completion of every board it reads.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/answer.h"
#include "core/fields.h"
#include "files/fileio.h"
#include "tools/solve/boardline.h"
#include "tools/solve/generatemode.h"

namespace {

constexpr int kExitMalformed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kHelp =
    "Usage: kazarinoset-solve [--solve] [FILE...]\n"
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
    "\n"
    "A malformed board prints 'error' in its place and a message naming the file and\n"
    "line on standard error.\n"
    "\n"
    "Exit status: 0 all boards read, 1 some board was malformed, 2 a file could not be\n"
    "read or the options were wrong.\n"
    "\n"
    "Options:\n"
    "  --solve   print completions instead of verification codes\n"
    "  --help    show this text and exit\n";

class Checker {
public:
    explicit Checker(bool solve) : m_solve(solve) {}

    void board(const kz::ValueArray16& values) {
        if (m_solve) {
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

    void malformed(std::string_view source, long line, std::string_view why) {
        std::cout << "error\n";
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
            switch (kz::ParseBoardLine(line, values)) {
                case kz::BoardLineKind::Skip:
                    break;
                case kz::BoardLineKind::Board:
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
                board(values);
            } else {
                malformed(name, 0, result.error);
            }
            return;
        }
        lines(in, name);
    }

    int status() const { return m_status; }

private:
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

    bool m_solve;
    kz::Solver m_solver;
    int m_status = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (const auto status = kz::RunGenerateIfAsked(argc, argv, std::cout, std::cerr))
        return *status;
    bool solve = false;
    bool optionsDone = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--solve") {
            solve = true;
        } else if (!optionsDone && (arg == "--help" || arg == "-h")) {
            std::cout << kHelp << kz::kGenerateHelp;
            return 0;
        } else if (!optionsDone && arg.size() > 1 && arg.front() == '-') {
            std::cerr << "kazarinoset-solve: unknown option " << arg
                      << "\nTry 'kazarinoset-solve --help'.\n";
            return kExitUsage;
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) files.emplace_back("-");
    Checker checker(solve);
    for (const std::string& name : files) checker.file(name);
    std::cout.flush();
    return checker.status();
}
