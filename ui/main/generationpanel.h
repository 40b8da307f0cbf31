// SPDX-License-Identifier: MIT
// The panel a new problem is made under: where the status panel shows, with the attempts so
// far and a way out. It shows only once the work has taken long enough to read it.
#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;
class QPushButton;
class QTimer;

namespace kz {

class GenerationJob;

class GenerationPanel : public QFrame {
    Q_OBJECT
public:
    explicit GenerationPanel(QWidget* client);
    /// Follows `job` until stop(); its ｷｬﾝｾﾙ cancels the job.
    void start(GenerationJob* job);
    void stop();

private:
    void refresh();

    QPointer<GenerationJob> m_job;
    QTimer* m_timer = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace kz
