// SPDX-License-Identifier: MIT
#include "logic/hint.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "core/answer.h"
#include "logic/chainpicture.h"
#include "logic/notation.h"
#include "logic/proof.h"
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
    if (focus.units.empty() && step.technique != Technique::SimpleColouring) {
        focus.cell = !step.placements.empty()     ? step.placements[0].cell
                     : !step.eliminations.empty() ? step.eliminations[0].cell
                                                  : -1;
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
    // No house sums up a long chain or a net: what it does to the cell it settles is the
    // place to look from.
    if (focus.cell >= 0) {
        const std::string cell = CellName(focus.cell, lang);
        const std::string digit = std::to_string(focus.digit);
        const std::string what =
            focus.digit ? (en ? name + " on digit " + digit : digit + "の" + name) : name;
        if (!step.placements.empty()) {
            return en ? "Next step: " + what + " settles " + cell
                      : what + "で" + cell + "の数字が決まります";
        }
        int removed = 0;
        for (const Elimination& e : step.eliminations) removed += e.cell == focus.cell;
        const std::string count = removed > 1 ? std::to_string(removed) + "つ" : "一つ";
        return en ? "Next step: " + what + " removes a candidate from " + cell
                  : what + "で" + cell + "の候補を" + count + "消せます";
    }
    if (focus.digit) {
        const std::string digit = std::to_string(focus.digit);
        return en ? "Next step: " + name + " on digit " + digit
                  : digit + "の" + name + "があります";
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
        case Technique::ForcingNet: {
            const std::string lines =
                en ? " Each numbered line follows from the board and the earlier lines whose "
                     "numbers it gives."
                   : "番号の付いた各行は、盤面と、その行が番号で示す前の行から導かれます。";
            if (step.proof && step.proof->kind == Proof::Kind::Refuted) {
                return en ? "Supposing the first candidate leads, fact by fact, to a "
                            "contradiction, so that candidate is false." +
                                lines
                          : "最初の候補が正しいと仮定すると、事実を一つずつたどって矛盾にたどり着く"
                            "ので、その候補は誤りだと分かります。" +
                                lines;
            }
            return en ? "Whichever candidate is taken in the cell or house the cases start from, "
                        "each case leads to the same result, so the result holds." +
                            lines
                      : "起点のマス（または場所）のどの候補を選んでも、それぞれの場合が同じ結論に"
                        "たどり着くので、その結論は必ず正しいと分かります。" +
                            lines;
        }
        default:
            return en ? "At least one of the chain's two ends is true, so a candidate that "
                        "sees both ends cannot be true. In the notation, \"=\" means at least "
                        "one of the two ends is true (a strong link) and \"-\" means they are "
                        "not both true (a weak link)."
                      : "チェーンの両端の少なくとも一方は必ず正しいので、両端のどちらからも見える"
                        "候補は正しくありえず、除けます。記法の「=」は両端の少なくとも一方が正しい"
                        "（強いリンク）、「-"
                        "」は両端が同時に正しくなることはない（弱いリンク）ことを"
                        "表します。";
    }
}

}  // namespace kz::logic
