// SPDX-License-Identifier: MIT
// Small widgets the three dialogs share.
#include "ui/dialogs/dialogwidgets.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>

namespace kz {

void CentreOnScreen(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : dialog.screen();
    if (screen == nullptr) return;
    QRect frame(QPoint(), dialog.size());
    frame.moveCenter(screen->availableGeometry().center());
    // An explicit move also keeps QDialog from placing it over the owner when shown.
    dialog.move(frame.topLeft());
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

// ---- SelectAllLineEdit

void SelectAllLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A mouse click goes on to place the caret, as it should; every other way in (Tab, the
    // dialog opening, the window coming back) leaves the whole text selected.
    selectAll();
}

}  // namespace kz
