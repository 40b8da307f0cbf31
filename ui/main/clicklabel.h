// SPDX-License-Identifier: MIT
// A label that reports a left-button click, for the grid's squares and tiles and the palette.
#pragma once

#include <QLabel>

class QMouseEvent;

namespace kz {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    /// A left press and release both inside the label; other buttons and drags off it are
    /// not clicks.
    void clicked();
    /// A right press and release both inside the label, reported only while right clicks
    /// are taken (otherwise the right button passes on to the parent as before).
    void rightClicked();

public:
    void setRightClicks(bool on) { m_rightClicks = on; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// The second press of a double click is swallowed, so a double click is one click.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
    bool m_rightClicks = false;
    bool m_rightPressed = false;
};

}  // namespace kz
