// SPDX-License-Identifier: MIT
#include "logic/describe.h"

#include <algorithm>
#include <map>
#include <vector>

#include "logic/finders.h"
#include "logic/notation.h"
#include "logic/proof.h"

namespace kz::logic {

namespace {

bool En(Lang lang) {
    return lang == Lang::English;
}

std::string Num(int n) {
    return std::to_string(n);
}

// "a", "a and b", "a, b and c" in English; "a・b・c" in Japanese (`jaPair` joins two).
std::string Join(const std::vector<std::string>& items, Lang lang, const char* jaPair = "・") {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            if (En(lang)) {
                out += i + 1 == items.size() ? " and " : ", ";
            } else {
                out += items.size() == 2 ? jaPair : "・";
            }
        }
        out += items[i];
    }
    return out;
}

template <typename Seq>
std::string Cells(const Seq& cells, Lang lang) {
    std::vector<std::string> names;
    for (int c : cells) names.push_back(CellName(c, lang));
    return Join(names, lang);
}

template <typename Seq>
std::string Digits(const Seq& digits, Lang lang) {
    std::vector<std::string> names;
    for (int d : digits) names.push_back(Num(d));
    return Join(names, lang, "と");
}

}  // namespace

std::string UnitName(int u, Lang lang) {
    if (u < 9) return En(lang) ? "row " + Num(u + 1) : Num(u + 1) + "行";
    if (u < 18) return En(lang) ? "column " + Num(u - 8) : Num(u - 8) + "列";
    return En(lang) ? "box " + Num(u - 17) : "ブロック" + Num(u - 17);
}

std::string UnitsName(const std::vector<int>& units, Lang lang) {
    if (units.empty()) return {};
    if (!En(lang)) {
        std::vector<std::string> names;
        for (int u : units) names.push_back(UnitName(u, lang));
        return Join(names, lang);
    }
    if (units.size() == 1) return UnitName(units[0], lang);
    static const char* const kPlural[] = {"rows ", "columns ", "boxes "};
    std::vector<std::string> numbers;
    for (int u : units) numbers.push_back(Num(u % 9 + 1));
    return kPlural[units[0] / 9] + Join(numbers, lang);
}

