// SPDX-License-Identifier: MIT
// Atomic whole-file replacement: content, permissions, and an intact target on failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/atomicfile.h"
#include "support/tempdir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

using test::slurp;

class AtomicFile : public test::TempDirTest {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }
};

TEST_F(AtomicFile, CreatesAndReplaces) {
    const fs::path target = m_dir / "a.csv";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, "first\r\n", &error)) << error;
    EXPECT_EQ(slurp(target), "first\r\n");
    ASSERT_TRUE(WriteFileAtomically(target, std::string("x\0y", 3), &error)) << error;
    EXPECT_EQ(slurp(target), std::string("x\0y", 3));
    ASSERT_TRUE(WriteFileAtomically(target, "", &error)) << error;
    EXPECT_EQ(slurp(target), "");
    EXPECT_EQ(entries(), 1u) << "no temporary file left behind";
}

TEST_F(AtomicFile, KeepsPermissionsOfReplacedFile) {
    const fs::path target = m_dir / "b.env";
    ASSERT_TRUE(WriteFileAtomically(target, "1"));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteFileAtomically(target, "2"));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFile, WritesThroughSymbolicLink) {
    fs::create_directory(m_dir / "real");
    const fs::path real = m_dir / "real" / "p.csv";
    ASSERT_TRUE(WriteFileAtomically(real, "old"));
    const fs::path link = m_dir / "link.csv";
    fs::create_symlink(fs::path("real") / "p.csv", link);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(real), "new");
}

TEST_F(AtomicFile, KeepsReadOnlyFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    const fs::path target = m_dir / "ro.csv";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    fs::permissions(target, fs::perms::owner_read);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, "new", &error));
    EXPECT_NE(error.find("ro.csv"), std::string::npos) << error;
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFile, RelativeNameGoesToCurrentDirectory) {
    const fs::path before = fs::current_path();
    fs::current_path(m_dir);
    const bool ok = WriteFileAtomically("rel.env", "r\r\n");
    fs::current_path(before);
    ASSERT_TRUE(ok);
    EXPECT_EQ(slurp(m_dir / "rel.env"), "r\r\n");
}

TEST_F(AtomicFile, FailuresReportAndLeaveTargetIntact) {
    const fs::path target = m_dir / "keep.csv";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));

    fs::create_directory(m_dir / "sub");
    struct Case {
        const char* name;
        fs::path path;
    } cases[] = {
        {"missing directory", m_dir / "no" / "such" / "dir.csv"},
        {"target is a directory", m_dir / "sub"},  // fails at the rename, after writing
        {"no file name", fs::path()},
        {"file system refuses new files", "/proc/kz_atomic_test.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(c.path, "new", &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(entries(), 2u) << "temporary file left behind";

    if (::geteuid() != 0) {  // root writes anywhere
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(target, "new", &error));
        EXPECT_NE(error.find("keep.csv"), std::string::npos) << error;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        EXPECT_EQ(slurp(target), "old");
        EXPECT_EQ(entries(), 2u);
    }
}

TEST_F(AtomicFile, SavesNamesUpToTheFileSystemLimit) {
    // 80 three-byte characters and ".csv", and a name of the full 255 bytes.
    std::string japanese;
    for (int i = 0; i < 80; ++i) japanese += "\xE5\x95\x8F";
    for (const std::string& name : {japanese + ".csv", std::string(251, 'n') + ".csv"}) {
        SCOPED_TRACE(name.size());
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(m_dir / name, "long\r\n", &error)) << error;
        EXPECT_EQ(slurp(m_dir / name), "long\r\n");
    }
    EXPECT_EQ(entries(), 2u);
}

// A pid no process has any more: a child that has exited and been reaped.
pid_t goneProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST_F(AtomicFile, SaveRemovesTemporariesOfWritersThatAreGone) {
    const fs::path target = m_dir / "t.csv";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const std::string gone = std::to_string(goneProcess());
    const std::string alive = std::to_string(::getppid());
    // Ours, and the target's own in the longer form of earlier versions.
    const std::string stale[] = {".kz-" + gone + "-0.tmp", ".kz-" + gone + "-17.tmp",
                                 ".t.csv.tmp" + gone + "-2-0"};
    // A live writer's file, and names that are not ours, stay.
    const std::string kept[] = {".kz-" + alive + "-3.tmp", ".kz-" + gone + ".tmp",
                                ".kz-" + gone + "-x.tmp",  "kz-" + gone + "-0.tmp",
                                ".t.csv.tmp" + gone,       ".u.csv.tmp" + gone + "-2-0"};
    for (const auto& name : stale) std::ofstream(m_dir / name) << "half";
    for (const auto& name : kept) std::ofstream(m_dir / name) << "other";

    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(slurp(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    for (const auto& name : stale) EXPECT_FALSE(fs::exists(m_dir / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(m_dir / name)) << name;
}

}  // namespace
}  // namespace kz
