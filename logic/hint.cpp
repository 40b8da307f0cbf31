// SPDX-License-Identifier: MIT
#include "logic/hint.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "core/answer.h"
#include "logic/chainpicture.h"
#include "logic/notation.h"
#include "logic/solver.h"

namespace kz::logic {

namespace {

constexpr int kFirstBox = 18;

// The player's candidates as a state: the board's digits placed, and every open cell that
// has notes narrowed to them.
State PlayerState(State state, const NoteArray& notes) {
    state.Open().ForEach([&](int c) {
        const NoteSet mine = notes[static_cast<std::size_t>(c) + 1] & kAllNotes;
        if (mine == 0) return;
        for (int d = 1; d <= 9; ++d) {
            if (!(mine & NoteBit(d))) state.Eliminate(c, d);
        }
    });
    return state;
}

}  // namespace

Hint FindHint(const Digits& puzzle, const Digits& board, const NoteArray& notes) {
    Hint hint;
    if (std::any_of(puzzle.begin(), puzzle.end(), [](int d) { return d > 9; })) {
        hint.verifyCode = VerifyContradiction;
        return hint;
    }
    hint.verifyCode = Verify(puzzle, hint.solution);
    if (hint.verifyCode != VerifyUnique) {
        hint.solution = {};
        return hint;
    }
    const Digits& solution = hint.solution;
    Digits digits{};
    for (int c = 0; c < 81; ++c) {
        // A blank is a blank, even where the puzzle has a given the player erased: a hint must
        // never call a board with an empty cell solved.
        digits[c] = board[c];
        if (digits[c] && digits[c] != solution[c]) hint.wrong.push_back(c);
    }
    if (!hint.wrong.empty()) {
        hint.kind = HintKind::Wrong;
        return hint;
    }
    for (int c = 0; c < 81; ++c) {
        const NoteSet mine = notes[static_cast<std::size_t>(c) + 1] & kAllNotes;
        if (digits[c] || mine == 0) continue;
        hint.onNotes = true;
        if (!(mine & NoteBit(solution[c]))) hint.missing.push_back({c, solution[c]});
    }
    if (!hint.missing.empty()) {
        hint.kind = HintKind::Missing;
        return hint;
    }
    // Every digit agrees with the one solution, so the board cannot clash.
    const std::optional<State> start = State::FromDigits(digits);
    if (!start) {
        hint.verifyCode = VerifyInternalError;
        return hint;
    }
    if (start->Solved()) {
        hint.kind = HintKind::Solved;
        return hint;
    }
    hint.kind = HintKind::Steps;
    // Each cell's candidates still hold its solution digit, so every technique stays sound.
    State state = hint.onNotes ? PlayerState(*start, notes) : *start;
    const Context context{&solution};
    while (std::optional<Step> step = NextStep(state, context)) {
        const State before = state;
        if (!state.Apply(*step)) break;
        const bool places = !step->placements.empty();
        hint.states.push_back(before);
        hint.steps.push_back(std::move(*step));
        if (places || hint.onNotes) break;
    }
    return hint;
}

Focus FocusOf(const Step& step) {
    Focus focus;
    const auto& units = step.units;
    switch (step.technique) {
        case Technique::NakedSingle:
            if (!step.cells.empty()) focus.units = {kFirstBox + BoxOf(step.cells[0])};
            break;
        case Technique::FullHouse:
        case Technique::HiddenSingle:
        case Technique::Pointing:
        case Technique::Claiming:
        case Technique::NakedPair:
        case Technique::NakedTriple:
        case Technique::NakedQuad:
        case Technique::HiddenPair:
        case Technique::HiddenTriple:
        case Technique::HiddenQuad:
            if (!units.empty()) focus.units = {units[0]};
            break;
        case Technique::XWing:
        case Technique::Swordfish:
        case Technique::Jellyfish:
            // The base lines; the cover lines are what the pattern proves.
            focus.units.assign(units.begin(), units.begin() + units.size() / 2);
            break;
        case Technique::Skyscraper:
        case Technique::TwoStringKite:
            focus.units.assign(units.begin(),
                               units.begin() + std::min<std::size_t>(2, units.size()));
            break;
        case Technique::XYWing:
        case Technique::XYZWing:
        case Technique::WWing:
        case Technique::WXYZWing:
        case Technique::VWXYZWing:
        case Technique::UniqueRectangle1:
            for (int c : step.cells) focus.units.push_back(kFirstBox + BoxOf(c));
            std::sort(focus.units.begin(), focus.units.end());
            focus.units.erase(std::unique(focus.units.begin(), focus.units.end()),
                              focus.units.end());
            break;
        case Technique::SimpleColouring:
        case Technique::XChain:
            if (!step.digits.empty()) focus.digit = step.digits[0];
            break;
        default:
            break;
    }
    return focus;
}

std::string DescribeFocus(const Step& step, Lang lang) {
    const bool en = lang == Lang::English;
    if (step.technique == Technique::Guess) {
        const std::string cell =
            step.placements.empty() ? std::string() : CellName(step.placements[0].cell, lang);
        return en ? "No technique helps here; the next step reveals the digit of " + cell
                  : "使える手筋がありません。次は" + cell + "の答えの数字を明かします";
    }
    const TechniqueInfo& info = Info(step.technique);
    const std::string name(en ? info.english : info.japanese);
    const Focus focus = FocusOf(step);
    std::string where;
    if (!focus.units.empty()) {
        // Houses of different kinds (a box and a line) are named one by one.
        const bool oneKind = std::all_of(focus.units.begin(), focus.units.end(),
                                         [&](int u) { return u / 9 == focus.units[0] / 9; });
        if (oneKind) {
            where = UnitsName(focus.units, lang);
        } else {
            for (std::size_t i = 0; i < focus.units.size(); ++i) {
                where += (i ? (en ? " and " : "・") : "") + UnitName(focus.units[i], lang);
            }
        }
        return en ? "Next step: " + name + " in " + where : where + "に" + name + "があります";
    }
    if (focus.digit) {
        const std::string digit = std::to_string(focus.digit);
        return en ? "Next step: " + name + " on digit " + digit
                  : digit + "の" + name + "があります";
    }
    // No house sums up a long chain or a net: the cell it settles is the place to look from.
    const int cell = !step.placements.empty()     ? step.placements[0].cell
                     : !step.eliminations.empty() ? step.eliminations[0].cell
                                                  : -1;
    if (cell >= 0) {
        return en ? "Next step: " + name + " about " + CellName(cell, lang)
                  : CellName(cell, lang) + "についての" + name + "があります";
    }
    return en ? "Next step: " + name : name + "があります";
}

std::string ChainInWords(const Step& step, Lang lang) {
    if (step.chain.empty()) return {};
    const bool en = lang == Lang::English;
    if (RowOf(step.technique).wording == Wording::Branches) {
        return en ? "Each line below assumes its first candidate and follows what must then "
                    "hold: \"=>\" leads to the next fact, \"r3c4=7\" puts 7 in r3c4 and "
                    "\"r4c5<>38\" takes 3 and 8 from r4c5. A fact marked [1] holds by the proof "
                    "[1] indented below, on the board as the line leaves it so far. A line "
                    "ending in a contradiction shows its assumption false; otherwise every "
                    "line ends in the same result, so it holds whichever candidate is true."
                  : "下の各行は、最初の候補が正しいと仮定して、そこから決まることを順にたどりま"
                    "す。「=>」は次の事実へ進むこと、「r3c4=7」は3行4列に7が入ること、"
                    "「r4c5<>38」は4行5列から3と8が消えることを表します。[1] の付いた事実は、"
                    "その行のそこまでの盤面で、下に字下げした証明 [1] によって成り立ちます。"
                    "矛盾で終わる行は仮定が誤りであることを示し、そうでなければどの行も同じ"
                    "結論にたどり着くので、どの候補が正しくてもその結論は正しいと分かります。";
    }
    switch (step.technique) {
        case Technique::ForcingChain:
        case Technique::ForcingNet:
            // One branch is an assumption refuted by the contradiction it leads to.
            if (step.chain.find(';') == std::string::npos) {
                return en ? "Assuming the first candidate of the chain leads to a contradiction, "
                            "so that candidate is false. In the notation, \"=\" marks what then "
                            "must be true and \"-\" what then must be false."
                          : "チェーンの最初の候補が正しいと仮定すると矛盾にたどり着くので、その候補"
                            "は"
                            "誤りだと分かります。記法の「=」はそのとき正しくなるもの、「-」は誤りに"
                            "なるものを表します。";
            }
            return en ? "Whichever candidate is taken in the cell or house the chains start "
                        "from, each chain leads to the same result, so the result holds. "
                        "In the notation, \"=\" means at least one of the two ends is true, "
                        "\"-\" means they are not both true, and \";\" starts the next case."
                      : "起点のマス（または場所）のどの候補を選んでも、それぞれのチェーンが同じ結論"
                        "に"
                        "たどり着くので、その結論は必ず正しいと分かります。記法の「=」は両端の"
                        "少なくとも一方が正しい、「-」は両方は正しくない、「;"
                        "」は次の場合を表します。";
        default:
            return en ? "At least one of the chain's two ends is true, so a candidate that "
                        "sees both ends cannot be true. In the notation, \"=\" means at least "
                        "one of the two ends is true (a strong link) and \"-\" means they are "
                        "not both true (a weak link)."
                      : "チェーンの両端の少なくとも一方は必ず正しいので、両端のどちらからも見える"
                        "候補は正しくありえず、除けます。記法の「=」は両端の少なくとも一方が正しい"
                        "（強いリンク）、「-」は両方は正しくない（弱いリンク）ことを表します。";
    }
}

}  // namespace kz::logic

