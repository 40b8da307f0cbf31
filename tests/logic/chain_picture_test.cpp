// SPDX-License-Identifier: MIT
// A chain step's picture: the nodes and links the grid draws, read from the step's notation.
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

// Every chain step on the paths of hard boards. Printed again, the picture is the notation it
// was read from (a group's cells, a digit carried over, a branch's start all kept); every
// link joins the node before to the next in one branch, through a shared cell or house; a
// node is on where the link into it is strong, a branch's start where the step assumes it;
// an alternating chain runs strong, weak, strong… from an off node to an on one; and the
// cells are those the hint colours. A nested chain's outer line starts from its assumption.
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
                if (step.chain.find(" => ") != std::string::npos) {
                    ++nested;
                    EXPECT_TRUE(picture.nodes.front().on);
                    EXPECT_EQ(NodeName(picture.nodes.front().digits, picture.nodes.front().cells),
                              step.chain.substr(0, step.chain.find(' ')));
                    for (const ChainPicture::Link& l : picture.links)
                        EXPECT_EQ(l.strong, picture.nodes[l.to].on);
                    continue;
                }
                (assumes ? forcing : alternating) += 1;
                std::string text;
                std::size_t linkAt = 0;
                for (std::size_t k = 0; k < picture.nodes.size(); ++k) {
                    const ChainPicture::Node& node = picture.nodes[k];
                    const bool starts = k == 0 || picture.nodes[k - 1].branch != node.branch;
                    if (starts) {
                        if (k > 0) text += "; ";
                        EXPECT_EQ(node.on, assumes);
                    } else {
                        ASSERT_LT(linkAt, picture.links.size());
                        const ChainPicture::Link& l = picture.links[linkAt++];
                        EXPECT_EQ(l.from + 1, static_cast<int>(k));
                        EXPECT_EQ(l.to, static_cast<int>(k));
                        EXPECT_EQ(node.on, l.strong);
                        EXPECT_TRUE(Linked(picture.nodes[k - 1], node, assumes))
                            << NodeName(node.digits, node.cells);
                        text += l.strong ? '=' : '-';
                    }
                    text += NodeName(node.digits, node.cells);
                }
                EXPECT_EQ(linkAt, picture.links.size());
                EXPECT_EQ(text, step.chain);
                if (!assumes) {
                    EXPECT_FALSE(picture.nodes.front().on);
                    EXPECT_TRUE(picture.nodes.back().on);
                    for (std::size_t k = 0; k < picture.links.size(); ++k)
                        EXPECT_EQ(picture.links[k].strong, k % 2 == 0);
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
