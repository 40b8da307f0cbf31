// SPDX-License-Identifier: MIT
// A chain step's picture: the nodes and links the grid draws, read from the step's proof.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "logic/chainpicture.h"
#include "logic/hint.h"
#include "logic/notation.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

// A node's neighbour along a link is the same candidates with another digit, or the same
// digit in the one house that holds both. A forcing net's link may also run from a cell to a
// group through it, where earlier facts left the group the cell's only other digit.
bool Linked(const ChainPicture::Node& a, const ChainPicture::Node& b, bool net) {
    if (a.cells == b.cells) return a.digits != b.digits;
    if (net && !(a.cells & b.cells).Empty()) return a.digits != b.digits;
    if (a.digits != b.digits) return false;
    for (int u = 0; u < kUnitCount; ++u) {
        if ((a.cells & kUnits.set[u]) == a.cells && (b.cells & kUnits.set[u]) == b.cells)
            return true;
    }
    return false;
}

// Every chain step on the paths of hard boards: an alternating chain runs strong, weak,
// strong… from an off node to an on one and prints back as its notation; a forcing step's
// facts link back to what they follow from; and the cells drawn are those the hint colours.
TEST(ChainPicture, EveryChainOnThePathReadsBackAsItsNotation) {
    int alternating = 0, forcing = 0, nested = 0;
    for (const char* set : {"forum_hardest_1106.txt", "magictour_top1465.txt"}) {
        for (const Digits& board : test::ReadSet(set, 8)) {
            Path path;
            Rate(board, &path);
            for (const Step& step : path.steps) {
                const ChainPicture picture = ChainPictureOf(step);
                if (step.chain.empty() || step.technique == Technique::AlsXz ||
                    step.chain == "budget") {
                    EXPECT_TRUE(picture.Empty()) << step.chain;
                    continue;
                }
                SCOPED_TRACE(step.chain);
                ASSERT_FALSE(picture.Empty());
                const bool assumes = AssumesStart(step.technique);
                if (assumes) {
                    // Each fact is linked from the facts it follows from, earlier in its own
                    // branch; a link is strong where it makes its fact true, and dynamic where
                    // the fact needs more than that one link.
                    (step.chain.find(" => ") != std::string::npos ? nested : forcing) += 1;
                    std::vector<int> into(picture.nodes.size(), 0);
                    for (const ChainPicture::Link& l : picture.links) ++into[l.to];
                    for (const ChainPicture::Link& l : picture.links) {
                        EXPECT_LT(l.from, l.to);
                        EXPECT_EQ(picture.nodes[l.from].branch, picture.nodes[l.to].branch);
                        EXPECT_EQ(l.strong, picture.nodes[l.to].on);
                        if (into[l.to] > 1) {
                            EXPECT_TRUE(l.dynamic);
                        }
                    }
                    EXPECT_TRUE(picture.nodes.front().on);
                } else {
                    ++alternating;
                    // Printed again, an alternating chain's picture is its notation.
                    std::string text;
                    for (std::size_t k = 0; k < picture.nodes.size(); ++k) {
                        const ChainPicture::Node& node = picture.nodes[k];
                        if (k > 0) {
                            const ChainPicture::Link& l = picture.links.at(k - 1);
                            EXPECT_EQ(l.from + 1, static_cast<int>(k));
                            EXPECT_EQ(node.on, l.strong);
                            EXPECT_FALSE(l.dynamic);
                            EXPECT_TRUE(Linked(picture.nodes[k - 1], node, false));
                            text += l.strong ? '=' : '-';
                        }
                        text += NodeName(node.digits, node.cells);
                    }
                    EXPECT_EQ(text, step.chain);
                    EXPECT_FALSE(picture.nodes.front().on);
                    EXPECT_TRUE(picture.nodes.back().on);
                }
                std::vector<int> drawn, coloured = ChainCells(step);
                for (const ChainPicture::Node& node : picture.nodes) {
                    node.cells.ForEach([&](int c) {
                        if (std::find(drawn.begin(), drawn.end(), c) == drawn.end())
                            drawn.push_back(c);
                    });
                }
                EXPECT_EQ(drawn, coloured);
            }
        }
    }
    EXPECT_GT(alternating, 0);
    EXPECT_GT(forcing, 0);
    std::printf("chains: %d alternating, %d forcing, %d nested\n", alternating, forcing, nested);
}

}  // namespace
}  // namespace kz::logic
