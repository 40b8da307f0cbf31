// SPDX-License-Identifier: MIT
// Reading a chain's notation into nodes and links.
#include "logic/chainpicture.h"

#include "logic/notation.h"

namespace kz::logic {

bool AssumesStart(Technique technique) {
    switch (technique) {
        case Technique::ForcingChain:
        case Technique::ForcingNet:
        case Technique::ForcingChainPlus:
        case Technique::NestedForcingChain:
        case Technique::NestedMultipleChain:
        case Technique::NestedDynamicChain:
            return true;
        default:
            return false;
    }
}

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    bool At(char ch) const { return m_i < m_text.size() && m_text[m_i] == ch; }
    bool Skip(std::string_view word) {
        if (m_text.compare(m_i, word.size(), word) != 0) return false;
        m_i += word.size();
        return true;
    }
    bool Done() const { return m_i >= m_text.size(); }
    int Digit(char low) {
        if (m_i < m_text.size() && m_text[m_i] >= low && m_text[m_i] <= '9')
            return m_text[m_i++] - '0';
        return -1;
    }
    /// "r1c2", "r12c3", "r1c23", "r1c2r4c56"; empty when there is no cell here.
    CellSet Cells() {
        CellSet cells;
        while (At('r')) {
            const std::size_t start = m_i++;
            std::vector<int> rows, cols;
            for (int r; (r = Digit('1')) > 0;) rows.push_back(r - 1);
            if (rows.empty() || !Skip("c")) {
                m_i = start;
                break;
            }
            for (int c; (c = Digit('1')) > 0;) cols.push_back(c - 1);
            for (int r : rows)
                for (int c : cols) cells.Add(r * 9 + c);
        }
        return cells;
    }
    /// Up to the next branch, or the end of the outer lines.
    void SkipBranch() {
        while (m_i < m_text.size() && m_text[m_i] != ';' && m_text[m_i] != '\n') ++m_i;
    }

private:
    const std::string& m_text;
    std::size_t m_i = 0;
};

}  // namespace

ChainPicture ParseChainPicture(const std::string& chain, bool assumes) {
    ChainPicture picture;
    Reader in(chain);
    Mask digits = 0;
    int branch = 0;
    // The node the next link starts from, -1 at a branch's start.
    int last = -1;
    char link = 0;
    const auto add = [&](Mask d, CellSet cells, bool on) {
        picture.nodes.push_back({d, cells, on, branch});
        const int index = static_cast<int>(picture.nodes.size()) - 1;
        if (last >= 0) picture.links.push_back({last, index, link == '='});
        last = index;
    };
    while (!in.Done() && !in.At('\n')) {
        if (in.Skip("; ") || in.Skip(";")) {
            ++branch;
            last = -1;
            link = 0;
            continue;
        }
        if (last >= 0 && in.Skip(" => ")) {
            // A nested chain's outer line: a placement, a removal, or the end it reaches.
            const CellSet cells = in.Cells();
            if (cells.Empty()) {
                in.SkipBranch();
                continue;
            }
            // Past the last fact comes what the branch reaches, said in words.
            const bool placed = in.Skip("=");
            if (placed) {
                const int d = in.Digit('1');
                if (d < 0) return {};
                link = '=';
                add(DigitBit(d), cells, true);
            } else if (in.Skip("<>")) {
                // The removals one inner proof makes come together, cell by cell: each hangs
                // on the fact before them ("r7c4<>34679, r9c4<>6789 [1]").
                const int before = last;
                int first = -1;
                for (CellSet at = cells;;) {
                    Mask removed = 0;
                    for (int d; (d = in.Digit('1')) > 0;) removed |= DigitBit(d);
                    if (removed == 0) return {};
                    last = before;
                    link = '-';
                    add(removed, at, false);
                    if (first < 0) first = last;
                    if (!in.Skip(", ")) break;
                    at = in.Cells();
                    if (at.Empty() || !in.Skip("<>")) return {};
                }
                last = first;
            } else {
                in.SkipBranch();
                continue;
            }
            // The removal's inner proof is drawn by its number only.
            if (in.Skip(" [")) {
                while (in.Digit('0') >= 0) {
                }
                if (!in.Skip("]")) return {};
            }
            continue;
        }
        if (last >= 0) {
            if (in.Skip("=")) {
                link = '=';
            } else if (in.Skip("-")) {
                link = '-';
            } else {
                return {};
            }
        }
        if (in.Skip("(")) {
            digits = 0;
            for (int d; (d = in.Digit('1')) > 0;) digits |= DigitBit(d);
            if (!in.Skip(")")) return {};
        }
        const CellSet cells = in.Cells();
        if (cells.Empty() || digits == 0) return {};
        // From its start an alternating chain reads "if this is false"; a forcing branch
        // assumes its start true. Further on the link says it: "=" makes the next node true
        // and "-" false.
        add(digits, cells, last < 0 ? assumes : link == '=');
    }
    return picture;
}

ChainPicture ChainPictureOf(const Step& step) {
    // An almost locked set's notation joins digits inside a node, which no candidate shows.
    if (step.chain.empty() || step.technique == Technique::AlsXz) return {};
    return ParseChainPicture(step.chain, AssumesStart(step.technique));
}

}  // namespace kz::logic
