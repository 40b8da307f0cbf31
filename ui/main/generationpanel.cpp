// SPDX-License-Identifier: MIT
// The new-problem panel.
#include "ui/main/generationpanel.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/main/generationjob.h"

namespace kz {

namespace {

// Quick puzzles arrive before a panel could be read; it would only flicker.
constexpr int kPanelDelayMs = 300;
constexpr int kPanelRefreshMs = 200;

}  // namespace

GenerationPanel::GenerationPanel(QWidget* client) : QFrame(client) {
    setObjectName(QStringLiteral("frmGenerating"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    const QRect area(64, 184, 281, 57);
    setGeometry(area);
    setAutoFillBackground(true);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblGenerating"));
    m_label->setGeometry(8, 8, area.width() - 16, 17);
    m_label->setAlignment(Qt::AlignCenter);
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("cmdGenCancel"));
    m_cancel->setGeometry((area.width() - 80) / 2, 29, 80, 22);
    m_cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    hide();

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] { refresh(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (!m_job) return;
        m_job->cancel();
        m_cancel->setEnabled(false);
        refresh();
    });
}

void GenerationPanel::start(GenerationJob* job) {
    m_job = job;
    m_timer->setInterval(kPanelDelayMs);
    m_timer->start();
}

void GenerationPanel::stop() {
    m_job = nullptr;
    m_timer->stop();
    hide();
}

void GenerationPanel::refresh() {
    if (!m_job) return;
    if (isHidden()) {
        show();
        raise();
        m_cancel->setEnabled(true);
        m_cancel->setFocus();
        m_timer->setInterval(kPanelRefreshMs);
    }
    m_label->setText(m_job->cancelRequested()
                         ? QStringLiteral("中止しています…")
                         : QStringLiteral("新しい問題を作成しています（試行 %1 回）")
                               .arg(m_job->attempts() + 1));
}

}  // namespace kz
