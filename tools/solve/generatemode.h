// SPDX-License-Identifier: MIT
// kazarinoset-solve --generate: new puzzles on standard output, one line each.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "generate/generator.h"

namespace kz {

struct GenerateOptions {
    std::optional<long> count;  ///< set by --generate
    std::optional<int> level;   ///< 1..6; any level when unset
    std::optional<generate::Symmetry> symmetry;
    std::optional<std::uint64_t> seed;  ///< a random seed when unset
    bool rate = false;                  ///< also print level and score
    /// The first of --level, --symmetry, --seed given, to name it when --generate is missing.
    std::string firstUsed;
};

enum class OptionParse { NotMine, Taken, Bad };

/// Takes argv[i] (and its value, argv[i + 1], which then advances `i`) when it is one of
/// --generate, --level, --symmetry, --seed, also in the --name=value form. On Bad, `error`
/// says what is wrong.
OptionParse ParseGenerateOption(int argc, char** argv, int& i, GenerateOptions& options,
                                std::string& error);

/// What is wrong with the options as a whole (empty when nothing): the options of the other
/// modes do not go with --generate, nor its own options or --rate without it.
std::string GenerateMisuse(const GenerateOptions& options, bool solve, bool haveFiles);

/// Prints the puzzles; the exit status (0, or 1 when a puzzle could not be made).
int RunGenerate(const GenerateOptions& options, std::ostream& out, std::ostream& err);

extern const std::string_view kGenerateHelp;

}  // namespace kz
