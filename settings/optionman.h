// SPDX-License-Identifier: MIT
// The settings store (module `OptionMan`): eleven numbered slots kept in memory and in a
// one-line settings file of comma-terminated integers, and a few later fields after them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kz {

/// Slot numbers.
enum OptionSlot : int {
    OptBlankColor = 0,    ///< enterable cell without mark, and the palette frame's fill
    OptProblemColor = 1,  ///< problem cell
    OptConflictColor = 2,
    OptAnswerColor = 3,
    OptAutoCheck = 4,  ///< 1 = refuse a clashing tile
    OptGridColor = 5,  ///< grid lines and the palette frame's border
    OptVariantPlacement = 6,
    OptVariantNumber = 7,
    OptVariantShift = 8,
    OptImageKind = 9,  ///< 0 pin tiles, 1 numerals
    OptReserved = 10,  ///< no meaning; kept and written back
};

/// Fields that follow the eleven slots on the line. They came later: a line that ends before
/// them gives their defaults, and a program that knows only the eleven slots ignores them.
enum ExtraField : int {
    ExtNewLevel = 0,      ///< the new-problem dialog's level, 1..6
    ExtNewSymmetry = 1,   ///< its symmetry: the number the generator gives it, 0..kNewSymmetryMax
    ExtTidyNotes = 2,     ///< 1 = a placement takes its digit's notes from the cells it sees
    ExtHighlight = 3,     ///< 1 = the selected tile's digit is highlighted, in cells and notes
    ExtShowClock = 4,     ///< 1 = the current game's time shows under the palette
    ExtEasyNotes = 5,     ///< 1 = the right button writes notes, the keys choose the tile
    ExtDisplayScale = 6,  ///< the window's size in percent, one of kDisplayScales
};

/// The sizes the window is offered in, in percent of its original size.
inline constexpr std::array<std::int16_t, 4> kDisplayScales = {100, 125, 150, 200};

/// The largest number of a symmetry the new-problem dialog offers (the generator numbers
/// them from 0; the window checks that they fit).
inline constexpr int kNewSymmetryMax = 4;

class OptionMan {
public:
    static constexpr int kSlotCount = 11;
    /// The new-problem dialog's two fields, the first after the eleven.
    static constexpr int kExtraCount = 2;
    /// Every field after the eleven: the dialog's two, the note options, then the clock,
    /// the right button's notes and the display scale.
    static constexpr int kLaterCount = 7;
    using Values = std::array<std::int16_t, kSlotCount>;
    using Extras = std::array<std::int16_t, kExtraCount>;
    using LaterFields = std::array<std::int16_t, kLaterCount>;

    /// The settings file of a program: its file name without directory and extension, plus
    /// ".env", relative to the current directory.
    static std::filesystem::path SettingsFileFor(std::string_view programPath);

    /// Where the settings are read and written: the file SettingsFileFor names in the current
    /// directory when it is there, as the program always read it; otherwise the same name in
    /// `xdgConfigHome`/kazarinoset, or `home`/.config/kazarinoset, so that the settings follow
    /// the player wherever the program is started from. Either folder is taken only when
    /// absolute; with neither, the current directory's file.
    static std::filesystem::path SettingsPath(std::string_view programPath,
                                              const std::filesystem::path& currentDir,
                                              const char* xdgConfigHome, const char* home);

    /// Slots start at zero until LoadOptions runs. With `makeFolder` a save first makes the
    /// folders the file needs (the player's alone), as the XDG folder may not exist yet.
    explicit OptionMan(std::filesystem::path file, bool makeFolder = false);

    /// Defaults, then the file's first line over them; values a hand-edited file brings
    /// outside what the dialogs offer go back to the slot's default, and a blank-cell colour
    /// equal to the grid colour brings both back to their defaults. Never fails.
    void LoadOptions();
    /// Rewrites the file atomically. The extra fields are written up to the last one that
    /// differs from its default, so the line stays the eleven fields until they are used and
    /// a line a program with fewer fields wrote keeps its meaning.
    /// A failure leaves the old file and is told to the listener, if one is set, with the
    /// reason.
    bool SaveOptions() const;
    void SetSaveFailureListener(std::function<void(const std::string&)> listener) {
        m_saveFailed = std::move(listener);
    }

    std::int16_t GetOption(int slot) const;
    void SetOption(int slot, std::int16_t value);

    /// 10 x slot 9 after loading; set by the options dialog.
    std::int16_t ImageSetBase() const { return m_imageSetBase; }
    void SetImageSetBase(std::int16_t base) { m_imageSetBase = base; }

    std::int16_t GetExtra(int field) const;
    void SetExtra(int field, std::int16_t value);

    static Values Defaults();
    static Extras ExtraDefaults();
    static LaterFields LaterDefaults();
    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    bool m_makeFolder = false;
    std::function<void(const std::string&)> m_saveFailed;
    Values m_values{};
    LaterFields m_extras = LaterDefaults();
    std::int16_t m_imageSetBase = 0;
};

}  // namespace kz
