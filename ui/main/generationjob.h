// SPDX-License-Identifier: MIT
// One puzzle made on a thread of its own, so the window stays responsive: the result comes
// back on the window's thread as a signal, and destroying the job cancels and joins it.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <random>
#include <thread>

#include "generate/generator.h"

namespace kz {

/// What the player is told when making puzzles threw: the generator's and the booklet's jobs
/// share it.
QString GenerationFailureText(const std::exception_ptr& error);

class GenerationJob : public QObject {
    Q_OBJECT
public:
    /// The generator's signature; tests pass one that waits for the cancel flag.
    using GenerateFn =
        std::function<generate::Result(const generate::Request&, std::mt19937_64&,
                                       const std::atomic<bool>*, const generate::AttemptFn&)>;

    /// Starts a thread that runs a body; tests pass one that fails as a loaded system does.
    using LaunchFn = std::function<std::thread(std::function<void()>)>;

    /// Starts at once. `generateFn` runs on the job's thread and must honour the flag. When the
    /// thread cannot start or the function throws, `finished` still arrives, with no puzzle
    /// and `failure()` set.
    GenerationJob(GenerateFn generateFn, const generate::Request& request, std::uint64_t seed,
                  QObject* parent = nullptr, const LaunchFn& launch = {});
    /// Cancels and waits for the thread; a result still on its way is dropped.
    ~GenerationJob() override;

    /// Asks the generator to stop; `finished` still arrives, marked cancelled.
    void cancel() { m_cancel = true; }
    bool cancelRequested() const { return m_cancel; }
    /// Complete grids tried so far.
    int attempts() const { return m_attempts; }
    /// Why no puzzle could be made other than the budget, for the player; empty otherwise.
    /// Set just before `finished` is emitted.
    const QString& failure() const { return m_failure; }

signals:
    /// Emitted once, on the thread that owns the job.
    void finished(const kz::generate::Result& result);

private:
    void post(generate::Result result, QString failure);

    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_attempts{0};
    std::thread m_thread;
    QString m_failure;
};

}  // namespace kz
