// SPDX-License-Identifier: MIT
// Problem files: reading and writing the nine lines of nine comma-terminated digits.
#include "files/fileio.h"

#include <fstream>

#include "core/atomicfile.h"
#include "core/fields.h"
#include "files/textline.h"

namespace kz {

namespace {

FileResult failure(std::string text) {
    return {false, std::move(text)};
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
        // A picture, a program or any other binary file would otherwise read as a grid of
        // zeros (every field that is not a number reads as 0) and replace the game in progress.
        if (!IsTextLine(line)) {
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
