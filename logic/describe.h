// SPDX-License-Identifier: MIT
// Steps in words: one short sentence per step, in Japanese for the window and in either
// language for the checker's explanation.
#pragma once

#include <string>
#include <vector>

#include "logic/step.h"

namespace kz::logic {

enum class Lang { English, Japanese };

/// One sentence naming the technique, its pattern and what it places or removes, e.g.
/// "ヒドゥンシングル: ブロック2で7が入るのは1行5列だけです" or "X-Wing: in rows 1 and 4, 5 lies
/// only in columns 2 and 7, so remove 5 from r2c2 and r2c7". A chain's notation is quoted.
std::string Describe(const Step& step, Lang lang);

/// A cell as the text names it: "r3c5" or "3行5列".
std::string CellName(int cell, Lang lang);

/// A unit (0..26: rows, columns, boxes) as the text names it: "box 1" or "ブロック1".
std::string UnitName(int unit, Lang lang);

/// Several units of one kind: "rows 1 and 4" or "1行・4行".
std::string UnitsName(const std::vector<int>& units, Lang lang);

}  // namespace kz::logic
