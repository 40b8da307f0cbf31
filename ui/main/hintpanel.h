// SPDX-License-Identifier: MIT
// The hint's panel: a small window of its own beside the main window, never over the grid, so
// the cells a hint colours and the words that explain them are seen together. It does not
// block the main window; the main window drives its stages.
#pragma once

#include <QFrame>
#include <QPointer>
#include <QStringList>

class QLabel;
class QPushButton;
class QScrollArea;
class QShortcut;

class QGridLayout;

namespace kz {

class HintPanel : public QFrame {
    Q_OBJECT
public:
    explicit HintPanel(QWidget* owner);
    ~HintPanel() override;

    enum Button : unsigned { Detail = 1, Next = 2, Apply = 4 };
    /// Shows `text` with the buttons named in `buttons` usable and the others greyed in their
    /// places (the close button always usable). An open panel keeps its place and size, so
    /// that from stage to stage of a hint the buttons stay where the player's mouse is. A
    /// panel that opens goes beside the owner window, as wide as the player last made it, and
    /// high enough for the highest of `stages`: every text the hint may show before the panel
    /// closes (`text` alone when none are given).
    void present(const QString& text, unsigned buttons, const QStringList& stages = {});
    QString text() const;

signals:
    void detailRequested();
    void nextRequested();
    void applyRequested();
    void closeRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Right of the owner, else left, else below it; on the owner's lower edge only when the
    /// screen has no room beside it.
    void placeBesideOwner(const QStringList& stages);
    /// The buttons in one row, or in two of two where the side beside the owner is narrow.
    void arrangeButtons(bool twoRows);

    QWidget* m_owner;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_detail = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
    QGridLayout* m_buttons = nullptr;
    /// Esc on the owner window: the panel takes it away if it goes first, the window if it does.
    QPointer<QShortcut> m_escape;
    /// The size the panel was last given, to tell the player's resizing from it.
    QSize m_given;
    /// The width the player last gave the panel, at 100 %; 0 until they do.
    double m_chosenWidth = 0;
};

}  // namespace kz
