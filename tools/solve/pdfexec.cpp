// SPDX-License-Identifier: MIT
// Finding and starting the PDF writer.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/solve/pdfmode.h"

namespace kz {

int RunPdfWriter(char** argv, std::ostream& err) {
    namespace fs = std::filesystem;
    constexpr const char* kWriter = "kazarinoset-solve-pdf";
    std::vector<fs::path> places;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        places.push_back(self.parent_path() / kWriter);
        places.push_back(self.parent_path().parent_path() / "libexec" / "kazarinoset" / kWriter);
    }
    places.emplace_back(KZ_PDF_WRITER_PATH);
    int lastError = ENOENT;
    for (const fs::path& place : places) {
        ::execv(place.c_str(), argv);
        // Not there is the usual case; anything else is worth telling.
        if (errno != ENOENT) lastError = errno;
    }
    err << "kazarinoset-solve: cannot start the PDF writer " << kWriter << " (looked next to "
        << "this program and in " << KZ_PDF_WRITER_PATH << "): " << std::strerror(lastError)
        << '\n';
    return 2;
}

}  // namespace kz
