// SPDX-License-Identifier: MIT
// A step's proof in words, link by link or fact by fact, as a player checks it on the board the
// step applies to. Every sentence is made from the proof's values; the board only supplies the
// candidates a reason lists.
#include <algorithm>
#include <string>
#include <vector>

#include "logic/hint.h"
#include "logic/proof.h"

namespace kz::logic {

namespace {

std::string Num(int n) {
    return std::to_string(n);
}

std::string CellsText(CellSet cells, Lang lang) {
    std::string text;
    const char* joint = lang == Lang::English ? ", " : "・";
    cells.ForEach([&](int c) { text += (text.empty() ? "" : joint) + CellName(c, lang); });
    return text;
}

std::string DigitsOf(Mask m, Lang lang) {
    std::string out;
    for (int d = 1; d <= 9; ++d) {
        if (!((m >> (d - 1)) & 1)) continue;
        if (!out.empty()) out += lang == Lang::English ? ", " : "・";
        out += static_cast<char>('0' + d);
    }
    return out;
}

std::string NodeText(const ChainNode& node, Lang lang) {
    const std::string cells = CellsText(node.cells, lang);
    if (lang == Lang::English)
        return Num(node.digit) + " in " + (node.cells.Count() > 1 ? "one of " : "") + cells;
    return cells + "の" + Num(node.digit);
}

// ---- Alternating chains ----------------------------------------------------------------------

// Why a link holds on `board`. A strong link the board does not bear out gets no reason.
std::string LinkReason(const ChainNode& a, const ChainNode& b, const ChainLink& link,
                       const State& board, Lang lang) {
    const bool en = lang == Lang::English;
    if (link.unit < 0) {
        const int c = a.cells.First();
        if (!link.strong) {
            return en ? CellName(c, lang) + " holds one digit only"
                      : CellName(c, lang) + "に入る数字は一つだけです";
        }
        const Mask both = static_cast<Mask>(1u << (a.digit - 1) | 1u << (b.digit - 1));
        if (board.Candidates(c) != both) return {};
        return en ? CellName(c, lang) + " holds only " + DigitsOf(board.Candidates(c), lang)
                  : CellName(c, lang) + "の候補は" + DigitsOf(board.Candidates(c), lang) +
                        "だけです";
    }
    const std::string unit = UnitName(link.unit, lang);
    if (!link.strong) return en ? "both lie in " + unit : "どちらも" + unit + "にあります";
    const CellSet places = board.CellsOf(a.digit) & kUnits.set[link.unit];
    if (places != (a.cells | b.cells)) return {};
    const std::string d = Num(a.digit);
    const std::string where = CellsText(places, lang);
    return en ? "in " + unit + ", " + d + " lies only in " + where
              : unit + "で" + d + "が入るのは" + where + "だけです";
}

void ChainWords(const Step& step, const Proof& proof, const State& board, Lang lang,
                std::vector<std::string>& out) {
    const bool en = lang == Lang::English;
    const auto& nodes = proof.nodes;
    if (nodes.empty()) return;
    for (std::size_t k = 0; k < proof.links.size(); ++k) {
        const ChainLink& link = proof.links[k];
        const std::string why = LinkReason(nodes[k], nodes[k + 1], link, board, lang);
        const std::string pair =
            NodeText(nodes[k], lang) +
            (en ? (link.strong ? " = " : " - ") : (link.strong ? "＝" : "－")) +
            NodeText(nodes[k + 1], lang);
        out.push_back(pair + (why.empty() ? "" : en ? ": " + why : "：" + why) + (en ? "." : "。"));
    }
    const ChainNode& first = nodes.front();
    const ChainNode& last = nodes.back();
    // Both ends in one cell: the cell holds one of the two, and its other candidates go for
    // that reason, not for being seen.
    const bool oneCell = first.cells.Single() && first.cells == last.cells;
    if (oneCell && !step.eliminations.empty()) {
        Mask gone = 0;
        bool inCell = true;
        for (const Elimination& e : step.eliminations) {
            inCell &= e.cell == first.cells.First();
            gone |= static_cast<Mask>(1u << (e.digit - 1));
        }
        if (inCell) {
            const std::string cell = CellName(first.cells.First(), lang);
            out.push_back(en ? "So " + cell + " is " + Num(first.digit) + " or " + Num(last.digit) +
                                   ", and " + DigitsOf(gone, lang) + " goes from it."
                             : "よって" + cell + "は" + Num(first.digit) + "か" + Num(last.digit) +
                                   "のどちらかなので、" + cell + "の" + DigitsOf(gone, lang) +
                                   "は除けます。");
            return;
        }
    }
    out.push_back(en ? "So " + NodeText(first, lang) + " or " + NodeText(last, lang) +
                           " is true, and a candidate that sees both goes."
                     : "よって" + NodeText(first, lang) + "か" + NodeText(last, lang) +
                           "のどちらかが正しく、両方から見える候補は除けます。");
}

// ---- Branches of facts -------------------------------------------------------------------------

// A branch as it is read: a removal that follows from one placement or group is not a line of
// its own but is said where it is used, so every numbered line is a placement, a group, a
// removal by an inner proof, the supposition or the end.
struct Reading {
    const ProofBranch& branch;
    Lang lang;
    std::vector<int> number;  ///< the line number of each fact, 0 for one said where it is used

