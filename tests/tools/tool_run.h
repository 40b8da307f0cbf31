// SPDX-License-Identifier: MIT
// Runs kazarinoset-solve as a user does, through the shell, and keeps what it printed.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/tempdir.h"

namespace kz::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class ToolTest : public TempDirTest {
protected:
    std::string write(const std::string& name, const std::string& text) {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // Runs the tool through the shell; `args` is pasted in as is.
    ToolRun run(const std::string& args, const std::string& input = "") {
        const auto in = write("stdin.txt", input);
        const auto err = m_dir / "stderr.txt";
        const std::string command =
            std::string(KZ_SOLVE_BIN) + " " + args + " <'" + in + "' 2>'" + err.string() + "'";
        ToolRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            result.out.append(buffer, n);
        }
        const int wait = ::pclose(pipe);
        result.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
        result.err = slurp(err);
        return result;
    }
};

}  // namespace kz::test