namespace {

// What the step changes: "r5c3 is 7" / "remove 3 and 7 from r1c3 and r1c4" and in Japanese
// "5行3列に7が入ります" / "1行3列・1行4列から3と7を除きます". Digits removed from the same
// cells are named together.
std::string Effect(const Step& step, Lang lang) {
    std::vector<std::string> parts;
    for (const Placement& p : step.placements) {
        parts.push_back(En(lang) ? CellName(p.cell, lang) + " is " + Num(p.digit)
                                 : CellName(p.cell, lang) + "に" + Num(p.digit) + "が入ります");
    }
    std::map<int, std::vector<int>> cellsOf;  // digit → cells losing it
    for (const Elimination& e : step.eliminations) cellsOf[e.digit].push_back(e.cell);
    std::vector<std::pair<std::vector<int>, std::vector<int>>> groups;  // cells, digits
    for (auto& entry : cellsOf) {
        // Named, not bound: a lambda below reads the cells.
        const int digit = entry.first;
        std::vector<int>& cells = entry.second;
        std::sort(cells.begin(), cells.end());
        auto same = std::find_if(groups.begin(), groups.end(),
                                 [&](const auto& g) { return g.first == cells; });
        if (same == groups.end()) {
            groups.push_back({cells, {digit}});
        } else {
            same->second.push_back(digit);
        }
    }
    if (!groups.empty()) {
        std::vector<std::string> removals;
        for (const auto& [cells, digits] : groups) {
            removals.push_back(En(lang)
                                   ? Digits(digits, lang) + " from " + Cells(cells, lang)
                                   : Cells(cells, lang) + "から" + Digits(digits, lang) + "を");
        }
        if (En(lang)) {
            std::string text = "remove ";
            for (std::size_t i = 0; i < removals.size(); ++i) text += (i ? "; " : "") + removals[i];
            parts.push_back(text);
        } else {
            std::string text;
            for (std::size_t i = 0; i < removals.size(); ++i) text += (i ? "、" : "") + removals[i];
            parts.push_back(text + "除きます");
        }
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? (En(lang) ? "; " : "。") : "") + parts[i];
    return out;
}

std::vector<int> Ints(const std::vector<std::int8_t>& v) {
    return {v.begin(), v.end()};
}

std::vector<int> Slice(const std::vector<int>& v, std::size_t from, std::size_t to) {
    return {v.begin() + static_cast<long>(std::min(from, v.size())),
            v.begin() + static_cast<long>(std::min(to, v.size()))};
}

// The reason, a comma-free clause that the effect follows.
std::string Reason(const Step& step, Lang lang) {
    const std::vector<int> cells = Ints(step.cells);
    const std::vector<int> units = Ints(step.units);
    const std::vector<int> digits = Ints(step.digits);
    const bool en = En(lang);
    const std::string d = digits.empty() ? std::string() : Num(digits[0]);
    auto cell = [&](std::size_t i) { return i < cells.size() ? CellName(cells[i], lang) : ""; };
    auto unit = [&](std::size_t i) { return i < units.size() ? UnitName(units[i], lang) : ""; };
    switch (RowOf(step.technique).wording) {
        case Wording::FullHouse:
            return en ? cell(0) + " is the last open cell in " + unit(0)
                      : unit(0) + "で空いているのは" + cell(0) + "だけです";
        case Wording::HiddenSingle:
            return en ? "in " + unit(0) + ", " + d + " can only go in " + cell(0)
                      : unit(0) + "で" + d + "が入るのは" + cell(0) + "だけです";
        case Wording::NakedSingle:
            return en ? d + " is the only candidate left in " + cell(0)
                      : cell(0) + "に入る候補は" + d + "だけです";
        case Wording::LockedCandidates:
            return en ? "in " + unit(0) + ", " + d + " lies only in " + unit(1)
                      : unit(0) + "の" + d + "は" + unit(1) + "にしかありません";
        case Wording::NakedSubset:
            return en ? Cells(cells, lang) + " hold only " + Digits(digits, lang) + " in " + unit(0)
                      : unit(0) + "の" + Cells(cells, lang) + "には" + Digits(digits, lang) +
                            "しか入りません";
        case Wording::HiddenSubset:
            return en ? "in " + unit(0) + ", " + Digits(digits, lang) + " go only in " +
                            Cells(cells, lang)
                      : unit(0) + "の" + Digits(digits, lang) + "は" + Cells(cells, lang) +
                            "にしか入りません";
        case Wording::Fish: {
            const std::size_t n = units.size() / 2;
            const std::string base = UnitsName(Slice(units, 0, n), lang);
            const std::string cover = UnitsName(Slice(units, n, units.size()), lang);
            return en ? "in " + base + ", " + d + " lies only in " + cover
                      : base + "の" + d + "は" + cover + "にしかありません";
        }
        case Wording::TwoStrongLinks:
            return en ? "in " + unit(0) + ", " + d + " goes in " + cell(0) + " or " + cell(1) +
                            "; in " + unit(1) + ", in " + cell(2) + " or " + cell(3) + "; " +
                            cell(0) + " and " + cell(2) + " cannot both be " + d + ", hence " +
                            cell(1) + " or " + cell(3) + " is " + d
                      : unit(0) + "の" + d + "は" + cell(0) + "か" + cell(1) + "、" + unit(1) +
                            "の" + d + "は" + cell(2) + "か" + cell(3) + "に入ります。" + cell(0) +
                            "と" + cell(2) + "は両方とも" + d + "にはなれないので、" + cell(1) +
                            "か" + cell(3) + "が" + d + "です";
        case Wording::Wing: {
            const std::string z =
                step.eliminations.empty() ? d : Num(step.eliminations.front().digit);
            const bool xyz = step.technique == Technique::XYZWing;
            if (cells.size() > 3) {
                // A bent set: no pincers, but every digit other than z sits in cells that see
                // each other.
                const std::string wings = Cells(Slice(cells, 1, cells.size()), lang);
                return en ? "pivot " + cell(0) + " with " + wings + " hold only " +
                                Digits(digits, lang) + " between them, each digit but " + z +
                                " at most once: one of them is " + z
                          : "軸" + cell(0) + "と" + wings + "には" + Digits(digits, lang) +
                                "しか入らず、" + z +
                                "以外の数字はそれぞれ一度しか入らないので、どれかが" + z + "です";
            }
            return en ? "pivot " + cell(0) + " with pincers " + cell(1) + " and " + cell(2) + " (" +
                            Digits(digits, lang) +
                            "): " + (xyz ? "one of the three" : "one of the pincers") + " is " + z
                      : "軸" + cell(0) + "と羽" + cell(1) + "・" + cell(2) + "（" +
                            Digits(digits, lang) + "）では、" +
                            (xyz ? "三つのどれか" : "どちらかの羽") + "が" + z + "です";
        }
        case Wording::WWing: {
            const std::string x = Num(digits.at(0));
            const std::string y = Num(digits.at(1));
            const std::string pair = Digits(
                std::vector<int>{std::min(digits[0], digits[1]), std::max(digits[0], digits[1])},
                lang);
            return en ? cell(0) + " and " + cell(1) + " hold only " + pair + "; " + x + " in " +
                            unit(0) + " goes in " + cell(2) + " or " + cell(3) +
                            ", which see them: one of the pair is " + y
                      : cell(0) + "と" + cell(1) + "には" + pair + "しか入らず、" + unit(0) + "の" +
                            x + "は両方から見える" + cell(2) + "か" + cell(3) +
                            "に入るので、どちらかが" + y + "です";
        }
        case Wording::Colouring: {
            bool wrap = !step.eliminations.empty();
            for (const Elimination& e : step.eliminations)
                wrap &= std::find(cells.begin(), cells.end(), e.cell) != cells.end();
            return en ? "the strong links of " + d + " split " + Cells(cells, lang) +
                            " into two colours, one of them true" +
                            (wrap ? "; one colour meets itself in a unit and is false" : "")
                      : d + "の強リンクで" + Cells(cells, lang) +
                            "を二色に塗り分けると、どちらかの色が正解です" +
                            (wrap ? "。同じ色が一つの区画に二つある色は誤りです" : "");
        }
        case Wording::UniqueRectangle:
            return en ? Cells(Slice(cells, 0, 3), lang) + " hold only " + Digits(digits, lang) +
                            "; if " + cell(3) + " were one of them the board would have two " +
                            "solutions"
                      : Cells(Slice(cells, 0, 3), lang) + "には" + Digits(digits, lang) +
                            "しか入らず、" + cell(3) + "もそのどちらかだと解が二つになります";
        case Wording::Bug:
            return en ? "every other open cell has two candidates, and only " + d + " in " +
                            cell(0) + " keeps the solution unique"
                      : "ほかの空きマスはすべて候補が二つで、解を一つにするのは" + cell(0) + "の" +
                            d + "だけです";
        case Wording::Guess:
            // A guess the nested chains' search left to, having run out of its budget.
            if (!step.chain.empty()) {
                return en ? "the search for a proof ran out of its budget; the solution is taken "
                            "in the cell with the fewest candidates"
                          : "証明の探索が上限に達したため、候補の最も少ないマスに解の数字を入れま"
                            "す";
            }
            return en ? "no technique helps here; the solution is taken in the cell with the "
                        "fewest candidates"
                      : "使える手筋がないため、候補の最も少ないマスに解の数字を入れます";
        case Wording::Notation:
        case Wording::Branches:
            break;
    }
    // Chains, sets and nets speak through their notation.
    if (!step.chain.empty()) return step.chain;
    return Cells(cells, lang);
}

// The contradiction a nested chain's branch ends in, in the reader's language with its cells
// named as the notation names them: "r7c5 has no candidate" or "r7c5に入る候補がない".
std::string EndNotation(const ProofFact& end, Lang lang) {
    const std::string cell = CellsName(end.cells);
    const std::string d = Num(end.digit);
    switch (end.because) {
        case Because::NoCandidate:
            return En(lang) ? cell + " has no candidate" : cell + "に入る候補がない";
        case Because::NoPlace:
            return En(lang) ? UnitName(end.unit, lang) + " has no place for " + d
                            : UnitName(end.unit, lang) + "に" + d + "の入る場所がない";
        default:
            return En(lang) ? cell + " cannot be " + d : cell + "に" + d + "が入らない";
    }
}

// A branch in notation: "(5)r1c2 => r3c4=7 => r4c5<>38, r4c6<>3 [1] => … => <its end>". A
// removal that a placement makes goes unwritten but for the result a branch ends in; those of
// one inner proof go together, by cell in the order of their first removal, with its number.
std::string BranchNotation(const ProofBranch& branch, Lang lang) {
    const std::vector<ProofFact>& facts = branch.facts;
    std::string text = NodeName(DigitBit(facts[0].digit), facts[0].cells);
    const auto folded = [&](std::size_t k) {
        const ProofFact& f = facts[k];
        return !f.isTrue && !f.IsEnd() && f.because != Because::Inner && k + 1 < facts.size();
    };
    for (std::size_t k = 1; k < facts.size();) {
        const ProofFact& f = facts[k];
        if (folded(k)) {
            ++k;
        } else if (f.IsEnd()) {
            text += " => " + EndNotation(f, lang);
            ++k;
        } else if (f.isTrue) {
            text += " => " + (f.IsGroup() ? NodeName(DigitBit(f.digit), f.cells)
                                          : CellsName(f.cells) + "=" + Num(f.digit));
            ++k;
        } else if (f.because != Because::Inner) {
            text += " => " + CellsName(f.cells) + "<>" + Num(f.digit);
            ++k;
        } else {
            std::vector<std::pair<int, std::string>> cells;  // cell, its digits
            for (; k < facts.size(); ++k) {
                const ProofFact& g = facts[k];
                if (folded(k)) continue;
                if (g.isTrue || g.because != Because::Inner || g.inner != f.inner) break;
                const int c = g.cells.First();
                auto at = std::find_if(cells.begin(), cells.end(),
                                       [&](const auto& entry) { return entry.first == c; });
                if (at == cells.end()) at = cells.insert(cells.end(), {c, std::string()});
                at->second += Num(g.digit);
            }
            text += " => ";
            for (std::size_t i = 0; i < cells.size(); ++i) {
                text += (i ? ", " : "") + CellsName(CellSet::Of(cells[i].first)) + "<>" +
                        cells[i].second;
            }
            text += " [" + Num(f.inner + 1) + "]";
        }
    }
    return text;
}

// An inner proof in notation: a forcing chain's own, or the technique and its pattern's digits
// and cells, "Naked Pair (19)r6c39", with the house of a subset whose cells share two.
std::string InnerNotation(const Step& inner, Lang lang) {
    if (!inner.chain.empty()) return inner.chain;
    const TechniqueInfo& info = Info(inner.technique);
    CellSet cells;
    for (int c : inner.cells) cells.Add(c);
    Mask digits = 0;
    for (int d : inner.digits) digits |= DigitBit(d);
    std::string text =
        std::string(En(lang) ? info.english : info.japanese) + " " + NodeName(digits, cells);
    const Wording wording = RowOf(inner.technique).wording;
    int houses = 0;
    for (int u : kUnits.unitsOf[cells.First()]) houses += (kUnits.set[u] & cells) == cells;
    if ((wording == Wording::NakedSubset || wording == Wording::HiddenSubset) && houses > 1 &&
        !inner.units.empty()) {
        const std::string house = UnitName(inner.units[0], lang);
        text += En(lang) ? " in " + house : "（" + house + "）";
    }
    return text;
}

// A nested chain's branches a line each, each followed by the inner proofs it is the first to
// refer to, numbered as its removals refer to them.
std::string BranchLines(const Proof& proof, Lang lang) {
    std::string text;
    std::size_t shown = 0;
    for (const ProofBranch& branch : proof.branches) {
        text += "\n  " + BranchNotation(branch, lang);
        std::size_t upTo = shown;
        for (const ProofFact& f : branch.facts) {
            if (f.because == Because::Inner)
                upTo = std::max(upTo, static_cast<std::size_t>(f.inner) + 1);
        }
        for (; shown < upTo && shown < proof.innerSteps.size(); ++shown) {
            text += "\n      [" + Num(static_cast<int>(shown) + 1) + "] " +
                    InnerNotation(proof.innerSteps[shown], lang);
        }
    }
    return text;
}

}  // namespace

