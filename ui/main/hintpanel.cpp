// SPDX-License-Identifier: MIT
// The hint's panel beside the main window.
#include "ui/main/hintpanel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/main/scale.h"

namespace kz {

namespace {

constexpr int kMinWidth = 260;
// Full-width characters a line of the text holds when the panel opens: a chain's link and
// its reason ("9行3列の8=9行3列の7：9行3列の候補は7・8だけです。") fit on one line.
constexpr int kReadingWidth = 40;
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
    // The panel is as high as a hint's longest stage: a shorter one starts at the top.
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail = makeButton(QStringLiteral("詳しく"), "cmdHintDetail", this);
    m_next = makeButton(QStringLiteral("次へ"), "cmdHintNext", this);
    m_apply = makeButton(QStringLiteral("ﾒﾓに反映"), "cmdHintApply", this);
    m_close = makeButton(QStringLiteral("閉じる"), "cmdHintClose", this);
    // Every button always shows, greyed where a stage has no use for it: a button that came
    // and went would move the others under the player's mouse.
    m_buttons = new QGridLayout;
    arrangeButtons(false);
    // A nested chain's proofs can run longer than the screen is high: the text scrolls, the
    // buttons stay in sight.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrHintText"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    // Lines wrap to the panel's width; only a panel made narrower than a cell's name scrolls
    // sideways rather than cutting the text off.
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setWidget(m_text);
    // The scroll area lays out its viewport, bars and text itself, at every display scale.
    PlaceItself(*m_scroll);
    for (QWidget* part : m_scroll->findChildren<QWidget*>()) PlaceItself(*part);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll);
    layout->addLayout(m_buttons);
    connect(m_detail, &QPushButton::clicked, this, &HintPanel::detailRequested);
    connect(m_next, &QPushButton::clicked, this, &HintPanel::nextRequested);
    connect(m_apply, &QPushButton::clicked, this, &HintPanel::applyRequested);
    connect(m_close, &QPushButton::clicked, this, &HintPanel::closeRequested);
    // Esc is 閉じる whichever of the panel and the window has the keyboard: the panel opens
    // without taking it. A window shortcut serves the window and its tool windows only, so a
    // dialog over the window keeps its own Esc.
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), owner->window());
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &HintPanel::closeRequested);
    hide();
}

HintPanel::~HintPanel() {
    delete m_escape;
}

QString HintPanel::text() const {
    QString shown = m_text->text();
    return shown.remove(kBreak).remove(kJoin);
}

void HintPanel::present(const QString& text, unsigned buttons, const QStringList& stages) {
    m_detail->setEnabled((buttons & Detail) != 0);
    m_next->setEnabled((buttons & Next) != 0);
    m_apply->setEnabled((buttons & Apply) != 0);
    if (isHidden()) {
        // At the scale the window is shown at now, which may have changed since the last hint.
        FollowWindowScale(*this, m_owner);
        placeBesideOwner(stages.isEmpty() ? QStringList{text} : stages);
    }
    m_text->setText(breakable(text));
    show();
    raise();
}

void HintPanel::showEvent(QShowEvent* event) {
    m_escape->setEnabled(true);
    QFrame::showEvent(event);
}

void HintPanel::hideEvent(QHideEvent* event) {
    // A closed panel leaves Esc to the window: the new-problem panel's ｷｬﾝｾﾙ has it then.
    m_escape->setEnabled(false);
    QFrame::hideEvent(event);
}

void HintPanel::closeEvent(QCloseEvent* event) {
    // The title bar's close button is 閉じる too: the hint's looks go with its panel.
    emit closeRequested();
    QFrame::closeEvent(event);
}

void HintPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // A width the panel was not given is the player's, kept for the hints to come.
    if (isVisible() && event->size().width() != m_given.width())
        m_chosenWidth = event->size().width() / WindowScale(m_owner->window());
}

