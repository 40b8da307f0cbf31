// SPDX-License-Identifier: MIT
// Problem files: reading and writing the nine lines of nine comma-terminated digits.
#include "files/fileio.h"

#include <fstream>

#include "core/atomicfile.h"
#include "core/fields.h"

namespace kz {

namespace {

FileResult failure(std::string text) {
    return {false, std::move(text)};
}

// Length of the UTF-8 sequence at the start of `s`, or 0 when it is not one (overlong forms,
// surrogates and code points past U+10FFFF included).
std::size_t utf8Length(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// A picture, a program or any other binary file would otherwise read as a grid of zeros (every
// field that is not a number reads as 0) and replace the game in progress. Text is UTF-8 (ASCII
// included) without control characters other than the tab; the line ends are gone already.
bool isTextLine(std::string_view line) {
    while (!line.empty()) {
        const auto c = static_cast<unsigned char>(line.front());
        if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
        const std::size_t length = utf8Length(line);
        if (length == 0) return false;
        line.remove_prefix(length);
    }
    return true;
}

}  // namespace

FileResult ReadProblemStream(std::istream& in, ValueArray16& values) {
    // Filled apart and copied only when all 81 values are good, so a bad file never leaves a
    // half-read grid behind.
    ValueArray16 read = values;
    std::string line;
    for (int row = 1; row <= 9; ++row) {
        switch (ReadLine(in, line)) {
            case LineStatus::Ok:
                break;
            case LineStatus::End:
                return failure("the file ends before line " + std::to_string(row) +
                               "; a problem needs 9 lines");
            case LineStatus::TooLong:
                return failure("line " + std::to_string(row) + " is longer than " +
                               std::to_string(kMaxLineLength) + " characters");
            case LineStatus::Error:
                return failure("read error in line " + std::to_string(row));
        }
        if (!isTextLine(line)) {
            return failure("line " + std::to_string(row) +
                           " is not text (control characters or bytes that are not UTF-8)");
        }
        for (int column = 1; column <= 9; ++column) {
            std::int16_t value = 0;
            if (ReadIntField(line, value) != FieldStatus::Ok) {
                return failure("line " + std::to_string(row) + ", field " + std::to_string(column) +
                               ": number out of range");
            }
            if (value < 0 || value > 9) {
                return failure("line " + std::to_string(row) + ", field " + std::to_string(column) +
                               ": " + std::to_string(value) + " is not a digit 0..9");
            }
            read[9 * (row - 1) + column] = value;
        }
    }
    values = read;
    return {true, {}};
}

FileResult ReadProblemFile(const std::filesystem::path& path, ValueArray16& values) {
    // Only a regular file: a directory cannot be read, and a named pipe or a device would
    // block the window until someone writes to it.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return failure("cannot open " + path.string() + ": not a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return failure("cannot open " + path.string());
    return ReadProblemStream(in, values);
}

std::string FormatProblem(const ValueArray16& values) {
    std::string text;
    text.reserve(9 * 20);
    for (int row = 1; row <= 9; ++row) {
        std::string line;
        for (int column = 1; column <= 9; ++column) {
            AppendIntField(line, values[9 * (row - 1) + column]);
        }
        text += line;
        text += "\r\n";
    }
    return text;
}

FileResult WriteProblemFile(const std::filesystem::path& path, const ValueArray16& values) {
    std::string error;
    if (!WriteFileAtomically(path, FormatProblem(values), &error)) return failure(error);
    return {true, {}};
}

void SplitPath(std::string_view path, std::string& directory, std::string& name,
               std::string& extension) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view rest = path.substr(start);
    const std::size_t dot = rest.rfind('.');
    directory.assign(path.substr(0, start));
    if (dot == std::string_view::npos) {
        name.assign(rest);
        extension.clear();
    } else {
        name.assign(rest.substr(0, dot));
        extension.assign(rest.substr(dot));
    }
}

}  // namespace kz
