// SPDX-License-Identifier: MIT
// Problem files: the exact bytes written, what the reader accepts, and that a bad file
// leaves the grid alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/fields.h"
#include "files/fileio.h"
#include "support/tempdir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

using test::slurp;

ValueArray16 parse(std::string_view text) {
    ValueArray16 v{};
    for (int n = 1; n <= kCellCount; ++n) {
        const char c = text[n - 1];
        v[n] = (c >= '1' && c <= '9') ? static_cast<std::int16_t>(c - '0') : 0;
    }
    return v;
}

// A recognisable grid the failure cases must leave untouched.
ValueArray16 sentinel() {
    ValueArray16 v{};
    for (int n = 0; n < kArraySize; ++n) v[n] = static_cast<std::int16_t>(n % 9 + 1);
    return v;
}

std::string nineLines(const std::string& line, const std::string& end) {
    std::string text;
    for (int i = 0; i < 9; ++i) text += line + end;
    return text;
}

const std::string kZeroLine = "0,0,0,0,0,0,0,0,0,";

TEST(ProblemFormat, EmptyGridBytes) {
    const std::string text = FormatProblem(ValueArray16{});
    EXPECT_EQ(text, nineLines(kZeroLine, "\r\n"));
    EXPECT_EQ(text.size(), 180u);
}

TEST(ProblemFormat, RowsInCellOrder) {
    ValueArray16 v{};
    v[1] = 5;
    v[2] = 3;
    v[5] = 7;
    v[81] = 9;
    const std::string text = FormatProblem(v);
    EXPECT_EQ(text.substr(0, 20), "5,3,0,0,7,0,0,0,0,\r\n");
    EXPECT_EQ(text.substr(160), "0,0,0,0,0,0,0,0,9,\r\n");
}

struct ReadCase {
    const char* name;
    std::string text;
    bool ok;
    std::string expected;  // 81 digits when ok
};

