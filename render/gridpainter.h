// SPDX-License-Identifier: MIT
// One Sudoku grid drawn with a QPainter: thin cell lines and thick box lines as in the
// window, digits as text (so that print and PDF stay vector) or pin tiles as pictures drawn
// at the device's resolution, notes in their 3×3 slots.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "logic/state.h"

class QPainter;

namespace kz::render {

/// What a grid shows, cells in row order.
struct GridContent {
    logic::Digits digits{};        ///< 0 for an empty cell
    std::array<bool, 81> given{};  ///< a digit of the puzzle rather than one the player placed
    /// Bit d−1 set for note d; drawn in empty cells only.
    std::array<std::uint16_t, 81> notes{};
    /// Each cell's background when printing in colour; white paper otherwise.
    std::optional<std::array<QColor, 81>> fill;
};

/// A puzzle's givens on white paper, nothing else.
GridContent PuzzleContent(const logic::Digits& givens);

class GridPainter {
public:
    /// `tiles`: pin tiles in place of numerals. `colour`: the player's digits in blue ink;
    /// in black and white they are grey and the givens bold.
    GridPainter(bool tiles, bool colour) : m_tiles(tiles), m_colour(colour) {}

    /// Draws the grid to fill `square`, in the painter's device coordinates (no scaling on
    /// the painter: fonts are sized in device pixels).
    void paint(QPainter& painter, const QRectF& square, const GridContent& content);

private:
    /// Tile `digit` as a picture `height` device pixels high, drawn once per size and reused
    /// so that a PDF holds each picture once.
    const QImage& tile(int digit, int height);
    void paintDigit(QPainter& painter, const QRectF& cell, int digit, bool given);
    void paintNotes(QPainter& painter, const QRectF& cell, std::uint16_t notes);

    bool m_tiles;
    bool m_colour;
    std::map<std::pair<int, int>, QImage> m_tileImages;
};

}  // namespace kz::render
