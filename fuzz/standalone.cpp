// SPDX-License-Identifier: MIT
// Replays saved inputs through a fuzz target without libFuzzer, so that the ordinary build
// keeps every corpus file as a regression test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replayFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A copy of exactly the input's size, so that AddressSanitizer sees any overread.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_DIRECTORY...\n", argv[0]);
        return 2;
    }
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg = argv[i];
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg, ec)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(arg);
        }
        if (ec) {
            std::fprintf(stderr, "cannot list %s: %s\n", arg.c_str(), ec.message().c_str());
            return 1;
        }
        for (const auto& file : files) {
            if (!replayFile(file)) return 1;
            ++count;
        }
    }
    std::printf("%zu inputs replayed\n", count);
    // An empty corpus would make the regression test pass without testing anything.
    return count > 0 ? 0 : 1;
}
