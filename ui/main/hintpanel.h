// SPDX-License-Identifier: MIT
// The hint's panel: a small window of its own beside the main window, never over the grid, so
// the cells a hint colours and the words that explain them are seen together. It does not
// block the main window; the main window drives its stages.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QScrollArea;

namespace kz {

class HintPanel : public QFrame {
    Q_OBJECT
public:
    explicit HintPanel(QWidget* owner);

    enum Button : unsigned { Detail = 1, Next = 2, Apply = 4 };
    /// Shows `text` with the buttons named in `buttons` (the close button always), beside
    /// the owner window.
    void present(const QString& text, unsigned buttons);
    QString text() const;

signals:
    void detailRequested();
    void nextRequested();
    void applyRequested();
    void closeRequested();

private:
    /// Right of the owner, else left, else below it; on the owner's lower edge only when the
    /// screen has no room beside it.
    void placeBesideOwner();

    QWidget* m_owner;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_detail = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace kz
