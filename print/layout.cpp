// SPDX-License-Identifier: MIT
// Page layout of a booklet.
#include "print/layout.h"

#include <algorithm>

namespace kz::print {

namespace {

constexpr double kMargin = 36.0;  // half an inch: inside what every printer can reach
constexpr double kHeadingHeight = 22.0;
constexpr double kFootHeight = 12.0;
constexpr double kBandGap = 8.0;  // between the heading or the foot and the grids
constexpr double kGap = 18.0;     // between neighbouring grids
constexpr double kLabelHeight = 15.0;
constexpr double kSolutionLabelHeight = 11.0;

struct Arrangement {
    int columns = 1;
    int rows = 1;
    double side = 0;  // of each grid
};

// The columns and rows that give n grids the largest squares in the area. Every page of one
// kind takes the same arrangement, so that a short last page keeps its grids where the
// others have theirs.
Arrangement Arrange(int n, const Box& area, double labelHeight) {
    Arrangement best;
    for (int columns = 1; columns <= n; ++columns) {
        const int rows = (n + columns - 1) / columns;
        const double width = (area.width - kGap * (columns - 1)) / columns;
        const double height = (area.height - kGap * (rows - 1)) / rows - labelHeight;
        const double side = std::min(width, height);
        if (side > best.side) best = {columns, rows, side};
    }
    return best;
}

int PagesFor(int count, int perPage) {
    return (count + perPage - 1) / perPage;
}

}  // namespace

bool PerPageAllowed(int perPage) {
    return std::find(kPerPageChoices.begin(), kPerPageChoices.end(), perPage) !=
           kPerPageChoices.end();
}

int PageCount(int count, int perPage, bool solutions) {
    if (count < 1 || !PerPageAllowed(perPage)) return 0;
    return PagesFor(count, perPage) + (solutions ? PagesFor(count, kSolutionsPerPage) : 0);
}

std::vector<Page> LayoutPages(int count, int perPage, bool solutions, Size size) {
    std::vector<Page> pages;
    if (count < 1 || !PerPageAllowed(perPage)) return pages;
    const double width = size.width - 2 * kMargin;
    const Box heading{kMargin, kMargin, width, kHeadingHeight};
    const Box foot{kMargin, size.height - kMargin - kFootHeight, width, kFootHeight};
    const double top = heading.bottom() + kBandGap;
    const Box area{kMargin, top, width, foot.y - kBandGap - top};

    auto addPages = [&](int perPageOfKind, bool solutionPages, double labelHeight) {
        const Arrangement a = Arrange(perPageOfKind, area, labelHeight);
        if (a.side <= 0) return false;
        const double slotWidth = (area.width - kGap * (a.columns - 1)) / a.columns;
        const double slotHeight = (area.height - kGap * (a.rows - 1)) / a.rows;
        for (int first = 0; first < count; first += perPageOfKind) {
            Page page;
            page.number = static_cast<int>(pages.size()) + 1;
            page.solutions = solutionPages;
            page.heading = heading;
            page.foot = foot;
            for (int i = 0; i < perPageOfKind && first + i < count; ++i) {
                const double slotX = area.x + (i % a.columns) * (slotWidth + kGap);
                const double slotY = area.y + (i / a.columns) * (slotHeight + kGap);
                const double x = slotX + (slotWidth - a.side) / 2;
                const double y = slotY + (slotHeight - labelHeight - a.side) / 2;
                page.grids.push_back({first + i,
                                      solutionPages,
                                      {x, y, a.side, labelHeight},
                                      {x, y + labelHeight, a.side, a.side}});
            }
            pages.push_back(std::move(page));
        }
        return true;
    };
    if (!addPages(perPage, false, kLabelHeight) ||
        (solutions && !addPages(kSolutionsPerPage, true, kSolutionLabelHeight))) {
        pages.clear();
    }
    return pages;
}

}  // namespace kz::print