    Reading(const ProofBranch& b, Lang l) : branch(b), lang(l), number(b.facts.size(), 0) {
        int n = 0;
        for (std::size_t k = 0; k < b.facts.size(); ++k) {
            const ProofFact& f = b.facts[k];
            const bool folded = k > 0 && k + 1 < b.facts.size() && !f.isTrue &&
                                (f.because == Because::SameCell || f.because == Because::Sees);
            if (!folded) number[k] = ++n;
        }
    }
    bool En() const { return lang == Lang::English; }
    const ProofFact& At(int k) const { return branch.facts[static_cast<std::size_t>(k)]; }
    std::string Ref(int k) const { return "(" + Num(number[static_cast<std::size_t>(k)]) + ")"; }
};

// "r3c4 is 7", "r3c4 is not 5", "7 is in one of r4c1, r4c2".
std::string FactText(const ProofFact& f, Lang lang) {
    const bool en = lang == Lang::English;
    const std::string d = Num(f.digit);
    if (f.IsGroup()) {
        const std::string cells = CellsText(f.cells, lang);
        return en ? d + " is in one of " + cells : d + "は" + cells + "のどれかに入る";
    }
    const std::string cell = CellName(f.cells.First(), lang);
    if (f.because == Because::Supposed) {
        if (f.isTrue)
            return en ? "suppose " + cell + " is " + d : cell + "が" + d + "だと仮定します";
        return en ? "suppose " + cell + " is not " + d : cell + "が" + d + "ではないと仮定します";
    }
    if (f.isTrue) return en ? cell + " is " + d : cell + "は" + d + "に決まる";
    return en ? cell + " is not " + d : cell + "は" + d + "ではない";
}

// The house two cell sets share, or −1.
int SharedUnit(CellSet a, CellSet b) {
    const CellSet both = a | b;
    for (int u = 0; u < kUnitCount; ++u) {
        if ((kUnits.set[u] & both) == both) return u;
    }
    return -1;
}

std::string HouseWord(int unit, Lang lang) {
    if (lang == Lang::English) return unit < 9 ? "row" : unit < 18 ? "column" : "box";
    return unit < 9 ? "行" : unit < 18 ? "列" : "ブロック";
}

// What a true fact or group states, as the object of "by": "r9c4 = 8", "8 in one of r7c1, r7c2"
// or "9行4列の8", "7行1列・7行2列のどれかの5".
std::string Truth(const ProofFact& p, Lang lang) {
    const std::string d = Num(p.digit);
    if (lang == Lang::English) {
        return p.IsGroup() ? d + " in one of " + CellsText(p.cells, lang)
                           : CellName(p.cells.First(), lang) + " = " + d;
    }
    return p.IsGroup() ? CellsText(p.cells, lang) + "のどれかの" + d
                       : CellName(p.cells.First(), lang) + "の" + d;
}

// Why each candidate a reason lists is gone, one clause each: "r4c2 is 1 (38)", "8 goes by
// r9c4 = 8 (4)", "6行2列は(3)で除かれ". Japanese clauses end in a stem that takes "ます".
std::vector<std::string> Clauses(const ProofFact& f, const Reading& r, bool byDigit) {
    const bool en = r.En();
    std::vector<std::string> out;
    for (std::int16_t k : f.premises) {
        const ProofFact& q = r.At(k);
        if (q.isTrue) continue;
        const std::string what = byDigit ? Num(q.digit) : CellName(q.cells.First(), r.lang);
        if (r.number[static_cast<std::size_t>(k)] > 0) {
            out.push_back(en ? what + " is out " + r.Ref(k) : what + "は" + r.Ref(k) + "で除かれ");
            continue;
        }
        const int pk = q.premises.at(0);
        const ProofFact& p = r.At(pk);
        if (q.because == Because::SameCell) {
            out.push_back(en ? what + " is " + Num(p.digit) + " " + r.Ref(pk)
                             : what + "は" + r.Ref(pk) + "で" + Num(p.digit) + "に決まり");
        } else if (byDigit) {
            out.push_back(en ? what + " goes by " + Truth(p, r.lang) + " " + r.Ref(pk)
                             : what + "は" + r.Ref(pk) + "の" + Truth(p, r.lang) +
                                   "から見えて消え");
        } else {
            out.push_back(en ? what + " sees " + Truth(p, r.lang) + " " + r.Ref(pk)
                             : what + "は" + r.Ref(pk) + "の" + Truth(p, r.lang) + "から見え");
        }
    }
    return out;
}

std::string JoinClauses(const std::vector<std::string>& clauses, Lang lang) {
    std::string text;
    for (std::size_t i = 0; i < clauses.size(); ++i) {
        if (i) text += lang == Lang::English ? (i + 1 == clauses.size() ? " and " : ", ") : "、";
        text += clauses[i];
    }
    if (lang == Lang::Japanese && !text.empty()) text += "ます";
    return text;
}

// Why a fact holds, from the board and its premises.
std::string FactReason(const ProofFact& f, const Reading& r, const State& board) {
    const bool en = r.En();
    const Lang lang = r.lang;
    const std::string d = Num(f.digit);
    const int c = f.cells.First();
    switch (f.because) {
        case Because::OnlyCandidate: {
            const std::string cell = CellName(c, lang);
            const std::string taken = JoinClauses(Clauses(f, r, true), lang);
            if (taken.empty())
                return en ? cell + " holds only " + d : cell + "の候補は" + d + "だけです";
            const std::string all = DigitsOf(board.Candidates(c), lang);
            return en ? cell + " holds " + all + "; " + taken
                      : cell + "の候補は" + all + "で、" + taken;
        }
        case Because::OnlyPlace:
        case Because::Locked: {
            const std::string unit = UnitName(f.unit, lang);
            const std::string places = CellsText(board.CellsOf(f.digit) & kUnits.set[f.unit], lang);
            const std::string taken = JoinClauses(Clauses(f, r, false), lang);
            std::string text = en ? "in " + unit + ", " + d + " can go only in " + places
                                  : unit + "で" + d + "が入るのは" + places + "だけで";
            if (taken.empty()) return en ? text : text + "す";
            return text + (en ? "; " : "、") + taken;
        }
        case Because::Pair: {
            const std::string cells = CellsText(f.cells, lang);
            const std::string two = Num(std::min<int>(f.digit, f.other)) + (en ? " and " : "と") +
                                    Num(std::max<int>(f.digit, f.other));
            const std::string taken = JoinClauses(Clauses(f, r, true), lang);
            std::string text =
                en ? "in " + UnitName(f.unit, lang) + ", " + cells + " hold only " + two +
                         " between them"
                   : UnitName(f.unit, lang) + "の" + cells + "には" + two + "しか入りません";
            if (!taken.empty()) text += en ? " (" + taken + ")" : "（" + taken + "）";
            return text;
        }
        case Because::SameCell: {
            const int pk = f.premises.at(0);
            return en ? "it is " + Num(r.At(pk).digit) + " " + r.Ref(pk)
                      : r.Ref(pk) + "で" + Num(r.At(pk).digit) + "に決まっています";
        }
        case Because::Sees: {
            const int pk = f.premises.at(0);
            const ProofFact& p = r.At(pk);
            const int unit = SharedUnit(f.cells, p.cells);
            const std::string house = unit >= 0 ? HouseWord(unit, lang) : std::string();
            return en ? "it sees " + Truth(p, lang) + " " + r.Ref(pk)
                      : r.Ref(pk) + "の" + Truth(p, lang) + "と同じ" + house + "にあります";
        }
        case Because::Inner: {
            // A removal said where it is used has no number: the fact that made it stands for it.
            std::vector<int> refs;
            for (std::int16_t p : f.premises) {
                const int k =
                    r.number[static_cast<std::size_t>(p)] > 0 ? p : r.At(p).premises.at(0);
                if (std::find(refs.begin(), refs.end(), k) == refs.end()) refs.push_back(k);
            }
            std::sort(refs.begin(), refs.end());
            std::string after;
            for (int k : refs) after += (after.empty() ? "" : en ? ", " : "・") + r.Ref(k);
            const std::string name = "[" + Num(f.inner + 1) + "]";
            if (after.empty())
                return en ? "by the proof " + name + " below" : "下の証明" + name + "によります";
            return en ? "by the proof " + name + " below, on the board as " + after +
                            (refs.size() > 1 ? " leave it" : " leaves it")
                      : after + "の後の盤面で、下の証明" + name + "によります";
        }
        default:
            return {};
    }
}

// The contradiction a branch ends in, named.
std::string EndText(const ProofFact& f, const Reading& r) {
    const bool en = r.En();
    const Lang lang = r.lang;
    const std::string d = Num(f.digit);
    switch (f.because) {
        case Because::NoCandidate: {
            const std::string cell = CellName(f.cells.First(), lang);
            const std::string taken = JoinClauses(Clauses(f, r, true), lang);
            return en ? cell + " has no candidate left: " + taken
                      : cell + "に入る候補がなくなります（" + taken + "）";
        }
        case Because::NoPlace: {
            const std::string unit = UnitName(f.unit, lang);
            const std::string taken = JoinClauses(Clauses(f, r, false), lang);
            return en ? unit + " has no place left for " + d + ": " + taken
                      : unit + "に" + d + "の入る場所がなくなります（" + taken + "）";
        }
        case Because::Clash: {
            const std::string cell = CellName(f.cells.First(), lang);
            const int is = f.premises.at(0);
            const std::string why = JoinClauses(Clauses(f, r, false), lang);
            return en ? cell + " must be " + d + " " + r.Ref(is) + ", but " + why
                      : cell + "は" + r.Ref(is) + "で" + d + "に決まるのに、" + why;
        }
        default:
            return {};
    }
}

void BranchWords(const Proof& proof, const State& board, Lang lang, std::vector<std::string>& out,
                 const std::string& indent);

void InnerWords(const Proof& proof, Lang lang, std::vector<std::string>& out,
                const std::string& indent);

void BranchWords(const Proof& proof, const State& board, Lang lang, std::vector<std::string>& out,
                 const std::string& indent) {
    const bool en = lang == Lang::English;
    const bool many = proof.branches.size() > 1;
    for (std::size_t b = 0; b < proof.branches.size(); ++b) {
        const Reading r(proof.branches[b], lang);
        const std::string head =
            many ? (en ? "Case " : "場合") + Num(static_cast<int>(b) + 1) + (en ? ": " : "：")
                 : std::string();
        for (std::size_t k = 0; k < r.branch.facts.size(); ++k) {
            const ProofFact& f = r.branch.facts[k];
            if (!r.number[k]) continue;
            if (f.IsEnd()) {
                out.push_back(indent + (en ? "That is a contradiction: " : "これは矛盾です：") +
                              EndText(f, r) + (en ? "." : "。"));
                continue;
            }
            const std::string line = indent + r.Ref(static_cast<int>(k)) + " ";
            if (k == 0) {
                std::string text = FactText(f, lang);
                if (en) text[0] = static_cast<char>(text[0] - 'a' + 'A');
                out.push_back(line + head + text + (en ? "." : "。"));
                continue;
            }
            const std::string why = FactReason(f, r, board);
            out.push_back(line + FactText(f, lang) + (why.empty() ? "" : (en ? ": " : "：") + why) +
                          (en ? "." : "。"));
        }
    }
    InnerWords(proof, lang, out, indent);
}

// A nested chain's inner proofs, each on the board of the branch it serves: the words of its
// step, then its own facts further in.
void InnerWords(const Proof& proof, Lang lang, std::vector<std::string>& out,
                const std::string& indent) {
    for (std::size_t i = 0; i < proof.inners.size(); ++i) {
        const Step& inner = proof.innerSteps.at(i);
        out.push_back(indent + "    [" + Num(static_cast<int>(i) + 1) + "] " +
                      Describe(inner, lang) + (lang == Lang::English ? "." : "。"));
        const Proof& p = proof.inners[i];
        if (p.kind == Proof::Kind::Chain || p.branches.empty()) continue;
        std::vector<std::string> lines;
        BranchWords(p, proof.innerBoards.at(i), lang, lines, indent + "        ");
        out.insert(out.end(), lines.begin(), lines.end());
    }
}

}  // namespace

std::vector<int> ChainCells(const Step& step) {
    std::vector<int> cells;
    if (!step.proof) return cells;
    const auto add = [&](CellSet set) {
        set.ForEach([&](int c) {
            if (std::find(cells.begin(), cells.end(), c) == cells.end()) cells.push_back(c);
        });
    };
    for (const ChainNode& node : step.proof->nodes) add(node.cells);
    for (const ProofBranch& branch : step.proof->branches) {
        for (const ProofFact& f : branch.facts) add(f.cells);
    }
    return cells;
}

std::vector<std::string> ChainLinks(const Step& step, const State& board, Lang lang) {
    std::vector<std::string> out;
    if (!step.proof) return out;
    const Proof& proof = *step.proof;
    const bool en = lang == Lang::English;
    if (proof.kind == Proof::Kind::Chain) {
        ChainWords(step, proof, board, lang, out);
        return out;
    }
    BranchWords(proof, board, lang, out, "");
    if (proof.kind == Proof::Kind::Refuted) {
        const ProofFact& s = proof.branches.at(0).facts.at(0);
        const std::string cell = CellName(s.cells.First(), lang);
        const std::string d = Num(s.digit);
        out.push_back(en ? "So the supposition is false: " + cell +
                               (s.isTrue ? " is not " : " is ") + d + "."
                         : "よって仮定は誤りで、" + cell + "は" + d +
                               (s.isTrue ? "ではありません。" : "に決まります。"));
    } else {
        const ProofFact& r = proof.branches.at(0).facts.back();
        out.push_back(en ? "Every case ends in " + FactText(r, lang) +
                               ", so it holds whichever is true."
                         : "どの場合も「" + FactText(r, lang) +
                               "」という結論になるので、この結論は正しいと分かります。");
    }
    return out;
}

}  // namespace kz::logic
