// SPDX-License-Identifier: MIT
#include "tools/solve/generatemode.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "generate/generator.h"
#include "logic/solver.h"

namespace kz {

namespace {

// "none, rot180, rot90, mirror or diagonal"
std::string SymmetryNames() {
    std::string names;
    for (std::size_t i = 0; i < generate::kSymmetries.size(); ++i) {
        if (i > 0) names += i + 1 == generate::kSymmetries.size() ? " or " : ", ";
        names += generate::kSymmetries[i].name;
    }
    return names;
}

std::string MakeHelp() {
    std::string help =
        "\n"
        "New puzzles:\n"
        "  kazarinoset-solve --generate N [--level L] [--symmetry S] [--seed X] [--rate]\n"
        "  prints N new puzzles, one a line: 81 characters, 1-9 for a given and . for a\n"
        "  blank. Each has exactly one solution and is minimal: no given (no symmetric group\n"
        "  of givens) can be taken away without losing that.\n"
        "  --level L     1 入門, 2 初級, 3 中級, 4 上級, 5 難問 or 6 超難問; any level if left "
        "out\n"
        "  --symmetry S  where the givens lie (";
    help += generate::SymmetryName(generate::kDefaultSymmetry);
    help += " if left out):\n";
    for (const generate::SymmetryInfo& row : generate::kSymmetries) {
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 10), ' ');
        help += "                  " + name + std::string(row.english) + "\n";
    }
    help +=
        "  --seed X      a whole number 0..18446744073709551615; the same seed and options\n"
        "                give the same puzzles\n"
        "  --rate        add a tab, the level, a tab and the difficulty (SER, one decimal, as\n"
        "                --rate prints it for a board) to each line\n"
        "  Exit status 1 when a puzzle could not be made within the generator's budget.\n";
    return help;
}

}  // namespace

const std::string kGenerateHelp = MakeHelp();

namespace {

constexpr long kMaxCount = 1'000'000;

struct Options {
    std::optional<long> count;
    int level = 0;  // any
    generate::Symmetry symmetry = generate::kDefaultSymmetry;
    std::optional<std::uint64_t> seed;
    bool rate = false;
    std::string firstOwn;  // the first of --level, --symmetry, --seed, to name it
};

template <typename T>
std::optional<T> WholeNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
    return value;
}

bool TakesValue(std::string_view name) {
    return name == "--generate" || name == "--level" || name == "--symmetry" || name == "--seed";
}

std::string_view NameOf(std::string_view arg) {
    return arg.substr(0, arg.find('='));
}

// Sets one option that takes a value; an error message when the value is wrong.
std::string Take(std::string_view name, std::string_view value, Options& options) {
    const std::string shown = std::string(name) + " '" + std::string(value) + "': ";
    if (name == "--generate") {
        options.count = WholeNumber<long>(value);
        if (!options.count || *options.count < 1 || *options.count > kMaxCount) {
            return shown + "the number of puzzles must be 1 to " + std::to_string(kMaxCount);
        }
        return {};
    }
    if (options.firstOwn.empty()) options.firstOwn = name;
    if (name == "--level") {
        const std::optional<int> level = WholeNumber<int>(value);
        if (!level || *level < 1 || *level > logic::kMaxLevel) {
            return shown + "the level must be 1 to 6";
        }
        options.level = *level;
    } else if (name == "--symmetry") {
        const std::optional<generate::Symmetry> symmetry = generate::ParseSymmetry(value);
        if (!symmetry) return shown + "use " + SymmetryNames();
        options.symmetry = *symmetry;
    } else {
        options.seed = WholeNumber<std::uint64_t>(value);
        if (!options.seed) {
            return shown + "the seed must be a whole number 0 to " + std::to_string(UINT64_MAX);
        }
    }
    return {};
}

// Reads the command line; an error message when it is wrong.
std::string Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::string_view name = NameOf(arg);
        if (arg == "--") {
            if (i + 1 < argc) return "--generate reads no boards";
            break;
        }
        if (TakesValue(name)) {
            std::string_view value;
            if (name.size() < arg.size()) {
                value = arg.substr(name.size() + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                return std::string(name) + " needs a value";
            }
            if (std::string error = Take(name, value, options); !error.empty()) return error;
        } else if (arg == "--rate") {
            options.rate = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return std::string(arg) + " does not go with --generate";
        } else {
            return "--generate reads no boards";
        }
    }
    if (!options.count) return options.firstOwn + " needs --generate N";
    return {};
}

}  // namespace

std::optional<int> RunGenerateIfAsked(int argc, char** argv, std::ostream& out, std::ostream& err) {
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        asked = asked || TakesValue(NameOf(arg));
    }
    if (!asked) return std::nullopt;
    Options options;
    if (const std::string error = Parse(argc, argv, options); !error.empty()) {
        err << "kazarinoset-solve: " << error << "\nTry 'kazarinoset-solve --help'.\n";
        return 2;
    }
    std::mt19937_64 random(options.seed ? *options.seed
                                        : (std::uint64_t{std::random_device{}()} << 32) ^
                                              std::random_device{}());
    const generate::Request request{options.level, options.symmetry, 0};
    for (long n = 0; n < *options.count; ++n) {
        const generate::Result result = generate::Generate(request, random);
        if (!result.puzzle) {
            out.flush();
            err << "kazarinoset-solve: no puzzle at level " << request.level << " in "
                << result.attempts << " attempts (the budget)\n";
            return 1;
        }
        std::string line(81, '.');
        for (int c = 0; c < 81; ++c) {
            const int d = result.puzzle->givens[c];
            if (d != 0) line[c] = static_cast<char>('0' + d);
        }
        out << line;
        if (options.rate) {
            out << '\t' << result.puzzle->rating.level << '\t'
                << logic::DifficultyText(result.puzzle->rating.difficulty);
        }
        // A hard level can take a while a puzzle: each line shows as soon as it is made.
        out << '\n' << std::flush;
        if (!out) return 2;  // the caller says that the output could not be written
    }
    return 0;
}

}  // namespace kz
