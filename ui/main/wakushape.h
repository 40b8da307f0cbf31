// SPDX-License-Identifier: MIT
// The palette's selection frame: a filled rectangle with a 2-pixel border.
#pragma once

#include <QColor>
#include <QWidget>

namespace kz {

class WakuShape : public QWidget {
    Q_OBJECT
public:
    explicit WakuShape(QWidget* parent = nullptr);

    void setColors(const QColor& border, const QColor& fill);
    QColor borderColor() const { return m_border; }
    QColor fillColor() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_border = Qt::black;
    QColor m_fill = Qt::white;
};

}  // namespace kz
