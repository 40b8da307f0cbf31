// SPDX-License-Identifier: MIT
// The settings store: eleven slots and the later fields in memory, and one line of
// comma-terminated integers on disk.
#include "settings/optionman.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "core/atomicfile.h"
#include "core/fields.h"

namespace kz {

namespace {

struct SlotRange {
    std::int16_t low;
    std::int16_t high;
};

// What the dialogs can produce for each slot. Slot 10 means nothing and is kept as found.
constexpr std::array<SlotRange, OptionMan::kSlotCount> kRanges = {{
    {0, 15},          // blank-cell colour
    {0, 15},          // problem colour
    {0, 15},          // conflict colour
    {0, 15},          // answer colour
    {0, 1},           // automatic check
    {0, 15},          // grid colour
    {0, 5},           // variant placement
    {0, 3},           // variant digit transform
    {0, 8},           // variant shift
    {0, 1},           // picture kind
    {-32768, 32767},  // reserved
}};

constexpr std::array<SlotRange, OptionMan::kLaterCount> kExtraRanges = {{
    {1, 6},                // new-problem level
    {0, kNewSymmetryMax},  // new-problem symmetry
    {0, 1},                // tidy notes
    {0, 1},                // highlight the selected digit
    {0, 1},                // show the clock
    {0, 1},                // notes by the right button, tiles by the keys
    {kDisplayScales.front(), kDisplayScales.back()},  // display scale, further checked below
}};

}  // namespace

std::filesystem::path OptionMan::SettingsFileFor(std::string_view programPath) {
    // Both separators: the program may be started by a Unix path or a Windows-style one.
    const std::size_t slash = programPath.find_last_of("/\\");
    std::string_view name =
        slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::filesystem::path(std::string(name) + ".env");
}

std::filesystem::path OptionMan::SettingsPath(std::string_view programPath,
                                              const std::filesystem::path& currentDir,
                                              const char* xdgConfigHome, const char* home) {
    const std::filesystem::path name = SettingsFileFor(programPath);
    std::error_code ec;
    if (std::filesystem::exists(currentDir / name, ec)) return name;
    const auto absolute = [](const char* value) {
        return value != nullptr && *value != '\0' && std::filesystem::path(value).is_absolute();
    };
    if (absolute(xdgConfigHome)) return std::filesystem::path(xdgConfigHome) / "kazarinoset" / name;
    if (absolute(home)) return std::filesystem::path(home) / ".config" / "kazarinoset" / name;
    return name;
}

OptionMan::OptionMan(std::filesystem::path file, bool makeFolder)
    : m_file(std::move(file)), m_makeFolder(makeFolder) {}

OptionMan::Values OptionMan::Defaults() {
    return {15, 14, 12, 11, 0, 0, 0, 0, 0, 0, 0};
}

OptionMan::LaterFields OptionMan::LaterDefaults() {
    return {2, 1, 1, 0, 0, 0, kDisplayScales.front()};
}

OptionMan::Extras OptionMan::ExtraDefaults() {
    const LaterFields later = LaterDefaults();
    return {later[0], later[1]};
}

void OptionMan::LoadOptions() {
    const Values defaults = Defaults();
    m_values = defaults;
    m_extras = LaterDefaults();

    // A missing, unreadable or empty file, one that is not a regular file (a named pipe would
    // block start-up), or a first line past the cap, leaves the defaults.
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(m_file, ec);
    std::ifstream in;
    if (regular) in.open(m_file, std::ios::binary);
    std::string line;
    if (regular && in && ReadLine(in, line) == LineStatus::Ok) {
        bool complete = true;
        for (int slot = 0; slot < kSlotCount && complete; ++slot) {
            std::int16_t value = 0;
            // An out-of-range number ends the read; it and the slots after it keep defaults.
            complete = ReadIntField(line, value) == FieldStatus::Ok;
            if (complete) m_values[slot] = value;
        }
        // Unlike the eleven, a later field the line does not reach keeps its default: a file
        // written before the field existed must not read as a choice of 0.
        for (int field = 0; field < kLaterCount && complete && !line.empty(); ++field) {
            std::int16_t value = 0;
            complete = ReadIntField(line, value) == FieldStatus::Ok;
            if (complete) m_extras[field] = value;
        }
    }

    // Only a hand-edited file brings values the dialogs cannot show; the default is the one
    // value each slot is sure to have a meaning for.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (m_values[slot] < kRanges[slot].low || m_values[slot] > kRanges[slot].high) {
            m_values[slot] = defaults[slot];
        }
    }
    // Blank cells in the grid colour vanish into the grid, and the board with them; the
    // dialog refuses that pair, so a file bringing it gets the pair the program starts with.
    if (m_values[OptBlankColor] == m_values[OptGridColor]) {
        m_values[OptBlankColor] = defaults[OptBlankColor];
        m_values[OptGridColor] = defaults[OptGridColor];
    }
    const LaterFields extraDefaults = LaterDefaults();
    for (int field = 0; field < kLaterCount; ++field) {
        if (m_extras[field] < kExtraRanges[field].low ||
            m_extras[field] > kExtraRanges[field].high) {
            m_extras[field] = extraDefaults[field];
        }
    }
    // Between the smallest and the largest scale only the offered ones have a menu item.
    if (std::find(kDisplayScales.begin(), kDisplayScales.end(), m_extras[ExtDisplayScale]) ==
        kDisplayScales.end()) {
        m_extras[ExtDisplayScale] = extraDefaults[ExtDisplayScale];
    }
    m_imageSetBase = static_cast<std::int16_t>(10 * m_values[OptImageKind]);
}

bool OptionMan::SaveOptions() const {
    std::string line;
    for (std::int16_t value : m_values) AppendIntField(line, value);
    const LaterFields defaults = LaterDefaults();
    int written = kLaterCount;
    while (written > 0 && m_extras[written - 1] == defaults[written - 1]) --written;
    for (int field = 0; field < written; ++field) AppendIntField(line, m_extras[field]);
    line += "\r\n";
    std::string error;
    const std::filesystem::path folder = m_file.parent_path();
    std::error_code ec;
    if (m_makeFolder && !folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        // Made one level at a time, each the player's alone.
        for (std::filesystem::path part; const auto& piece : folder) {
            part /= piece;
            if (std::filesystem::create_directory(part, ec)) {
                std::filesystem::permissions(part, std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::replace, ec);
            } else if (ec) {
                error = "cannot create the folder " + part.string() + ": " + ec.message();
                break;
            }
        }
    }
    if (error.empty() && WriteFileAtomically(m_file, line, &error)) return true;
    if (m_saveFailed) m_saveFailed(m_file.string() + ": " + error);
    return false;
}

std::int16_t OptionMan::GetOption(int slot) const {
    return m_values.at(slot);
}

void OptionMan::SetOption(int slot, std::int16_t value) {
    m_values.at(slot) = value;
}

std::int16_t OptionMan::GetExtra(int field) const {
    return m_extras.at(field);
}

void OptionMan::SetExtra(int field, std::int16_t value) {
    m_extras.at(field) = value;
}

}  // namespace kz
