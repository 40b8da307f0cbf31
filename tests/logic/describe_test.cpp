// SPDX-License-Identifier: MIT
// Steps in words: the sentences of a few steps verbatim, and along whole paths that every
// sentence names its technique and every cell it changes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "logic/describe.h"
#include "logic/solver.h"
#include "tests/logic/logic_support.h"

namespace kz::logic {
namespace {

Step Make(Technique t, std::vector<std::int8_t> cells, std::vector<std::int8_t> units,
          std::vector<std::int8_t> digits, std::vector<Placement> placements,
          std::vector<Elimination> eliminations, std::string chain = {}) {
    return Step{t,
                std::move(cells),
                std::move(units),
                std::move(digits),
                std::move(placements),
                std::move(eliminations),
                std::move(chain)};
}

TEST(Describe, SentencesInBothLanguages) {
    struct Case {
        Step step;
        const char* english;
        const char* japanese;
    };
    const Case cases[] = {
        {Make(Technique::HiddenSingle, {38}, {21}, {7}, {{38, 7}}, {}),
         "Hidden Single: in box 4, 7 can only go in r5c3",
         "ヒドゥンシングル: ブロック4で7が入るのは5行3列だけです"},
        {Make(Technique::FullHouse, {8}, {0}, {9}, {{8, 9}}, {}),
         "Full House: r1c9 is the last open cell in row 1, so r1c9 is 9",
         "フルハウス: 1行で空いているのは1行9列だけです。1行9列に9が入ります"},
        {Make(Technique::NakedPair, {0, 4}, {0}, {3, 7}, {}, {{2, 3}, {2, 7}, {8, 7}}),
         "Naked Pair: r1c1 and r1c5 hold only 3 and 7 in row 1, so remove 3 from r1c3; 7 from "
         "r1c3 and r1c9",
         "ネイキッドペア: 1行の1行1列・1行5列には3と7しか入りません。1行3列から3を、1行3列・1行"
         "9列から7を除きます"},
        {Make(Technique::XWing, {1, 6, 28, 33}, {0, 3, 10, 15}, {5}, {}, {{10, 5}, {15, 5}}),
         "X-Wing: in rows 1 and 4, 5 lies only in columns 2 and 7, so remove 5 from r2c2 and r2c7",
         "X-ウィング: 1行・4行の5は2列・7列にしかありません。2行2列・2行7列から5を除きます"},
        // Every cell of a bent wing is named, not just a pivot and two pincers.
        {Make(Technique::WXYZWing, {0, 1, 11, 6}, {}, {1, 2, 3, 4}, {}, {{2, 4}}),
         "WXYZ-Wing: pivot r1c1 with r1c2, r2c3 and r1c7 hold only 1, 2, 3 and 4 between them, "
         "each digit but 4 at most once: one of them is 4, so remove 4 from r1c3",
         "WXYZ-ウィング: 軸1行1列と1行2列・2行3列・1行7列には1・2・3・4しか入らず、4以外の数字は"
         "それぞれ一度しか入らないので、どれかが4です。1行3列から4を除きます"},
        {Make(Technique::XChain, {1, 6, 33, 28}, {}, {5}, {}, {{10, 5}}, "(5)r1c2=r1c7-r4c7=r4c2"),
         "X-Chain: (5)r1c2=r1c7-r4c7=r4c2, so remove 5 from r2c2",
         "X-チェーン: (5)r1c2=r1c7-r4c7=r4c2。2行2列から5を除きます"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(c.step, Lang::English), c.english);
        EXPECT_EQ(Describe(c.step, Lang::Japanese), c.japanese);
    }
}

TEST(Describe, EverySentenceNamesItsTechniqueAndWhatItChanges) {
    for (const Digits& board : test::ReadSet("magictour_top1465.txt", 40)) {
        Path path;
        Rate(board, &path);
        for (const Step& step : path.steps) {
            for (Lang lang : {Lang::English, Lang::Japanese}) {
                const std::string text = Describe(step, lang);
                const TechniqueInfo& info = Info(step.technique);
                EXPECT_EQ(
                    text.rfind(
                        std::string(lang == Lang::English ? info.english : info.japanese) + ": ",
                        0),
                    0u)
                    << text;
                for (const Placement& p : step.placements) {
                    EXPECT_NE(text.find(CellName(p.cell, lang)), std::string::npos) << text;
                }
                for (const Elimination& e : step.eliminations) {
                    EXPECT_NE(text.find(CellName(e.cell, lang)), std::string::npos) << text;
                    EXPECT_NE(text.find(std::to_string(e.digit)), std::string::npos) << text;
                }
            }
        }
    }
}

// The window's texts and the manual must use one set of names.
TEST(Describe, ManualListsEveryTechniqueWithBothNamesAndItsLevel) {
    std::ifstream in(std::string(KZ_TEST_DATA_DIR) + "/../../docs/manual.html");
    std::stringstream manual;
    manual << in.rdbuf();
    ASSERT_FALSE(manual.str().empty());
    for (int t = 0; t < kTechniqueCount; ++t) {
        const TechniqueInfo& info = Info(static_cast<Technique>(t));
        const std::string row = "<tr><td>" + std::string(info.japanese);
        const std::size_t at = manual.str().find(row);
        ASSERT_NE(at, std::string::npos) << info.english;
        const std::string line = manual.str().substr(at, manual.str().find('\n', at) - at);
        EXPECT_NE(line.find("<td>" + std::string(info.english) + "</td>"), std::string::npos)
            << line;
        EXPECT_NE(line.find(std::to_string(info.level) + " " + std::string(LevelName(info.level))),
                  std::string::npos)
            << line;
    }
}

}  // namespace
}  // namespace kz::logic
