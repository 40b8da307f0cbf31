// SPDX-License-Identifier: MIT
// A label that reports a left-button click.
#include "ui/main/clicklabel.h"

#include <QMouseEvent>

namespace kz {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    // Accepting the press keeps the release here instead of letting the parent grab it.
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton && m_rightClicks) {
        m_rightPressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        if (rect().contains(event->position().toPoint())) emit clicked();
        return;
    }
    if (event->button() == Qt::RightButton && m_rightPressed) {
        m_rightPressed = false;
        event->accept();
        if (rect().contains(event->position().toPoint())) emit rightClicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt would treat it as a fresh press; a quick second click on a cell must not place the
    // tile again and leave a second history record.
    if (event->button() == Qt::LeftButton ||
        (event->button() == Qt::RightButton && m_rightClicks)) {
        event->accept();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace kz
