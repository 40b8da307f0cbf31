// SPDX-License-Identifier: MIT
// A booklet's puzzles made on a worker thread.
#include "ui/main/bookletjob.h"

#include <exception>
#include <system_error>
#include <utility>

#include "ui/main/generationjob.h"

namespace kz {

BookletJob::BookletJob(print::GenerateFn generate, const print::Order& order, QObject* parent)
    : QObject(parent) {
    // Queued to the job's own thread; Qt drops the call if the job is gone by then.
    auto post = [this](print::Made made, QString failure) {
        QMetaObject::invokeMethod(
            this,
            [this, made = std::move(made), failure = std::move(failure)] {
                m_failure = failure;
                emit finished(made);
            },
            Qt::QueuedConnection);
    };
    auto body = [this, post, generate = std::move(generate), order] {
        print::Made made;
        QString failure;
        try {
            made = print::MakePuzzles(order, generate, &m_cancel, [this](int done) {
                QMetaObject::invokeMethod(
                    this, [this, done] { emit progressed(done); }, Qt::QueuedConnection);
            });
        } catch (...) {
            failure = GenerationFailureText(std::current_exception());
        }
        if (m_cancel) made.cancelled = true;
        post(std::move(made), std::move(failure));
    };
    try {
        m_thread = std::thread(std::move(body));
    } catch (const std::system_error&) {
        post({}, QStringLiteral("作業用のｽﾚｯﾄﾞを開始できないため、問題集を作成できませんでした"));
    }
}

BookletJob::~BookletJob() {
    m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace kz
