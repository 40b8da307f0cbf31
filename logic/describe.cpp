// SPDX-License-Identifier: MIT
#include "logic/describe.h"

namespace kz::logic {

std::string CellName(int cell, Lang lang) {
    const std::string r = std::to_string(cell / 9 + 1);
    const std::string c = std::to_string(cell % 9 + 1);
    return lang == Lang::English ? "r" + r + "c" + c : r + "行" + c + "列";
}

std::string Describe(const Step& step, Lang lang) {
    const TechniqueInfo& info = Info(step.technique);
    std::string text(lang == Lang::English ? info.english : info.japanese);
    text += ":";
    for (const Placement& p : step.placements)
        text += " " + CellName(p.cell, lang) + "=" + std::to_string(p.digit);
    for (const Elimination& e : step.eliminations)
        text += " " + CellName(e.cell, lang) + "<>" + std::to_string(e.digit);
    return text;
}

}  // namespace kz::logic
