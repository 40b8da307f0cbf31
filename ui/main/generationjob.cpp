// SPDX-License-Identifier: MIT
// A puzzle made on a worker thread.
#include "ui/main/generationjob.h"

#include <utility>

namespace kz {

GenerationJob::GenerationJob(GenerateFn generateFn, const generate::Request& request,
                             std::uint64_t seed, QObject* parent)
    : QObject(parent) {
    m_thread = std::thread([this, generateFn = std::move(generateFn), request, seed] {
        std::mt19937_64 random(seed);
        generate::Result result =
            generateFn(request, random, &m_cancel, [this](int attempts) { m_attempts = attempts; });
        if (m_cancel) result.cancelled = true;
        // Queued to the job's own thread; Qt drops the call if the job is gone by then.
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { emit finished(result); },
            Qt::QueuedConnection);
    });
}

GenerationJob::~GenerationJob() {
    m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace kz
