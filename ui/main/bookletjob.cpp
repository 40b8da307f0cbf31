// SPDX-License-Identifier: MIT
// A booklet's puzzles made on a worker thread.
#include "ui/main/bookletjob.h"

#include <QTimer>
#include <exception>
#include <system_error>
#include <utility>

#include "ui/main/generationjob.h"

namespace kz {

namespace {

// Often enough that the booklet follows at once, seldom enough to cost nothing.
constexpr int kPollMilliseconds = 50;

}  // namespace

BookletJob::BookletJob(print::GenerateFn generate, const print::Order& order, QObject* parent)
    : QObject(parent), m_poll(new QTimer(this)) {
    connect(m_poll, &QTimer::timeout, this, &BookletJob::collect);
    m_poll->start(kPollMilliseconds);
    auto body = [this, generate = std::move(generate), order] {
        print::Made made;
        std::string failure;
        try {
            made =
                print::MakePuzzles(order, generate, &m_cancel, [this](int done) { m_done = done; });
        } catch (...) {
            failure = GenerationFailureText(std::current_exception()).toStdString();
        }
        if (m_cancel) made.cancelled = true;
        const std::lock_guard lock(m_mutex);
        m_made = std::move(made);
        m_workerFailure = std::move(failure);
    };
    try {
        m_thread = std::thread(std::move(body));
    } catch (const std::system_error&) {
        // No worker: the answer still comes through the event loop, as the caller expects.
        m_made.emplace();
        m_workerFailure = "作業用のｽﾚｯﾄﾞを開始できないため、問題集を作成できませんでした";
    }
}

void BookletJob::collect() {
    std::optional<print::Made> made;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_made) return;
        made = std::move(m_made);
        m_failure = QString::fromStdString(m_workerFailure);
    }
    m_poll->stop();
    if (m_thread.joinable()) m_thread.join();
    emit finished(*made);
}

BookletJob::~BookletJob() {
    m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace kz