std::string CellName(int cell, Lang lang) {
    const std::string r = std::to_string(cell / 9 + 1);
    const std::string c = std::to_string(cell % 9 + 1);
    return lang == Lang::English ? "r" + r + "c" + c : r + "行" + c + "列";
}

std::string Describe(const Step& step, Lang lang) {
    const TechniqueInfo& info = Info(step.technique);
    std::string text(En(lang) ? info.english : info.japanese);
    const std::string reason = Reason(step, lang);
    const std::string effect = Effect(step, lang);
    const Wording wording = RowOf(step.technique).wording;
    const bool single = wording == Wording::HiddenSingle || wording == Wording::NakedSingle;
    // A nested chain says what it proves first, then its branches a line each, their inner
    // proofs further in.
    if (wording == Wording::Branches && !effect.empty()) {
        text += En(lang) ? ": " + effect + ", as each line below leads to:"
                         : ": " + effect + "。各行の枝がそれを示します：";
        if (step.proof) return text + BranchLines(*step.proof, lang);
        // Without its proof, the search's own lines.
        for (std::size_t from = 0; from <= step.chain.size();) {
            std::size_t to = step.chain.find('\n', from);
            if (to == std::string::npos) to = step.chain.size();
            text += "\n  " + step.chain.substr(from, to - from);
            from = to + 1;
        }
        return text;
    }
    text += ": " + reason;
    if (single || effect.empty()) return text;
    // A chain whose notation is not the reason itself still gets shown.
    if (!step.chain.empty() && reason != step.chain && wording != Wording::Guess)
        text += " [" + step.chain + "]";
    if (reason.empty()) return text + effect;
    text += En(lang) ? ", so " + effect : "。" + effect;
    return text;
}

}  // namespace kz::logic
