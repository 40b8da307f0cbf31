// SPDX-License-Identifier: MIT
#include "tools/solve/pdfmode.h"

#include "print/layout.h"

namespace kz {

bool IsPdfOption(std::string_view name) {
    return name == "--per-page" || name == "--solutions" || name == "--tiles" || name == "--paper";
}

std::string TakePdfOption(std::string_view name, std::optional<std::string_view> value,
                          const std::function<std::optional<std::string_view>()>& takeValue,
                          PdfOptions& options) {
    options.anyGiven = true;
    const std::string shown(name);
    if (name == "--solutions" || name == "--tiles") {
        if (value) return "option " + shown + " takes no value";
        (name == "--tiles" ? options.tiles : options.solutions) = true;
        return {};
    }
    const std::optional<std::string_view> given = value ? value : takeValue();
    if (name == "--paper") {
        if (given == "a4" || given == "letter") {
            options.letter = given == "letter";
            return {};
        }
        return "option --paper needs a value: a4 or letter";
    }
    for (int n : print::kPerPageChoices) {
        if (given == std::to_string(n)) {
            options.perPage = n;
            return {};
        }
    }
    return "option --per-page needs a value: 1, 2, 4 or 6";
}

}  // namespace kz
