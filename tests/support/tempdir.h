// SPDX-License-Identifier: MIT
// A fresh directory of its own for each test case, and reading a file back byte for byte.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kz::test {

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The process id and the test's own names keep parallel runs out of each other's way; a
// directory left by a crashed run of the same name is cleared first.
class TempDirTest : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("kz_" + std::string(info->test_suite_name()) + "_" + std::to_string(::getpid()) +
                 "_" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        // A test may have taken write permission away to make a write fail.
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(m_dir);
    }

    std::filesystem::path m_dir;
};

}  // namespace kz::test
