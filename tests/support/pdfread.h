// SPDX-License-Identifier: MIT
// A PDF file read back as a user's tools see it, through Poppler's command-line tools
// (poppler-utils): the page count, the text in a box of a page, the pictures, and a page
// rendered in grey. Boxes are in points from the page's top-left corner, as the layout gives
// them.
#pragma once

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kz::test {

/// What a command printed on standard output; standard error is dropped.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

inline std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

/// The pages pdfinfo counts; 0 when it cannot read the file.
inline int pdfPageCount(const std::filesystem::path& pdf) {
    std::istringstream info(commandOutput("pdfinfo " + quoted(pdf)));
    for (std::string line; std::getline(info, line);) {
        if (line.rfind("Pages:", 0) == 0) return std::stoi(line.substr(6));
    }
    return 0;
}

/// The digits 1-9 of the text inside a box of page `page` (1-based), in reading order.
inline std::string pdfDigitsIn(const std::filesystem::path& pdf, int page, double x, double y,
                               double width, double height) {
    // At 72 dpi pdftotext's crop box is in points.
    const std::string text = commandOutput(
        "pdftotext -layout -r 72 -f " + std::to_string(page) + " -l " + std::to_string(page) +
        " -x " + std::to_string(static_cast<int>(x)) + " -y " +
        std::to_string(static_cast<int>(y)) + " -W " + std::to_string(static_cast<int>(width)) +
        " -H " + std::to_string(static_cast<int>(height)) + " " + quoted(pdf) + " -");
    std::string digits;
    for (char c : text) {
        if (c >= '1' && c <= '9') digits += c;
    }
    return digits;
}

/// All the text of the file.
inline std::string pdfText(const std::filesystem::path& pdf) {
    return commandOutput("pdftotext " + quoted(pdf) + " -");
}

/// A picture as pdfimages lists it: its kind ("image", or "smask" for a picture's
/// transparency) and its horizontal resolution on the page.
struct PdfImage {
    std::string type;
    int xPpi = 0;
};

inline std::vector<PdfImage> pdfImages(const std::filesystem::path& pdf) {
    std::istringstream list(commandOutput("pdfimages -list " + quoted(pdf)));
    std::vector<PdfImage> images;
    std::string line;
    std::getline(list, line);  // two lines of column headings
    std::getline(list, line);
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string x; fields >> x;) f.push_back(x);
        if (f.size() >= 13) images.push_back({f[2], std::stoi(f[12])});
    }
    return images;
}

/// One page rendered in grey, one pixel a point.
struct GreyPage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
    int at(double x, double y) const {
        const int px = static_cast<int>(x);
        const int py = static_cast<int>(y);
        if (px < 0 || py < 0 || px >= width || py >= height) return -1;
        return pixels[static_cast<std::size_t>(py) * width + px];
    }
};

inline GreyPage pdfGreyPage(const std::filesystem::path& pdf, int page) {
    const std::string pgm = commandOutput("pdftoppm -gray -r 72 -f " + std::to_string(page) +
                                          " -l " + std::to_string(page) + " " + quoted(pdf));
    GreyPage grey;
    std::istringstream in(pgm);
    std::string magic;
    int maxValue = 0;
    in >> magic >> grey.width >> grey.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255) return {};
    grey.pixels.resize(static_cast<std::size_t>(grey.width) * grey.height);
    in.read(reinterpret_cast<char*>(grey.pixels.data()),
            static_cast<std::streamsize>(grey.pixels.size()));
    return grey;
}

/// True when Poppler's tools are all there; scripts/deps.sh installs them.
inline bool havePoppler() {
    std::istringstream found(
        commandOutput("for t in pdftotext pdftoppm pdfimages pdfinfo; do command -v $t; done"));
    int tools = 0;
    for (std::string line; std::getline(found, line);) ++tools;
    return tools == 4;
}
inline constexpr char kNoPoppler[] = "poppler-utils is not installed: run scripts/deps.sh";

}  // namespace kz::test
