// SPDX-License-Identifier: MIT
// The status panel over the middle of the grid: progress of long work, and the start-up line
// about a kept game, which the first click or key takes away.
#pragma once

#include <QFrame>
#include <QString>

class QLabel;

namespace kz {

class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent);

    /// Shows text on top of everything; empty text hides the panel.
    void say(const QString& text);
    /// Shows text until the next click or key anywhere in the program.
    void sayUntilInput(const QString& text);
    /// True while a line shown by sayUntilInput waits for its click or key.
    bool waitingForInput() const { return m_waiting; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_label = nullptr;
    bool m_waiting = false;
};

}  // namespace kz
