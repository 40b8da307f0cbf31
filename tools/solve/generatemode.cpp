// SPDX-License-Identifier: MIT
#include "tools/solve/generatemode.h"

#include <charconv>
#include <random>

namespace kz {

const std::string_view kGenerateHelp =
    "\n"
    "New puzzles:\n"
    "  kazarinoset-solve --generate N [--level L] [--symmetry S] [--seed X] [--rate]\n"
    "  prints N new puzzles, one a line: 81 characters, 1-9 for a given and . for a\n"
    "  blank. Each has exactly one solution and is minimal: no given (no symmetric group\n"
    "  of givens) can be taken away without losing that.\n"
    "  --level L     1 入門, 2 初級, 3 中級, 4 上級, 5 難問 or 6 超難問; any level if left out\n"
    "  --symmetry S  none, rot180 (the default), rot90, mirror (left-right) or diagonal\n"
    "  --seed X      a whole number 0..18446744073709551615; the same seed and options\n"
    "                give the same puzzles\n"
    "  --rate        add a tab, the level, a tab and the score to each line\n"
    "  Exit status 1 when a puzzle could not be made within the generator's budget.\n";

namespace {

constexpr long kMaxCount = 1'000'000;

template <typename T>
std::optional<T> WholeNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

OptionParse ParseGenerateOption(int argc, char** argv, int& i, GenerateOptions& options,
                                std::string& error) {
    std::string_view arg = argv[i];
    std::string_view name = arg;
    std::optional<std::string_view> value;
    if (const auto eq = arg.find('='); eq != std::string_view::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
    }
    if (name != "--generate" && name != "--level" && name != "--symmetry" && name != "--seed") {
        return OptionParse::NotMine;
    }
    if (!value) {
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return OptionParse::Bad;
        }
        value = argv[++i];
    }
    const std::string shown = "'" + std::string(*value) + "'";
    if (name == "--generate") {
        options.count = WholeNumber<long>(*value);
        if (!options.count || *options.count < 1 || *options.count > kMaxCount) {
            error = "--generate " + shown + ": the number of puzzles must be 1 to " +
                    std::to_string(kMaxCount);
            return OptionParse::Bad;
        }
        return OptionParse::Taken;
    }
    if (options.firstUsed.empty()) options.firstUsed = name;
    if (name == "--level") {
        options.level = WholeNumber<int>(*value);
        if (!options.level || *options.level < 1 || *options.level > logic::kMaxLevel) {
            error = "--level " + shown + ": the level must be 1 to 6";
            return OptionParse::Bad;
        }
    } else if (name == "--symmetry") {
        options.symmetry = generate::ParseSymmetry(*value);
        if (!options.symmetry) {
            error = "--symmetry " + shown + ": use none, rot180, rot90, mirror or diagonal";
            return OptionParse::Bad;
        }
    } else {
        options.seed = WholeNumber<std::uint64_t>(*value);
        if (!options.seed) {
            error = "--seed " + shown + ": the seed must be a whole number 0 to " +
                    std::to_string(UINT64_MAX);
            return OptionParse::Bad;
        }
    }
    return OptionParse::Taken;
}

std::string GenerateMisuse(const GenerateOptions& options, bool solve, bool haveFiles) {
    if (options.count) {
        if (solve) return "--generate and --solve do not go together";
        if (haveFiles) return "--generate reads no boards";
        return {};
    }
    if (!options.firstUsed.empty()) return options.firstUsed + " needs --generate N";
    if (options.rate) return "--rate needs --generate N";
    return {};
}

int RunGenerate(const GenerateOptions& options, std::ostream& out, std::ostream& err) {
    std::mt19937_64 random(options.seed ? *options.seed
                                        : (std::uint64_t{std::random_device{}()} << 32) ^
                                              std::random_device{}());
    generate::Request request;
    request.level = options.level.value_or(0);
    request.symmetry = options.symmetry.value_or(generate::Symmetry::Rotate180);
    for (long n = 0; n < options.count.value_or(0); ++n) {
        const generate::Result result = generate::Generate(request, random);
        if (!result.puzzle) {
            out.flush();
            err << "kazarinoset-solve: no puzzle at level " << request.level << " in "
                << result.attempts << " attempts (the budget)\n";
            return 1;
        }
        std::string line(81, '.');
        for (int c = 0; c < 81; ++c) {
            if (result.puzzle->givens[c] != 0)
                line[c] = static_cast<char>('0' + result.puzzle->givens[c]);
        }
        out << line;
        if (options.rate) {
            out << '\t' << result.puzzle->rating.level << '\t' << result.puzzle->rating.score;
        }
        out << '\n';
    }
    return 0;
}

}  // namespace kz
