// SPDX-License-Identifier: MIT
#include "ui/main/statuspanel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>

#include "ui/main/twips.h"

namespace kz {

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("frmWarming"));
    setFrameShape(QFrame::NoFrame);
    setGeometry(px(960), px(2760), px(4215), px(855));
    setAutoFillBackground(true);
    m_label = new QLabel(QStringLiteral("Label1"), this);
    m_label->setObjectName(QStringLiteral("lblWarming"));
    m_label->setGeometry(px(120), px(300), px(3975), px(255));
    m_label->setAlignment(Qt::AlignCenter);
    hide();
    raise();
}

void StatusPanel::say(const QString& text) {
    if (!text.isEmpty()) {
        show();
        raise();
        m_label->setText(text);
    } else {
        hide();
    }
}

void StatusPanel::sayUntilInput(const QString& text) {
    say(text);
    m_waiting = true;
    // Any click or key, on the grid, the palette or the menus, ends the line.
    QCoreApplication::instance()->installEventFilter(this);
}

bool StatusPanel::eventFilter(QObject* watched, QEvent* event) {
    if (m_waiting &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        m_waiting = false;
        QCoreApplication::instance()->removeEventFilter(this);
        hide();
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace kz
