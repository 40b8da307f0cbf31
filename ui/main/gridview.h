// SPDX-License-Identifier: MIT
// The grid as the player sees it: 81 squares with their tiles, the grid lines, and how each
// cell looks — its colour, its digit's picture, its notes, the same-digit highlight, a hint's
// look and its pointer. It reads the game and the settings; it changes neither.
//
// The widgets keep their form names ("lblBack_5", "imgPai_5", "linFrame_3") and lie on the
// window's client area, so that tests find them by name and the layout is the window's own.
#pragma once

#include <QObject>
#include <QPixmap>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/board.h"
#include "logic/chainpicture.h"

class QCursor;
class QWidget;

namespace kz {

class ChainOverlay;
class ClickLabel;
class Game;
class OptionMan;

class GridView : public QObject {
    Q_OBJECT
public:
    /// How a hint shows a cell, drawn over the cell's colour. Not a mark of the board: it
    /// changes nothing there or in the history.
    enum class HintLook : std::uint8_t { None, Pattern, Elimination, Placement, Wrong };
    /// A click on cell n, on its tile or on the square beneath.
    using ClickFn = std::function<void(int n, bool onTile)>;

    GridView(QWidget* client, const Game& game, const OptionMan& options, ClickFn onClick);

    /// Cell n as the game holds it now.
    void draw(int n);
    /// Every cell and line again, after the settings changed.
    void drawAll();
    /// The palette's choice (1..9, 10 the eraser) as every enterable cell's pointer, and the
    /// digit the same-digit highlight shows.
    void setChoice(int picture);
    /// Right clicks on cells go to `onRightClick` (n) while taken; otherwise, as before, the
    /// right button passes on to the window.
    void setRightClicks(bool on, std::function<void(int n)> onRightClick);
    /// The pointers in their note form while the note mode is on.
    void setNoteMode(bool on);
    /// Lays the grid out `factor` times its original size and draws it again.
    void setScale(double factor);
    /// The cursor picture (1..10) the last palette choice gave cell n while it was enterable.
    int cursorNumber(int n) const { return m_cellCursor.at(static_cast<std::size_t>(n)); }

    HintLook hintLook(int n) const { return m_hintLook.at(static_cast<std::size_t>(n)); }
    void showHintLook(int n, HintLook look);
    /// Takes away every hint look: the cells', the candidates' and the chain's links.
    void clearHintLooks();

    /// How a hint shows one candidate: true or false along its chain, or removed by it.
    enum class NoteLook : std::uint8_t { None, On, Off, Removal };
    /// A chain's candidates in their on and off colours, `removals` in a third, and its
    /// links as lines over the grid. A candidate the board's notes lack shows all the same.
    void showChain(const logic::ChainPicture& chain,
                   const std::vector<logic::Elimination>& removals);
    NoteLook noteLook(int n, int digit) const {
        return m_noteLook.at(static_cast<std::size_t>(n)).at(static_cast<std::size_t>(digit));
    }

    /// The note form of a tile's picture, centred in `box`.
    static QPixmap noteForm(const QPixmap& picture, QSize box);

private:
    void layOut();
    QColor slotColor(int slot) const;
    void drawLook(int n);
    void drawOverlay(int n);
    /// Where the note of `digit` sits in a cell of `size`.
    QRectF noteSlot(QSize size, int digit) const;
    /// The chain's links from its candidates' places at the present scale.
    void placeLinks();
    QCursor cellCursor(int picture) const;
    int highlightedDigit() const;

    const Game& m_game;
    const OptionMan& m_options;
    std::array<ClickLabel*, kArraySize> m_lblBack{};
    std::array<ClickLabel*, kArraySize> m_imgPai{};
    std::array<QWidget*, 20> m_linFrame{};
    std::array<int, kArraySize> m_cellCursor{};
    std::array<HintLook, kArraySize> m_hintLook{};
    std::array<std::array<NoteLook, 10>, kArraySize> m_noteLook{};
    logic::ChainPicture m_chain;
    ChainOverlay* m_links = nullptr;
    bool m_hintShown = false;
    bool m_noteMode = false;
    int m_choice = 1;
    double m_factor = 1.0;
};

}  // namespace kz
