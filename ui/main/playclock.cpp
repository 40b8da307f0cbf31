// SPDX-License-Identifier: MIT
#include "ui/main/playclock.h"

#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "game/game.h"
#include "ui/main/clicklabel.h"

namespace kz {

namespace {
constexpr int kLineHeight = 18;
}

QString ClockText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

PlayClock::PlayClock(QWidget* client, const QRect& grid, int lineTop, Game& game, NowFn now)
    : QObject(client), m_game(game), m_now(std::move(now)) {
    m_line = new QLabel(client);
    m_line->setObjectName(QStringLiteral("lblClock"));
    m_line->setGeometry(8, lineTop, client->width() - 16, kLineHeight);
    m_line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_line->hide();

    m_cover = new ClickLabel(client);
    m_cover->setObjectName(QStringLiteral("lblPaused"));
    m_cover->setGeometry(grid);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->setAutoFillBackground(true);
    m_cover->setText(QStringLiteral("一時停止中\n\nｸﾘｯｸすると続けます"));
    m_cover->hide();
    connect(m_cover, &ClickLabel::clicked, this, [this] { resume(); });

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { refresh(); });
}

int PlayClock::lineHeight() {
    return kLineHeight;
}

void PlayClock::setShown(bool on) {
    m_shown = on;
    m_line->setVisible(on);
    if (on) {
        refresh();
        m_timer->start();
    } else {
        m_timer->stop();
    }
}

std::int64_t PlayClock::gameNow() const {
    return m_paused ? m_pausedAt : m_now();
}

void PlayClock::pause() {
    if (m_paused) return;
    m_paused = true;
    m_pausedAt = m_now();
    m_pausedSerial = m_game.serial();
    m_cover->show();
    m_cover->raise();
    refresh();
    emit pausedChanged(true);
}

void PlayClock::resume() {
    if (!m_paused) return;
    m_paused = false;
    // Another game begun while paused started its own clock; only the paused one moves on.
    if (const auto start = m_game.startMs(); start && m_game.serial() == m_pausedSerial) {
        m_game.setStartMs(*start + std::max<std::int64_t>(0, m_now() - m_pausedAt));
    }
    m_cover->hide();
    refresh();
    emit pausedChanged(false);
}

void PlayClock::refresh() {
    if (!m_shown) return;
    const std::optional<std::int64_t> e = m_game.elapsedSeconds(gameNow());
    QString text =
        e ? QStringLiteral("経過時間 ") + ClockText(*e) : QStringLiteral("経過時間 -:--:--");
    if (m_paused) text = QStringLiteral("一時停止中　") + text;
    m_line->setText(text);
}

}  // namespace kz
