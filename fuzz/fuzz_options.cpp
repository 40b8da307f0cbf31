// SPDX-License-Identifier: MIT
// Fuzzes the settings loader with arbitrary file contents: it must never fail, must agree with
// the field reader on every slot, must leave only values the dialogs can show, and what it
// saves must load back unchanged.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/fields.h"
#include "fuzz/check.h"
#include "settings/optionman.h"

namespace {

// Largest value each slot's dialog offers (all start at 0); slot 10 has no dialog.
constexpr int kSlotMax[kz::OptionMan::kSlotCount] = {15, 15, 15, 15, 1, 15, 5, 3, 8, 1, -1};

kz::OptionMan::Values expectedValues(const std::string& text) {
    kz::OptionMan::Values values = kz::OptionMan::Defaults();
    std::istringstream in(text);
    std::string line;
    if (kz::ReadLine(in, line) == kz::LineStatus::Ok) {
        for (int slot = 0; slot < kz::OptionMan::kSlotCount; ++slot) {
            std::int16_t value = 0;
            if (kz::ReadIntField(line, value) != kz::FieldStatus::Ok) break;
            values[slot] = value;
        }
    }
    const kz::OptionMan::Values defaults = kz::OptionMan::Defaults();
    for (int slot = 0; slot < kz::OptionMan::kSlotCount; ++slot) {
        if (kSlotMax[slot] >= 0 && (values[slot] < 0 || values[slot] > kSlotMax[slot])) {
            values[slot] = defaults[slot];
        }
    }
    if (values[kz::OptBlankColor] == values[kz::OptGridColor]) {
        values[kz::OptBlankColor] = defaults[kz::OptBlankColor];
        values[kz::OptGridColor] = defaults[kz::OptGridColor];
    }
    return values;
}

const std::filesystem::path& settingsPath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("kz-fuzz-options-" + std::to_string(::getpid()) + ".env");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path& path = settingsPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        KZ_FUZZ_CHECK(out.good());
    }

    kz::OptionMan options(path);
    options.LoadOptions();
    const kz::OptionMan::Values expected = expectedValues(text);
    for (int slot = 0; slot < kz::OptionMan::kSlotCount; ++slot) {
        KZ_FUZZ_CHECK(options.GetOption(slot) == expected[slot]);
    }
    KZ_FUZZ_CHECK(options.ImageSetBase() == 10 * options.GetOption(kz::OptImageKind));
    // Blank cells never take the grid's colour: the board would vanish.
    KZ_FUZZ_CHECK(options.GetOption(kz::OptBlankColor) != options.GetOption(kz::OptGridColor));

    KZ_FUZZ_CHECK(options.SaveOptions());
    kz::OptionMan reloaded(path);
    reloaded.LoadOptions();
    for (int slot = 0; slot < kz::OptionMan::kSlotCount; ++slot) {
        KZ_FUZZ_CHECK(reloaded.GetOption(slot) == options.GetOption(slot));
    }
    std::filesystem::remove(path);
    return 0;
}
