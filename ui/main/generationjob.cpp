// SPDX-License-Identifier: MIT
// A puzzle made on a worker thread.
#include "ui/main/generationjob.h"

#include <exception>
#include <new>
#include <system_error>
#include <utility>

namespace kz {

// Whatever escapes the generator ends in a message, never in std::terminate: the player's
// game is still on the board.
QString GenerationFailureText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("ﾒﾓﾘが足りないため、問題を作成できませんでした");
    } catch (const std::exception& e) {
        return QStringLiteral("問題の作成中にｴﾗｰが発生しました（%1）")
            .arg(QString::fromUtf8(e.what()));
    } catch (...) {
        return QStringLiteral("問題の作成中にｴﾗｰが発生しました");
    }
}

GenerationJob::GenerationJob(GenerateFn generateFn, const generate::Request& request,
                             std::uint64_t seed, QObject* parent, const LaunchFn& launch)
    : QObject(parent) {
    auto body = [this, generateFn = std::move(generateFn), request, seed] {
        generate::Result result;
        QString failure;
        try {
            std::mt19937_64 random(seed);
            result = generateFn(request, random, &m_cancel,
                                [this](int attempts) { m_attempts = attempts; });
        } catch (...) {
            result = {};
            failure = GenerationFailureText(std::current_exception());
        }
        if (m_cancel) result.cancelled = true;
        post(std::move(result), std::move(failure));
    };
    try {
        m_thread = launch ? launch(std::move(body)) : std::thread(std::move(body));
    } catch (const std::system_error&) {
        // No worker: the answer still comes through the event loop, as the caller expects.
        post({}, QStringLiteral("作業用のｽﾚｯﾄﾞを開始できないため、問題を作成できませんでした"));
    }
}

void GenerationJob::post(generate::Result result, QString failure) {
    // Queued to the job's own thread; Qt drops the call if the job is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result), failure = std::move(failure)] {
            m_failure = failure;
            emit finished(result);
        },
        Qt::QueuedConnection);
}

GenerationJob::~GenerationJob() {
    m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace kz