TEST(ProblemRead, AcceptedForms) {
    const std::string puzzle =
        "530070000600195000098000060800060003400803001700020006060000280000419005000080079";
    const std::string rows = FormatProblem(parse(puzzle));
    auto withEnds = [&](const std::string& end) {
        std::string t;
        for (int r = 0; r < 9; ++r) t += rows.substr(20 * r, 18) + end;
        return t;
    };
    std::string noFinal = rows;
    noFinal.resize(noFinal.size() - 2);
    std::string quirky = "5,3,\r\n" + std::string("\r\n") + "1,2,3,4,5,6,7,8,9,10,11,\r\n" +
                         " 4 ,\"5\",x,2.5,3.5,,,,\r\n" + "1,2,3,4,5,6,7,8,9\r\n" +
                         nineLines("", "\r\n").substr(0, 8) + "trailing text\r\n99,99,99\r\n";
    // Text that is not a number reads as 0: tabs, UTF-8 (with a byte-order mark) and, after
    // line 9, anything at all.
    const std::string zeros(81, '0');
    const std::string text = "\xEF\xBB\xBF\t\xE5\x95\x8F\xE9\xA1\x8C,\xF0\x9F\x80\x99\r\n" +
                             nineLines(kZeroLine, "\r\n").substr(20) + std::string("\0\x89\xFF", 3);
    const ReadCase cases[] = {
        {"CR LF", withEnds("\r\n"), true, puzzle},
        {"tabs, UTF-8 text, binary after line 9", text, true, zeros},
        {"lone CR", withEnds("\r"), true, puzzle},
        {"lone LF", withEnds("\n"), true, puzzle},
        {"no final line end", noFinal, true, puzzle},
        {"short, empty, long and odd lines; text after line 9", quirky, true,
         "530000000"
         "000000000"
         "123456789"
         "450240000"
         "123456789"
         "000000000"
         "000000000"
         "000000000"
         "000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.text);
        ValueArray16 v = sentinel();
        const FileResult r = ReadProblemStream(in, v);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_TRUE(r.error.empty());
        EXPECT_EQ(v[0], sentinel()[0]) << "entry 0 is not touched";
        for (int n = 1; n <= kCellCount; ++n) EXPECT_EQ(v[n], c.expected[n - 1] - '0') << n;
    }
}

TEST(ProblemRead, FailuresLeaveGridUnchanged) {
    std::string badValueLast = nineLines(kZeroLine, "\r\n");
    badValueLast.replace(badValueLast.size() - 4, 1, "10");  // cell 81
    const ReadCase cases[] = {
        {"empty file", "", false, ""},
        {"eight lines", nineLines(kZeroLine, "\r\n").substr(0, 160), false, ""},
        {"value 10 in the last cell", badValueLast, false, ""},
        {"negative value", "-1," + nineLines(kZeroLine, "\r\n"), false, ""},
        {"number out of range", "40000,\r\n" + nineLines(kZeroLine, "\r\n"), false, ""},
        {"NUL byte", std::string("0,\0,\r\n", 6) + nineLines(kZeroLine, "\r\n"), false, ""},
        {"picture header", "\x89PNG\r\n\x1A\n" + nineLines(kZeroLine, "\r\n"), false, ""},
        {"program header",
         "\x7F"
         "ELF\x02\x01\r\n" +
             nineLines(kZeroLine, "\r\n"),
         false, ""},
        {"escape in line 9", nineLines(kZeroLine, "\r\n").substr(0, 160) + "\x1B[0m\r\n", false,
         ""},
        {"Shift_JIS text", "\x96\xE2\x91\xE8\r\n" + nineLines(kZeroLine, "\r\n"), false, ""},
        {"overlong UTF-8", "\xC0\xAF\r\n" + nineLines(kZeroLine, "\r\n"), false, ""},
        {"UTF-8 surrogate", "\xED\xA0\x80\r\n" + nineLines(kZeroLine, "\r\n"), false, ""},
        {"cut UTF-8 sequence", "\xE5\x95\r\n" + nineLines(kZeroLine, "\r\n"), false, ""},
        {"line over the cap",
         std::string(kMaxLineLength + 1, '0') + "\r\n" + nineLines(kZeroLine, "\r\n"), false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.text);
        ValueArray16 v = sentinel();
        const FileResult r = ReadProblemStream(in, v);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(v, sentinel());
    }
}

TEST(ProblemRead, HugeLineWithoutBreakIsNotReadWhole) {
    const std::string big(1 << 20, '1');
    std::istringstream in(big);
    ValueArray16 v = sentinel();
    EXPECT_FALSE(ReadProblemStream(in, v).ok);
    EXPECT_LE(static_cast<std::size_t>(in.tellg()), kMaxLineLength + 1);
    EXPECT_EQ(v, sentinel());
}

class ProblemFile : public test::TempDirTest {};

TEST_F(ProblemFile, RoundTripOfPublicSet) {
    std::ifstream set(fs::path(KZ_TEST_DATA_DIR) / "royle_17clue_sample200.txt");
    std::string line;
    int count = 0;
    while (std::getline(set, line) && count < 20) {
        if (line.size() < 81) continue;
        const ValueArray16 v = parse(line);
        const fs::path file = m_dir / "p.csv";
        ASSERT_TRUE(WriteProblemFile(file, v).ok);
        ValueArray16 back{};
        const FileResult r = ReadProblemFile(file, back);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(back, v) << line;
        ++count;
    }
    EXPECT_EQ(count, 20);
}

TEST_F(ProblemFile, OpenFailures) {
    ValueArray16 v = sentinel();
    for (const fs::path& p : {m_dir / "absent.csv", m_dir}) {
        const FileResult r = ReadProblemFile(p, v);
        EXPECT_FALSE(r.ok) << p;
        EXPECT_NE(r.error.find(p.string()), std::string::npos) << r.error;
    }
    EXPECT_EQ(v, sentinel());
}

TEST_F(ProblemFile, NamedPipeIsRefusedWithoutBlocking) {
    // Opening a pipe nobody writes to would wait forever.
    const fs::path pipe = m_dir / "pipe.csv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ValueArray16 v = sentinel();
    EXPECT_FALSE(ReadProblemFile(pipe, v).ok);
    EXPECT_EQ(v, sentinel());
}

TEST_F(ProblemFile, FailedWriteIsReportedAndOldFileIntact) {
    const fs::path file = m_dir / "keep.csv";
    ASSERT_TRUE(WriteProblemFile(file, ValueArray16{}).ok);
    const std::string before = slurp(file);

    const FileResult missing = WriteProblemFile(m_dir / "nodir" / "x.csv", sentinel());
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());

    fs::create_directory(m_dir / "taken.csv");
    EXPECT_FALSE(WriteProblemFile(m_dir / "taken.csv", sentinel()).ok);
    EXPECT_EQ(slurp(file), before);
}

TEST(ProblemPath, SplitPath) {
    struct Case {
        const char* path;
        const char* directory;
        const char* name;
        const char* extension;
    } cases[] = {
        {"C:\\data\\q1.csv", "C:\\data\\", "q1", ".csv"},
        {"/home/u/q1.csv", "/home/u/", "q1", ".csv"},
        {"q1.csv", "", "q1", ".csv"},
        {"q1", "", "q1", ""},
        {"a.b/c.d\\q.tar.gz", "a.b/c.d\\", "q.tar", ".gz"},
        {"/dir.x/noext", "/dir.x/", "noext", ""},
        {"/dir/", "/dir/", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string directory = "x", name = "x", extension = "x";
        SplitPath(c.path, directory, name, extension);
        EXPECT_EQ(directory, c.directory) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
        EXPECT_EQ(extension, c.extension) << c.path;
    }
}

}  // namespace
}  // namespace kz
