// SPDX-License-Identifier: MIT
// Whole pages: a booklet of puzzles on any paged device (a PDF writer, a printer, a print
// preview) and the current game on a page of its own. The layout follows the device's page
// size, so A4 and Letter both fill the paper.
#pragma once

#include <QPageSize>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "print/booklet.h"
#include "render/gridpainter.h"

class QPagedPaintDevice;

namespace kz::render {

/// Called after each page with the pages done and the pages in all; false stops the drawing.
using PageProgressFn = std::function<bool(int done, int pageCount)>;

/// Draws every page of `booklet` on `device`, whose page size is set and whose painter
/// starts at the paper's corner (a QPrinter in full-page mode, a PDF writer without margins).
/// False, with the reason in `error`, when drawing could not start or `progress` stopped it.
bool PaintBooklet(QPagedPaintDevice& device, const print::Booklet& booklet, QString* error,
                  const PageProgressFn& progress = {});

/// Writes `booklet` as a PDF file of the given paper: the whole file or, on a failure,
/// nothing, with an existing file left as it was. False with the reason in `error`.
bool WriteBookletPdf(const std::filesystem::path& path, const print::Booklet& booklet,
                     const QPageSize& paper, std::string* error);

/// The current game, alone on a page.
struct GamePage {
    QString title;  ///< the caption, atop the page
    QString label;  ///< above the grid: the level and the rating, when known
    GridContent content;
    bool tiles = false;
    bool colour = false;
};

/// Draws `page` on `device` as PaintBooklet draws one puzzle of a one-a-page booklet.
bool PaintGamePage(QPagedPaintDevice& device, const GamePage& page, QString* error);

}  // namespace kz::render
