// SPDX-License-Identifier: MIT
// The puzzles of a booklet made on a thread of its own. The worker never calls into Qt: it
// counts the puzzles made and leaves its result behind a mutex; the job looks for it on its
// own thread and then emits `finished`. Destroying the job cancels and joins it.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "print/booklet.h"

class QTimer;

namespace kz {

class BookletJob : public QObject {
    Q_OBJECT
public:
    /// Starts at once. `generate` runs on the job's thread and must honour the cancel flag.
    /// When the thread cannot start or making throws, `finished` still arrives, with
    /// `failure()` set.
    BookletJob(print::GenerateFn generate, const print::Order& order, QObject* parent = nullptr);
    /// Cancels and waits for the thread; a result not yet handed over is dropped.
    ~BookletJob() override;

    /// Asks the generator to stop; `finished` still arrives, marked cancelled.
    void cancel() { m_cancel = true; }
    /// Puzzles made so far.
    int done() const { return m_done; }
    /// Why making stopped other than the budget, for the player; empty otherwise. Set just
    /// before `finished` is emitted.
    const QString& failure() const { return m_failure; }

signals:
    /// Emitted once, on the thread that owns the job.
    void finished(const kz::print::Made& made);

private:
    /// On the owner's thread: hands the result over once the worker has left it.
    void collect();

    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_done{0};
    std::thread m_thread;
    std::mutex m_mutex;
    std::optional<print::Made> m_made;  ///< the worker's result, under the mutex
    std::string m_workerFailure;        ///< UTF-8, under the mutex
    QTimer* m_poll = nullptr;
    QString m_failure;
};

}  // namespace kz
