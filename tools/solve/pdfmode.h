// SPDX-License-Identifier: MIT
// kazarinoset-solve --pdf: the boards read set in a booklet and written as a PDF file. The
// options are read here without Qt. The writing needs it: kazarinoset-solve hands the whole
// command line over to kazarinoset-solve-pdf, the same checker built with Qt, so that every
// other mode starts without a toolkit.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "print/booklet.h"

namespace kz {

struct PdfOptions {
    std::string out;  ///< the file to write
    int perPage = 4;
    bool solutions = false;
    bool tiles = false;
    bool letter = false;    ///< US Letter paper rather than A4
    bool anyGiven = false;  ///< one of the options below was given
};

/// True for the options that only go with --pdf.
bool IsPdfOption(std::string_view name);

/// Reads one option that only goes with --pdf; an error message when it is wrong. `value`
/// is what followed "=", and `takeValue` takes the next argument.
std::string TakePdfOption(std::string_view name, std::optional<std::string_view> value,
                          const std::function<std::optional<std::string_view>()>& takeValue,
                          PdfOptions& options);

/// Runs kazarinoset-solve-pdf in place of this process with the same arguments: next to this
/// program (a build tree), in ../libexec/kazarinoset/ from it, or where it was installed.
/// Returns only when it cannot be started, with the exit status 2 and the reason on `err`.
int RunPdfWriter(char** argv, std::ostream& err);

/// In kazarinoset-solve-pdf: writes the booklet of `puzzles` to the options' file and returns the
/// exit status: 0, 1 when there is no puzzle to write, 2 when the file could not be written, with
/// the reason on `err`. Nothing is left half-written.
int WritePdf(const PdfOptions& options, const std::vector<print::Entry>& puzzles,
             std::ostream& err);

}  // namespace kz
