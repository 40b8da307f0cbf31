// SPDX-License-Identifier: MIT
// A chain step as a picture on the grid: the candidates it passes through, each either true
// ("on") or false ("off") along the chain, and the links between them. The window draws it;
// this only reads the step's notation, so it stays free of any toolkit.
#pragma once

#include <string>
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
        int branch = 0;   ///< which assumption of a forcing step it follows from, 0 for a chain
        bool operator==(const Node&) const = default;
    };
    /// From node `from` to node `to`, indices into `nodes`.
    struct Link {
        int from = 0;
        int to = 0;
        bool strong = false;  ///< "=": one of the two is true; "-": not both are
        bool operator==(const Link&) const = default;
    };
    std::vector<Node> nodes;
    std::vector<Link> links;
    bool Empty() const { return nodes.empty(); }
};

/// A step assumes its chain's first node when it forces: the chain then reads from a truth
/// instead of from "if this is false".
bool AssumesStart(Technique technique);

/// The picture of `chain`, a step's notation: Eureka ("(5)r1c2=r1c7-(5)r4c7", groups as
/// "r12c3", forcing branches joined by "; ") or a nested chain's outer lines ("(5)r1c2 =>
/// r3c4=7 => r4c5<>3 [1] => …"; the inner proofs after the first line break are not drawn).
/// `assumes` as AssumesStart gives. Empty when the text is of neither form.
ChainPicture ParseChainPicture(const std::string& chain, bool assumes);

/// The picture of a step's chain, empty for steps without one.
ChainPicture ChainPictureOf(const Step& step);

}  // namespace kz::logic
