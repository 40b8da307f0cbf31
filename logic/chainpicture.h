// SPDX-License-Identifier: MIT
// A chain step as a picture on the grid: the candidates its proof passes through, each either
// true ("on") or false ("off") along it, and the links between them. The window draws it; this
// only reads the step's proof, so it stays free of any toolkit.
#pragma once

#include <vector>

#include "logic/cellset.h"
#include "logic/step.h"

namespace kz::logic {

struct ChainPicture {
    /// A candidate, or a group of one digit's candidates in cells of one house.
    struct Node {
        Mask digits = 0;
        CellSet cells;
        bool on = false;  ///< true along the chain where the chain makes it so
        int branch = 0;   ///< which supposition of a forcing step it follows from, 0 for a chain
        bool operator==(const Node&) const = default;
    };
    /// From node `from` to node `to`, indices into `nodes`.
    struct Link {
        int from = 0;
        int to = 0;
        bool strong = false;  ///< the link makes `to` true; otherwise it makes it false
        /// `to` follows from `from` only together with other facts (its other links in): a
        /// link the board as shown does not bear out on its own.
        bool dynamic = false;
        bool operator==(const Link&) const = default;
    };
    std::vector<Node> nodes;
    std::vector<Link> links;
    bool Empty() const { return nodes.empty(); }
};

/// A step assumes its chain's first node when it forces: the chain then reads from a truth
/// instead of from "if this is false".
bool AssumesStart(Technique technique);

/// The picture of a step's proof, empty for steps without one. An alternating chain's nodes
/// and links in order; a forcing step's facts branch by branch, each linked from the facts it
/// follows from (its end, a contradiction or the shared result, is not a node).
ChainPicture ChainPictureOf(const Step& step);

}  // namespace kz::logic
