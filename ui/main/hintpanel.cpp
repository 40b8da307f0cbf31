// SPDX-License-Identifier: MIT
// The hint's panel beside the main window.
#include "ui/main/hintpanel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/main/scale.h"

namespace kz {

namespace {

constexpr int kMinWidth = 260;
constexpr int kGap = 8;
constexpr int kMinBelow = 120;
// The window manager's title bar, before the panel has one to measure.
constexpr int kTitleBar = 32;

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

constexpr QChar kBreak(0x200B);  // a zero-width space: a line may break here
constexpr QChar kJoin(0x2060);   // a word joiner: a line may not

/// Chain notation has no spaces for a line to break at; a zero-width space after each link
/// lets a long chain wrap between links instead of running off the panel. Japanese text may
/// break between any two characters, so the characters of a cell's or house's name
/// ("2行4列", "ブロック3") are joined: a name never runs over two lines.
QString breakable(QString text) {
    for (const QChar link : {QChar('-'), QChar('='), QChar(';')}) {
        text.replace(link, QString(link) + kBreak);
    }
    // A nested chain's "=>" is one arrow, with a space after it to break at.
    text.replace(QStringLiteral("=") + kBreak + QStringLiteral(">"), QStringLiteral("=>"));
    static const QRegularExpression name(QStringLiteral("\\d行\\d列|\\d[行列]|ブロック\\d"));
    QString joined;
    qsizetype from = 0;
    for (auto it = name.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        joined += text.mid(from, match.capturedStart() - from);
        const QString found = match.captured();
        for (qsizetype i = 0; i < found.size(); ++i) {
            if (i) joined += kJoin;
            joined += found[i];
        }
        from = match.capturedEnd();
    }
    return joined + text.mid(from);
}

}  // namespace

HintPanel::HintPanel(QWidget* owner)
    : QFrame(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_owner(owner) {
    setObjectName(QStringLiteral("frmHint"));
    setWindowTitle(QStringLiteral("ﾋﾝﾄ"));
    // The player keeps clicking the grid while the panel is up.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblHintText"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail = makeButton(QStringLiteral("詳しく"), "cmdHintDetail", this);
    m_next = makeButton(QStringLiteral("次へ"), "cmdHintNext", this);
    m_apply = makeButton(QStringLiteral("ﾒﾓに反映"), "cmdHintApply", this);
    m_close = makeButton(QStringLiteral("閉じる"), "cmdHintClose", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_detail, m_next, m_apply, m_close}) buttons->addWidget(b);
    // A nested chain's proofs can run longer than the screen is high: the text scrolls, the
    // buttons stay in sight.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrHintText"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_text);
    // The scroll area lays out its viewport, bars and text itself, at every display scale.
    PlaceItself(*m_scroll);
    for (QWidget* part : m_scroll->findChildren<QWidget*>()) PlaceItself(*part);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll);
    layout->addLayout(buttons);
    connect(m_detail, &QPushButton::clicked, this, &HintPanel::detailRequested);
    connect(m_next, &QPushButton::clicked, this, &HintPanel::nextRequested);
    connect(m_apply, &QPushButton::clicked, this, &HintPanel::applyRequested);
    connect(m_close, &QPushButton::clicked, this, &HintPanel::closeRequested);
    hide();
}

QString HintPanel::text() const {
    QString shown = m_text->text();
    return shown.remove(kBreak).remove(kJoin);
}

void HintPanel::present(const QString& text, unsigned buttons) {
    m_text->setText(breakable(text));
    m_detail->setVisible((buttons & Detail) != 0);
    m_next->setVisible((buttons & Next) != 0);
    m_apply->setVisible((buttons & Apply) != 0);
    // At the scale the window is shown at now, which may have changed since the last hint.
    FollowWindowScale(*this, m_owner);
    placeBesideOwner();
    show();
    raise();
}

void HintPanel::placeBesideOwner() {
    const QRect frame = m_owner->frameGeometry();
    const QScreen* screen =
        m_owner->screen() ? m_owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Long explanations wrap at two thirds of the screen at most.
    const int widest = std::max(kMinWidth, area.width() * 2 / 3);
    const int right = area.right() - frame.right() - kGap;
    const int left = frame.left() - area.left() - kGap;
    const int below = area.bottom() - frame.bottom() - kGap;

    int width = std::clamp(sizeHint().width(), kMinWidth, widest);
    QPoint at;
    // A narrow side beats covering the grid: the text only wraps more.
    const int side = below >= kMinBelow ? kMinWidth : kMinWidth / 2;
    if (right >= side && right >= std::min(left, kMinWidth)) {
        width = std::min(width, right);
        at = QPoint(frame.right() + kGap, frame.top());
    } else if (left >= side) {
        width = std::min(width, left);
        at = QPoint(frame.left() - kGap - width, frame.top());
    } else if (below >= kMinBelow) {
        at = QPoint(frame.left(), frame.bottom() + kGap);
    } else {
        // No room anywhere: the palette's strip at the foot of the window, below the grid.
        at = QPoint(frame.left(), frame.bottom() - 80);
    }
    setFixedWidth(width);
    // The text as high as it needs, unless that leaves the screen: the frame's title bar and
    // the buttons' row come off the room first.
    const QMargins margins = layout()->contentsMargins();
    const int textWidth = width - margins.left() - margins.right();
    const int overhead = margins.top() + margins.bottom() + layout()->spacing() +
                         m_close->sizeHint().height() + kTitleBar;
    const int room = std::max(kMinBelow, area.height() - overhead);
    const int needed = m_text->heightForWidth(textWidth);
    m_scroll->setFixedHeight(std::min(needed, room));
    adjustSize();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width)));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - this->height())));
    move(at);
}

}  // namespace kz
