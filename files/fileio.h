// SPDX-License-Identifier: MIT
// Problem files (module `fileio`): nine lines of nine comma-terminated digits, one line a
// row of the grid.
#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

#include "core/board.h"

namespace kz {

struct FileResult {
    bool ok = false;
    std::string error;  ///< English text for logs and the command-line tool; empty when ok
};

/// Reads a problem: the first 9 lines (ended by CR LF, CR or LF), the first 9 fields of each.
/// Succeeds only when all 81 values were read and each is 0..9; otherwise `values` is left
/// unchanged. Lines longer than kMaxLineLength fail the read, and so does any of the 9 lines
/// that is not text: a control character other than TAB, or bytes that are not UTF-8.
FileResult ReadProblemStream(std::istream& in, ValueArray16& values);
FileResult ReadProblemFile(const std::filesystem::path& path, ValueArray16& values);

/// The file text: 9 lines of "d," x 9 ended by CR LF.
std::string FormatProblem(const ValueArray16& values);
/// Writes the file atomically; on failure the file that was there is intact.
FileResult WriteProblemFile(const std::filesystem::path& path, const ValueArray16& values);

/// directory = up to and including the last "\" or "/"; of the rest, extension = from the
/// last "." on (dot included), name = before it.
void SplitPath(std::string_view path, std::string& directory, std::string& name,
               std::string& extension);

}  // namespace kz
