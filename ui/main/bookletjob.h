// SPDX-License-Identifier: MIT
// The puzzles of a booklet made on a thread of its own, as a new puzzle is: progress and the
// result come back on the window's thread as signals, and destroying the job cancels and
// joins it.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <thread>

#include "print/booklet.h"

namespace kz {

class BookletJob : public QObject {
    Q_OBJECT
public:
    /// Starts at once. `generate` runs on the job's thread and must honour the cancel flag.
    /// When the thread cannot start or making throws, `finished` still arrives, with what was
    /// made and `failure()` set.
    BookletJob(print::GenerateFn generate, const print::Order& order, QObject* parent = nullptr);
    /// Cancels and waits for the thread; a result still on its way is dropped.
    ~BookletJob() override;

    /// Asks the generator to stop; `finished` still arrives, marked cancelled.
    void cancel() { m_cancel = true; }
    /// Why making stopped other than the budget, for the player; empty otherwise. Set just
    /// before `finished` is emitted.
    const QString& failure() const { return m_failure; }

signals:
    /// After each puzzle, with how many are done.
    void progressed(int done);
    /// Emitted once, on the thread that owns the job.
    void finished(const kz::print::Made& made);

private:
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
    QString m_failure;
};

}  // namespace kz
