// SPDX-License-Identifier: MIT
// kazarinoset-solve --generate: new puzzles on standard output, one line each.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace kz {

/// When the command line asks for new puzzles (it names --generate, --level, --symmetry or
/// --seed before any "--"), reads the whole command line, prints the puzzles or a message and
/// returns the exit status: 0, 1 when a puzzle could not be made within the budget, 2 for
/// wrong options or when `out` fails (the caller reports that). Nothing when the command line
/// is for another mode; --help is the caller's to look for first.
std::optional<int> RunGenerateIfAsked(int argc, char** argv, std::ostream& out, std::ostream& err);

/// The part of --help about new puzzles.
extern const std::string kGenerateHelp;

}  // namespace kz
