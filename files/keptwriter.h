// SPDX-License-Identifier: MIT
// Writes the kept game off the caller's thread. Flushing a file to disk takes milliseconds
// when the disk is busy, far longer than a click may wait; the caller only makes the text and
// hands it over, and the writer thread writes the newest text it was given.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace kz {

class KeptGameWriter {
public:
    /// Told, on the writer thread, of each write that failed, with its message.
    using FailureListener = std::function<void(const std::string& error)>;

    explicit KeptGameWriter(std::filesystem::path path, FailureListener onFailure = {});
    /// Writes what is still pending, then stops.
    ~KeptGameWriter();
    KeptGameWriter(const KeptGameWriter&) = delete;
    KeptGameWriter& operator=(const KeptGameWriter&) = delete;

    /// Queues the file's new text; an empty text removes the file. A text not yet written
    /// is replaced: only the newest state matters.
    void Submit(std::string text);
    /// Waits until everything submitted so far is on disk (or failed).
    void Flush();
    const std::filesystem::path& path() const { return m_path; }
    /// True when the last write failed: the game is not kept until a later one succeeds.
    bool failed() const { return m_failed.load(); }

private:
    void run();

    const std::filesystem::path m_path;
    FailureListener m_onFailure;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<std::string> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::atomic<bool> m_failed{false};
    std::thread m_thread;
};

}  // namespace kz
