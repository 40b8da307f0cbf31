// SPDX-License-Identifier: MIT
// Whole-file replacement that never leaves a truncated file where a good one was: the data go
// to a temporary file beside the target, are flushed to disk, and the temporary file is then
// renamed over the target.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kz {

/// Writes `content` to `target` atomically. On failure returns false, fills `error` (when
/// given) and removes the temporary file; the old target is untouched.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content,
                         std::string* error = nullptr);

}  // namespace kz
