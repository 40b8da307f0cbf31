// SPDX-License-Identifier: MIT
// Reading a step's proof into nodes and links.
#include "logic/chainpicture.h"

#include "logic/proof.h"

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

ChainPicture ChainPictureOf(const Step& step) {
    ChainPicture picture;
    if (!step.proof) return picture;
    const Proof& proof = *step.proof;
    const auto bit = [](int d) { return static_cast<Mask>(1u << (d - 1)); };
    if (proof.kind == Proof::Kind::Chain) {
        // From its start an alternating chain reads "if this is false": each strong link makes
        // the next node true, each weak one false.
        for (std::size_t k = 0; k < proof.nodes.size(); ++k) {
            const bool on = k > 0 && proof.links[k - 1].strong;
            picture.nodes.push_back({bit(proof.nodes[k].digit), proof.nodes[k].cells, on, 0});
            if (k > 0) {
                const int to = static_cast<int>(k);
                picture.links.push_back({to - 1, to, on, false});
            }
        }
        return picture;
    }
    for (std::size_t b = 0; b < proof.branches.size(); ++b) {
        const ProofBranch& branch = proof.branches[b];
        const int base = static_cast<int>(picture.nodes.size());
        for (const ProofFact& f : branch.facts) {
            if (f.IsEnd()) break;
            const int to = static_cast<int>(picture.nodes.size());
            picture.nodes.push_back({bit(f.digit), f.cells, f.isTrue, static_cast<int>(b)});
            const bool dynamic = f.premises.size() > 1 || f.because == Because::Inner;
            for (std::int16_t p : f.premises)
                picture.links.push_back({base + p, to, f.isTrue, dynamic});
        }
    }
    return picture;
}

}  // namespace kz::logic