void HintPanel::arrangeButtons(bool twoRows) {
    const QPushButton* order[] = {m_detail, m_next, m_apply, m_close};
    for (const QPushButton* b : order) m_buttons->removeWidget(const_cast<QPushButton*>(b));
    // The stretch keeps the buttons to the right edge, column 0 being left to it.
    for (int k = 0; k < 4; ++k) {
        auto* b = const_cast<QPushButton*>(order[k]);
        if (twoRows) {
            m_buttons->addWidget(b, k / 2, 1 + k % 2);
        } else {
            m_buttons->addWidget(b, 0, 1 + k);
        }
    }
    m_buttons->setColumnStretch(0, 1);
    m_buttons->invalidate();
}

void HintPanel::placeBesideOwner(const QStringList& stages) {
    const QRect frame = m_owner->frameGeometry();
    const QScreen* screen =
        m_owner->screen() ? m_owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const double scale = WindowScale(m_owner->window());
    const int narrowest = ScaledLength(kMinWidth, scale);
    const QMargins margins = layout()->contentsMargins();
    const int sides = margins.left() + margins.right();
    // Long explanations wrap at two thirds of the screen at most.
    const int widest = std::max(narrowest, area.width() * 2 / 3);
    const int right = area.right() - frame.right() - kGap;
    const int left = frame.left() - area.left() - kGap;
    const int below = area.bottom() - frame.bottom() - kGap;

    int width = static_cast<int>(std::lround(m_chosenWidth * scale));
    if (width == 0) {
        // The longest line of the hint, up to a comfortable reading width, in the label's
        // font: it follows the display scale.
        const QFontMetrics metrics = m_text->fontMetrics();
        int longest = 0;
        for (const QString& stage : stages) {
            for (QString line : stage.split(QLatin1Char('\n')))
                longest = std::max(longest, metrics.horizontalAdvance(line.remove(u'\r')));
        }
        width = std::min(longest, metrics.horizontalAdvance(QChar(0x3042)) * kReadingWidth) +
                sides + 2 * m_scroll->frameWidth();
    }
    width = std::clamp(width, narrowest, widest);
    // A narrow side beats covering the grid: the text only wraps more.
    const int side = below >= kMinBelow ? narrowest : narrowest / 2;
    const bool onRight = right >= side && right >= std::min(left, narrowest);
    const bool onLeft = !onRight && left >= side;
    if (onRight) width = std::min(width, right);
    if (onLeft) width = std::min(width, left);
    // A side too narrow for the buttons in a row takes them in two rows: the panel stays
    // beside the window rather than over it.
    arrangeButtons(false);
    layout()->activate();
    arrangeButtons(width < minimumSizeHint().width());
    layout()->activate();
    width = std::max(width, minimumSizeHint().width());
    QPoint at;
    if (onRight) {
        at = QPoint(frame.right() + kGap, frame.top());
    } else if (onLeft) {
        at = QPoint(frame.left() - kGap - width, frame.top());
    } else if (below >= kMinBelow) {
        at = QPoint(frame.left(), frame.bottom() + kGap);
    } else {
        // No room anywhere: the palette's strip at the foot of the window, below the grid.
        at = QPoint(frame.left(), frame.bottom() - 80);
    }
    // The text of the highest stage as high as it needs, unless that leaves the screen: the
    // frame's title bar and the buttons' row come off the room first. Nothing is fixed: the
    // text takes whatever size the player gives the panel.
    const int textWidth = width - sides - 2 * m_scroll->frameWidth();
    const int buttonsRow = layout()->spacing() + m_buttons->sizeHint().height();
    const int room = std::max(kMinBelow, area.height() - margins.top() - margins.bottom() -
                                             buttonsRow - kTitleBar - 2 * m_scroll->frameWidth());
    int needed = 0;
    for (const QString& stage : stages) {
        m_text->setText(breakable(stage));
        needed = std::max(needed, m_text->heightForWidth(textWidth));
    }
    // A scroll area would keep room for its bars; the panel may be as low as a line of text.
    m_scroll->setMinimumHeight(m_text->fontMetrics().lineSpacing() + 2 * m_scroll->frameWidth());
    resize(width, margins.top() + margins.bottom() + buttonsRow + 2 * m_scroll->frameWidth() +
                      std::min(needed, room));
    m_given = size();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - this->width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - this->height())));
    move(at);
}

}  // namespace kz