namespace kz::logic {

namespace {

// One node of a chain as its notation names it: a digit (or several, for an almost locked
// set) in one cell or a group of cells, and the link that leads to it.
struct ChainNode {
    Mask digits = 0;
    CellSet cells;
    char link = 0;  // '=' or '-', 0 for a branch's first node
};

// The nodes branch by branch, each with the link that leads to it, read as the grid's picture
// reads them so that the words and the drawing cannot disagree. A nested chain's outer lines
// are facts rather than Eureka links, so they give nothing here.
std::vector<std::vector<ChainNode>> ParseChain(const std::string& text) {
    if (text.find(" => ") != std::string::npos) return {};
    const ChainPicture picture = ParseChainPicture(text, false);
    std::vector<char> links(picture.nodes.size(), 0);
    for (const ChainPicture::Link& link : picture.links) links[link.to] = link.strong ? '=' : '-';
    std::vector<std::vector<ChainNode>> branches;
    for (std::size_t i = 0; i < picture.nodes.size(); ++i) {
        const ChainPicture::Node& node = picture.nodes[i];
        branches.resize(std::max<std::size_t>(branches.size(), node.branch + 1));
        branches[node.branch].push_back({node.digits, node.cells, links[i]});
    }
    return branches;
}

std::string CellsText(CellSet cells, Lang lang) {
    std::string text;
    const char* joint = lang == Lang::English ? ", " : "・";
    cells.ForEach([&](int c) { text += (text.empty() ? "" : joint) + CellName(c, lang); });
    return text;
}

std::string NodeText(const ChainNode& node, Lang lang) {
    const std::string cells = CellsText(node.cells, lang);
    std::string digits;
    for (int d = 1; d <= 9; ++d) {
        if (node.digits & DigitBit(d)) digits += static_cast<char>('0' + d);
    }
    if (lang == Lang::English)
        return digits + " in " + (node.cells.Count() > 1 ? "one of " : "") + cells;
    return cells + "の" + digits;
}

int OneDigit(Mask m) {
    return m && !(m & (m - 1)) ? std::countr_zero(static_cast<unsigned>(m)) + 1 : 0;
}

// A unit that holds every cell of both sets, or −1.
int CommonUnit(CellSet a, CellSet b) {
    for (int u = 0; u < kUnitCount; ++u) {
        if ((kUnits.set[u] & (a | b)) == (a | b)) return u;
    }
    return -1;
}

std::string DigitsOf(Mask m, Lang lang) {
    std::string out;
    for (int d = 1; d <= 9; ++d) {
        if (!(m & DigitBit(d))) continue;
        if (!out.empty()) out += lang == Lang::English ? ", " : "・";
        out += static_cast<char>('0' + d);
    }
    return out;
}

// Why a strong link holds on `board`: a cell with only the two digits, or a house where the
// digit lies only in the two nodes.
std::string StrongReason(const ChainNode& a, const ChainNode& b, const State& board, Lang lang) {
    const bool en = lang == Lang::English;
    const int c = a.cells.First();
    if (a.cells == b.cells && a.cells.Count() == 1) {
        return en ? CellName(c, lang) + " holds only " + DigitsOf(board.Candidates(c), lang)
                  : CellName(c, lang) + "の候補は" + DigitsOf(board.Candidates(c), lang) +
                        "だけです";
    }
    const int d = OneDigit(a.digits);
    const int u = CommonUnit(a.cells, b.cells);
    if (!d || u < 0) return {};
    const std::string places = CellsText(board.CellsOf(d) & kUnits.set[u], lang);
    const bool only = (board.CellsOf(d) & kUnits.set[u]) == (a.cells | b.cells);
    if (!only) return {};
    return en ? "in " + UnitName(u, lang) + ", " + std::to_string(d) + " lies only in " + places
              : UnitName(u, lang) + "で" + std::to_string(d) + "が入るのは" + places + "だけです";
}

std::string WeakReason(const ChainNode& a, const ChainNode& b, Lang lang) {
    const bool en = lang == Lang::English;
    if (a.cells == b.cells) {
        return en ? CellName(a.cells.First(), lang) + " holds one digit only"
                  : CellName(a.cells.First(), lang) + "に入る数字は一つだけです";
    }
    const int u = CommonUnit(a.cells, b.cells);
    if (u < 0) return {};
    return en ? "both lie in " + UnitName(u, lang) : "どちらも" + UnitName(u, lang) + "にあります";
}

// The earlier node of the branch whose placement took `digit` from `cell`, or −1.
int RemovedBy(const std::vector<ChainNode>& nodes, std::size_t before, int cell, int digit) {
    for (std::size_t j = 0; j < before; ++j) {
        const ChainNode& n = nodes[j];
        const int d = OneDigit(n.digits);
        if ((j > 0 && n.link != '=') || n.cells.Count() != 1 || !d) continue;
        const int at = n.cells.First();
        if ((at == cell && d != digit) || (d == digit && kUnits.peers[at].Has(cell)))
            return static_cast<int>(j);
    }
    return -1;
}

// A forcing branch: each node a fact that follows from the one before on `board` and what the
// branch has placed so far. A true fact that needs earlier removals besides its own link is a
// dynamic link: the removals are named, with the node that made each.
void ForcingBranch(const std::vector<ChainNode>& nodes, const State& board, Lang lang,
                   std::vector<std::string>& out) {
    const bool en = lang == Lang::English;
    out.push_back(en ? "Suppose " + NodeText(nodes[0], lang) + "."
                     : NodeText(nodes[0], lang) + "だと仮定します。");
    for (std::size_t k = 1; k < nodes.size(); ++k) {
        const ChainNode& prev = nodes[k - 1];
        const ChainNode& node = nodes[k];
        std::string line =
            en ? "→ " + NodeText(node, lang) + (node.link == '=' ? " is true" : " is false")
               : "→ " + NodeText(node, lang) + (node.link == '=' ? "が正しい" : "は誤り");
        const int d = OneDigit(node.digits);
        if (node.link == '-' || !d) {
            const std::string why = WeakReason(prev, node, lang);
            if (!why.empty()) line += en ? ": " + why : "（" + why + "）";
            out.push_back(line + (en ? "." : "。"));
            continue;
        }
        // A true fact: the last candidate of its cell, or the last place of its digit in a
        // house, once the earlier facts are taken into account.
        const int c = node.cells.First();
        std::vector<std::pair<int, int>> others;  // cell, digit gone before this fact
        std::string where;
        if (prev.cells == node.cells && node.cells.Count() == 1) {
            for (int e = 1; e <= 9; ++e) {
                if (board.Has(c, e) && e != d && !(prev.digits & DigitBit(e)))
                    others.push_back({c, e});
            }
            where = en ? CellName(c, lang) + " holds " + DigitsOf(board.Candidates(c), lang)
                       : CellName(c, lang) + "の候補は" + DigitsOf(board.Candidates(c), lang);
        } else if (const int u = CommonUnit(prev.cells, node.cells); u >= 0) {
            CellSet rest = board.CellsOf(d) & kUnits.set[u] & ~prev.cells & ~node.cells;
            rest.ForEach([&](int q) { others.push_back({q, d}); });
            const std::string places = CellsText(board.CellsOf(d) & kUnits.set[u], lang);
            where =
                en ? "in " + UnitName(u, lang) + ", " + std::to_string(d) + " lies in " + places
                   : UnitName(u, lang) + "の" + std::to_string(d) + "は" + places + "にあります";
        }
        if (!where.empty()) {
            line += en ? ": " + where : "（" + where;
            for (const auto& [q, e] : others) {
                const int j = RemovedBy(nodes, k, q, e);
                const std::string gone =
                    en ? "; " + std::to_string(e) + " left " + CellName(q, lang)
                       : "。" + CellName(q, lang) + "の" + std::to_string(e) + "は";
                if (j >= 0) {
                    line += gone + (en ? " when " + NodeText(nodes[j], lang) + " was placed"
                                       : NodeText(nodes[j], lang) + "が入ったときに消えています");
                } else {
                    line += gone +
                            (en ? " earlier in this branch" : "この枝の途中ですでに消えています");
                }
            }
            if (!en) line += "）";
        }
        out.push_back(line + (en ? "." : "。"));
    }
}

// What applying a refuted branch's facts leaves impossible: a cell without candidates, or a
// digit without a place in a house.
std::string Contradiction(const std::vector<ChainNode>& nodes, const State& board, Lang lang) {
    const bool en = lang == Lang::English;
    State state = board;
    for (const ChainNode& node : nodes) {
        const int d = OneDigit(node.digits);
        if (!d || node.cells.Count() != 1) continue;
        const int c = node.cells.First();
        if (node.link != '-') {
            if (state.Value(c) == d) continue;
            if (!state.Place(c, d)) {
                return en ? CellName(c, lang) + " would have to be " + std::to_string(d) +
                                ", which it can no longer be"
                          : CellName(c, lang) + "に" + std::to_string(d) +
                                "が入るはずなのに、もう入れません";
            }
        } else {
            state.Eliminate(c, d);
        }
        for (int q = 0; q < 81; ++q) {
            if (!state.Value(q) && state.Candidates(q) == 0)
                return en ? CellName(q, lang) + " has no candidate left"
                          : CellName(q, lang) + "に入る候補がなくなります";
        }
        for (int u = 0; u < kUnitCount; ++u) {
            for (int e = 1; e <= 9; ++e) {
                bool placed = false;
                for (int q : kUnits.cells[u]) placed |= state.Value(q) == e;
                if (!placed && (state.CellsOf(e) & kUnits.set[u]).Empty()) {
                    return en ? std::to_string(e) + " has no place left in " + UnitName(u, lang)
                              : UnitName(u, lang) + "に" + std::to_string(e) +
                                    "の入る場所がなくなります";
                }
            }
        }
    }
    return {};
}

}  // namespace

std::vector<int> ChainCells(const Step& step) {
    std::vector<int> cells;
    for (const auto& nodes : ParseChain(step.chain)) {
        for (const ChainNode& node : nodes) {
            node.cells.ForEach([&](int c) {
                if (std::find(cells.begin(), cells.end(), c) == cells.end()) cells.push_back(c);
            });
        }
    }
    return cells;
}

std::vector<std::string> ChainLinks(const Step& step, const State& board, Lang lang) {
    std::vector<std::string> out;
    // A nested chain's lines are its links already, each with the proof it rests on.
    if (step.chain.empty() || step.technique == Technique::AlsXz ||
        RowOf(step.technique).wording == Wording::Branches)
        return out;
    const std::vector<std::vector<ChainNode>> branches = ParseChain(step.chain);
    if (branches.empty() || branches[0].empty()) return out;
    const bool en = lang == Lang::English;
    if (step.technique == Technique::ForcingChain || step.technique == Technique::ForcingNet) {
        for (const auto& nodes : branches) {
            if (nodes.empty()) continue;
            ForcingBranch(nodes, board, lang, out);
        }
        const bool refuted = branches.size() == 1 && !step.eliminations.empty() &&
                             branches[0][0].cells == CellSet::Of(step.eliminations[0].cell) &&
                             OneDigit(branches[0][0].digits) == step.eliminations[0].digit;
        if (refuted) {
            const std::string why = Contradiction(branches[0], board, lang);
            out.push_back(en ? "That is a contradiction" + (why.empty() ? "" : ": " + why) +
                                   ", so the assumption is false."
                             : "これは矛盾です" + (why.empty() ? "" : "（" + why + "）") +
                                   "。よって仮定は誤りです。");
        } else {
            out.push_back(
                en ? "Every branch reaches the same result, so it holds whichever is true."
                   : "どの場合も同じ結論にたどり着くので、その結論は正しいと分かります。");
        }
        return out;
    }
    // An alternating chain: strong and weak links in turn, every one true on the board shown.
    const std::vector<ChainNode>& nodes = branches[0];
    for (std::size_t k = 1; k < nodes.size(); ++k) {
        const bool strong = nodes[k].link == '=';
        const std::string why = strong ? StrongReason(nodes[k - 1], nodes[k], board, lang)
                                       : WeakReason(nodes[k - 1], nodes[k], lang);
        const std::string pair =
            en ? NodeText(nodes[k - 1], lang) + (strong ? " = " : " - ") + NodeText(nodes[k], lang)
               : NodeText(nodes[k - 1], lang) + (strong ? "＝" : "－") + NodeText(nodes[k], lang);
        out.push_back(pair + (why.empty() ? "" : en ? ": " + why : "：" + why) + (en ? "." : "。"));
    }
    out.push_back(
        en ? "So " + NodeText(nodes.front(), lang) + " or " + NodeText(nodes.back(), lang) +
                 " is true, and a candidate that sees both goes."
           : "よって" + NodeText(nodes.front(), lang) + "か" + NodeText(nodes.back(), lang) +
                 "のどちらかが正しく、両方から見える候補は除けます。");
    return out;
}

}  // namespace kz::logic
