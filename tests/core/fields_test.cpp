// SPDX-License-Identifier: MIT
// Field splitting, the numeric rule of ReadIntField, and the bounded line reader.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "core/fields.h"

namespace kz {
namespace {

TEST(Fields, SplitField) {
    struct Case {
        std::string line, field, rest;
    } cases[] = {
        {"5,3,", "5", "3,"},
        {"5", "5", ""},
        {",7", "", "7"},
        {"9,", "9", ""},
        {"", "", ""},
        {"  7  ,x", "7", "x"},
        {"\"7\",", "7", ""},
        {"\"\"", "", ""},
        {"\"", "\"", ""},
        {"\"\"7\"\",", "\"7\"", ""},  // only the outer pair goes
        {"\"a,b\"", "\"a", "b\""},    // quotes do not protect a comma
        {" \" 7 \" ,", " 7 ", ""},
        {"\t7,", "\t7", ""},  // only U+0020 is trimmed
    };
    for (const auto& c : cases) {
        std::string field = "old", rest = "old";
        SplitField(c.line, field, rest);
        EXPECT_EQ(field, c.field) << "line [" << c.line << "]";
        EXPECT_EQ(rest, c.rest) << "line [" << c.line << "]";
    }
}

TEST(Fields, ReadIntFieldNumericRule) {
    struct Case {
        const char* field;
        FieldStatus status;
        std::int16_t value;
    } cases[] = {
        {"7", FieldStatus::Ok, 7},
        {" 7 ", FieldStatus::Ok, 7},
        {"\"7\"", FieldStatus::Ok, 7},
        {"\" 7 \"", FieldStatus::Ok, 7},
        {"\"\"", FieldStatus::Ok, 0},
        {"", FieldStatus::Ok, 0},
        {"a", FieldStatus::Ok, 0},
        {"7a", FieldStatus::Ok, 0},
        {"2.5", FieldStatus::Ok, 2},
        {"3.5", FieldStatus::Ok, 4},
        {"-2.5", FieldStatus::Ok, -2},
        {"-3.5", FieldStatus::Ok, -4},
        {"2.51", FieldStatus::Ok, 3},
        {"2.500001", FieldStatus::Ok, 3},
        {"2.49999", FieldStatus::Ok, 2},
        {"0.5", FieldStatus::Ok, 0},
        {".5", FieldStatus::Ok, 0},
        {".6", FieldStatus::Ok, 1},
        {"5.", FieldStatus::Ok, 5},
        {".", FieldStatus::Ok, 0},
        {"+5", FieldStatus::Ok, 5},
        {"-", FieldStatus::Ok, 0},
        {"+", FieldStatus::Ok, 0},
        {"--5", FieldStatus::Ok, 0},
        {"1.2.3", FieldStatus::Ok, 0},
        {"1 2", FieldStatus::Ok, 0},
        {"1e3", FieldStatus::Ok, 0},
        {"0x10", FieldStatus::Ok, 0},
        {"$5", FieldStatus::Ok, 0},
        {"&H10", FieldStatus::Ok, 0},
        {"007", FieldStatus::Ok, 7},
        {"-0", FieldStatus::Ok, 0},
        {"32767", FieldStatus::Ok, 32767},
        {"-32768", FieldStatus::Ok, -32768},
        {"32767.4", FieldStatus::Ok, 32767},
        {"-32768.5", FieldStatus::Ok, -32768},  // half to even stays in range
        {"32768", FieldStatus::OutOfRange, 0},
        {"-32769", FieldStatus::OutOfRange, 0},
        {"32767.5", FieldStatus::OutOfRange, 0},  // rounds to 32768
        {"-32768.6", FieldStatus::OutOfRange, 0},
        {"99999999999999999999", FieldStatus::OutOfRange, 0},
        {"0000000000000000000012", FieldStatus::Ok, 12},
    };
    for (const auto& c : cases) {
        std::string line = std::string(c.field) + ",next";
        std::int16_t value = 1234;
        EXPECT_EQ(ReadIntField(line, value), c.status) << "field [" << c.field << "]";
        EXPECT_EQ(value, c.status == FieldStatus::Ok ? c.value : 1234)
            << "field [" << c.field << "]";
        EXPECT_EQ(line, "next");
    }
}

std::vector<std::int16_t> readNine(std::string line) {
    std::vector<std::int16_t> values;
    for (int i = 0; i < 9; ++i) {
        std::int16_t v = -1;
        EXPECT_EQ(ReadIntField(line, v), FieldStatus::Ok);
        values.push_back(v);
    }
    return values;
}

TEST(Fields, WalkingALine) {
    using V = std::vector<std::int16_t>;
    EXPECT_EQ(readNine("5,3"), (V{5, 3, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(readNine(""), V(9, 0));
    EXPECT_EQ(readNine("1,2,3,4,5,6,7,8,9,10,11,"), (V{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(readNine("\"1,2\",3"), (V{0, 0, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(readNine(",,4"), (V{0, 0, 4, 0, 0, 0, 0, 0, 0}));
}

TEST(Fields, AppendIntFieldRoundTrips) {
    std::string line;
    AppendIntField(line, 5);
    AppendIntField(line, -3);
    EXPECT_EQ(line, "5,-3,");
    AppendIntField(line, 32767);
    AppendIntField(line, -32768);
    AppendIntField(line, 0);
    EXPECT_EQ(line, "5,-3,32767,-32768,0,");
    std::int16_t v = 0;
    for (std::int16_t expected : {5, -3, 32767, -32768, 0}) {
        ASSERT_EQ(ReadIntField(line, v), FieldStatus::Ok);
        EXPECT_EQ(v, expected);
    }
    EXPECT_TRUE(line.empty());
}

std::vector<std::string> allLines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    std::string line;
    LineStatus status;
    while ((status = ReadLine(in, line)) == LineStatus::Ok) lines.push_back(line);
    EXPECT_EQ(status, LineStatus::End);
    EXPECT_EQ(ReadLine(in, line), LineStatus::End) << "End repeats";
    return lines;
}

TEST(Fields, ReadLineEndings) {
    using L = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string text;
        L lines;
    } cases[] = {
        {"empty stream", "", {}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"empty lines", "\r\n\n\r", {"", "", ""}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"mixed", "a\r\r\nb\nc", {"a", "", "b", "c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(allLines(c.text), c.lines);
    }
}

TEST(Fields, ReadLineCap) {
    // Exactly at the cap is fine; one more character fails without consuming the rest.
    std::istringstream exact(std::string(8, 'x') + "\r\nnext");
    std::string line;
    EXPECT_EQ(ReadLine(exact, line, 8), LineStatus::Ok);
    EXPECT_EQ(line, std::string(8, 'x'));

    const std::string big(1 << 20, '7');  // 1 MB, no line end
    std::istringstream in(big);
    EXPECT_EQ(ReadLine(in, line, 8), LineStatus::TooLong);
    EXPECT_LE(line.size(), 8u);
    EXPECT_LE(in.tellg(), std::streampos(9)) << "read past the cap";

    std::istringstream def(big);
    EXPECT_EQ(ReadLine(def, line), LineStatus::TooLong);
    EXPECT_LE(static_cast<std::size_t>(def.tellg()), kMaxLineLength + 1);
}

TEST(Fields, ReadLineOnFailedStream) {
    std::istringstream in("abc");
    in.setstate(std::ios::failbit);
    std::string line = "stale";
    EXPECT_EQ(ReadLine(in, line), LineStatus::Error);
    EXPECT_TRUE(line.empty());
}

}  // namespace
}  // namespace kz
