// SPDX-License-Identifier: MIT
// Small widgets the windows share, and the centring of windows.
#include "ui/dialogs/dialogwidgets.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <optional>

namespace kz {

namespace {

QMargins knownFrame(const QWidget& w) {
    const QWindow* handle = w.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QMargins frameGuess(const QWidget& w) {
    QMargins m = knownFrame(w);
    // A dialog not yet shown gets the decoration its owner has.
    if (m.isNull() && w.parentWidget() != nullptr) m = knownFrame(*w.parentWidget()->window());
    return m;
}

/// Where the window's frame, as QWidget::move takes it, is centred; nothing without a screen.
std::optional<QPoint> centredPosition(const QWidget& w, const QMargins& frame) {
    const QWidget* owner = w.parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : w.screen();
    if (screen == nullptr) return std::nullopt;
    return CentredFramePosition(screen->availableGeometry(), w.size(), frame);
}

void placeCentred(QWidget& w, const QMargins& frame) {
    // An explicit move also keeps QDialog from placing it over the owner when shown.
    if (const auto at = centredPosition(w, frame)) w.move(*at);
}

// Before a window is first mapped nobody knows its title bar, and framing it need not move
// the window as Qt sees it, so no event says when the frame is known: the watcher looks a
// few times a second. Once the frame is known, it puts the frame where it should be, and
// again if a busy window manager carries out an earlier placement afterwards, until the
// window has stayed put for a moment; a few moves at most, and a few seconds at most, so it
// never fights a window manager that places windows its own way nor a user who drags it.
class FrameWatcher : public QObject {
public:
    explicit FrameWatcher(QWidget& w) : QObject(&w), m_window(w) {
        connect(&m_tick, &QTimer::timeout, this, &FrameWatcher::look);
        m_tick.start(kTickMs);
    }

private:
    void look() {
        const QMargins frame = knownFrame(m_window);
        const auto at = frame.isNull() ? std::nullopt : centredPosition(m_window, frame);
        if (at && m_window.pos() != *at && m_moves < kMostMoves) {
            ++m_moves;
            m_still = 0;
            m_window.move(*at);
        } else if (at) {
            ++m_still;
        }
        if (++m_ticks >= kMostTicks || m_still >= kStillTicks) {
            m_tick.stop();
            deleteLater();
        }
    }

    static constexpr int kTickMs = 50;
    static constexpr int kStillTicks = 10;
    static constexpr int kMostTicks = 100;
    static constexpr int kMostMoves = 3;
    QWidget& m_window;
    QTimer m_tick;
    int m_ticks = 0;
    int m_still = 0;
    int m_moves = 0;
};

}  // namespace

QPoint CentredFramePosition(const QRect& available, const QSize& client, const QMargins& frame) {
    QRect outer(QPoint(), client.grownBy(frame));
    outer.moveCenter(available.center());
    return outer.topLeft();
}

void CentreOnScreen(QWidget& dialog) {
    const QMargins frame = frameGuess(dialog);
    placeCentred(dialog, frame);
    new FrameWatcher(dialog);
}

void setUpFixedDialog(QDialog& dialog, const char* name, const QString& title, int widthTwips,
                      int heightTwips) {
    dialog.setObjectName(QLatin1String(name));
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    dialog.setFixedSize(TwipsToPx(widthTwips), TwipsToPx(heightTwips));
}

void ShrinkFontToFit(QWidget& w, const QString& text, int room) {
    QFont font = w.font();
    while (font.pointSizeF() > 6.0 && QFontMetrics(font).horizontalAdvance(text) > room) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    w.setFont(font);
}

QString indexedName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QRadioButton* makeOption(QButtonGroup* group, QWidget* parent, const char* name, int index,
                         const QString& caption, QRect rect) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(indexedName(name, index));
    button->setGeometry(rect);
    group->addButton(button, index);
    return button;
}

// ---- ColorCell

ColorCell::ColorCell(QWidget* parent) : QWidget(parent) {}

void ColorCell::setFill(const QColor& colour) {
    m_fill = colour;
    update();
}

void ColorCell::setOutline(const QColor& colour) {
    m_outline = colour;
    update();
}

void ColorCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_outline);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), m_fill);
}

void ColorCell::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void ColorCell::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) emit clicked();
}

// ---- SwatchMarker

SwatchMarker::SwatchMarker(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SwatchMarker::frame(const QWidget& target) {
    // One pixel outside the swatch, two inside it.
    setGeometry(target.geometry().adjusted(-1, -1, 1, 1));
    raise();
}

void SwatchMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    const QColor colour(Qt::black);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), kLineWidth), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - kLineWidth + 1, r.width(), kLineWidth), colour);
    painter.fillRect(QRect(r.left(), r.top(), kLineWidth, r.height()), colour);
    painter.fillRect(QRect(r.right() - kLineWidth + 1, r.top(), kLineWidth, r.height()), colour);
}

// ---- CaptionBox

namespace {
constexpr int kCaptionIndent = 6;  // from the box's left edge to the caption's gap
constexpr int kCaptionGap = 2;     // blank on each side of the caption text
}  // namespace

int CaptionBox::borderTop() const {
    return title().isEmpty() ? 0 : fontMetrics().height() / 2;
}

void CaptionBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    // An etched line: a shadow line with a light one below and right of it.
    const QRect border = rect().adjusted(0, borderTop(), -1, -1);
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(pal.color(QPalette::Light));
    painter.drawRect(border.adjusted(1, 1, 0, 0));
    if (title().isEmpty()) return;
    const QFontMetrics metrics = fontMetrics();
    const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionGap,
                        metrics.height());
    painter.fillRect(caption, pal.color(QPalette::Window));
    painter.setPen(
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, title());
}

// ---- SelectAllLineEdit

void SelectAllLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A mouse click goes on to place the caret, as it should; every other way in (Tab, the
    // dialog opening, the window coming back) leaves the whole text selected.
    selectAll();
}

}  // namespace kz
