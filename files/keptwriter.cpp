// SPDX-License-Identifier: MIT
// The kept game's writer thread.
#include "files/keptwriter.h"

#include "files/keptgame.h"

#include <exception>

namespace kz {

KeptGameWriter::KeptGameWriter(std::filesystem::path path, FailureListener onFailure)
    : m_path(std::move(path)), m_onFailure(std::move(onFailure)), m_thread([this] { run(); }) {}

KeptGameWriter::~KeptGameWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void KeptGameWriter::Submit(std::string text) {
    {
        const std::lock_guard lock(m_mutex);
        m_pending = std::move(text);
    }
    m_wake.notify_one();
}

void KeptGameWriter::Flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
}

void KeptGameWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stop; });
        // A stop still writes what was handed over last: it is the state at closing.
        if (!m_pending) return;
        const std::string text = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();

        FileResult result{true, {}};
        // The thread outlives anything one write throws (memory, a listener): the player is
        // told and goes on, and the next change tries again.
        try {
            if (text.empty()) {
                std::error_code ec;
                std::filesystem::remove(m_path, ec);
            } else {
                result = WriteKeptGameText(m_path, text);
            }
        } catch (const std::exception& e) {
            result = {false, e.what()};
        }
        m_failed = !result.ok;
        if (!result.ok && m_onFailure) {
            try {
                m_onFailure(result.error);
            } catch (...) {
                // Nobody left to tell; failed() still says so.
            }
        }

        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

}  // namespace kz
