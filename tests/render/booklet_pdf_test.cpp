// SPDX-License-Identifier: MIT
// Booklets written as PDF and read back with Poppler's tools, as a reader's program sees
// them: as many pages as the layout says, each grid's digits as text where the layout puts
// the grid, the grid's lines on the rendered page, and tiles as pictures at print resolution.
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QPageSize>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "print/layout.h"
#include "render/pagepainter.h"
#include "support/pdfread.h"
#include "support/tempdir.h"

namespace kz::render {
namespace {

class BookletPdfTest : public test::TempDirTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_render";
        static char* argv[] = {name, nullptr};
        if (QGuiApplication::instance() == nullptr) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            s_app = std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    // Gone before the statics it leans on are.
    static void TearDownTestSuite() { s_app.reset(); }

    // The first puzzles of a public set, rated and solved.
    static print::Booklet booklet(int count, int perPage, bool solutions, bool tiles) {
        print::Booklet b;
        std::ifstream in(std::string(KZ_TEST_DATA_DIR) + "/royle_17clue_sample200.txt");
        for (std::string line; std::getline(in, line) && b.puzzles.size() < std::size_t(count);) {
            logic::Digits givens{};
            for (int c = 0; c < 81; ++c) givens[c] = line[c] == '.' ? 0 : line[c] - '0';
            b.puzzles.push_back(print::RatedEntry(givens).value());
        }
        b.perPage = perPage;
        b.solutions = solutions;
        b.tiles = tiles;
        b.title = print::TitleFor(b.puzzles);
        b.origin = "seed 1";
        return b;
    }

    static std::string digitsOf(const logic::Digits& digits) {
        std::string s;
        for (int d : digits) {
            if (d != 0) s += static_cast<char>('0' + d);
        }
        return s;
    }

    static inline std::unique_ptr<QGuiApplication> s_app;
};

TEST_F(BookletPdfTest, PagesTextAndGridLinesAreWhereTheLayoutPutsThem) {
    ASSERT_TRUE(test::havePoppler()) << test::kNoPoppler;
    constexpr int kCount = 13;
    const print::Size a4{QPageSize(QPageSize::A4).sizePoints().width() * 1.0,
                         QPageSize(QPageSize::A4).sizePoints().height() * 1.0};
    for (int perPage : print::kPerPageChoices) {
        SCOPED_TRACE(std::to_string(perPage) + " a page");
        const print::Booklet b = booklet(kCount, perPage, true, false);
        const auto pdf = m_dir / ("booklet" + std::to_string(perPage) + ".pdf");
        std::string error;
        ASSERT_TRUE(WriteBookletPdf(pdf, b, QPageSize(QPageSize::A4), &error)) << error;
        const std::vector<print::Page> pages = print::LayoutPages(kCount, perPage, true, a4);
        ASSERT_EQ(test::pdfPageCount(pdf), static_cast<int>(pages.size()));
        // Numerals stay text and lines: no picture anywhere.
        EXPECT_TRUE(test::pdfImages(pdf).empty());
        for (const print::Page& page : pages) {
            for (const print::Slot& slot : page.grids) {
                const print::Entry& e = b.puzzles[static_cast<std::size_t>(slot.puzzle)];
                const print::Box& g = slot.grid;
                EXPECT_EQ(test::pdfDigitsIn(pdf, page.number, g.x, g.y, g.width, g.height),
                          digitsOf(slot.solution ? e.solution : e.givens))
                    << "page " << page.number << ", puzzle " << slot.puzzle + 1;
            }
        }
        const test::GreyPage grey = test::pdfGreyPage(pdf, 1);
        ASSERT_GT(grey.width, 0);
        for (const print::Slot& slot : pages.front().grids) {
            const print::Entry& e = b.puzzles[static_cast<std::size_t>(slot.puzzle)];
            const double step = slot.grid.width / 9;
            for (int i = 0; i < 9; ++i) {
                const double across = (i + 0.5) * step;
                // The outer lines are dark, the paper just outside them white.
                EXPECT_LT(grey.at(slot.grid.x + 0.5, slot.grid.y + across), 128);
                EXPECT_LT(grey.at(slot.grid.x + across, slot.grid.bottom() - 0.5), 128);
                EXPECT_GT(grey.at(slot.grid.x - 3, slot.grid.y + across), 200);
                EXPECT_GT(grey.at(slot.grid.right() + 3, slot.grid.y + across), 200);
                // An empty cell is blank paper in the middle.
                for (int col = 0; col < 9; ++col) {
                    if (e.givens[i * 9 + col] == 0) {
                        EXPECT_GT(grey.at(slot.grid.x + (col + 0.5) * step, slot.grid.y + across),
                                  200);
                    }
                }
            }
        }
    }
}

TEST_F(BookletPdfTest, TilesArePicturesAtPrintResolution) {
    ASSERT_TRUE(test::havePoppler()) << test::kNoPoppler;
    const auto pdf = m_dir / "tiles.pdf";
    std::string error;
    ASSERT_TRUE(
        WriteBookletPdf(pdf, booklet(3, 2, false, true), QPageSize(QPageSize::Letter), &error))
        << error;
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    // A grid's digits are no text now; the page still names the puzzles.
    EXPECT_NE(test::pdfText(pdf).find("No.3"), std::string::npos);
    int images = 0;
    for (const test::PdfImage& image : test::pdfImages(pdf)) {
        if (image.type == "smask") continue;  // the tile's transparency, listed apart
        ++images;
        EXPECT_GE(image.xPpi, 250);
    }
    // 17 givens a puzzle, each drawn as a picture.
    EXPECT_GE(images, 3 * 17);
}

}  // namespace
}  // namespace kz::render
