// SPDX-License-Identifier: MIT
// The hint on show: its looks on the grid and its panel beside the window, stage by stage.
// The window finds the hint and does its step; this shows it.
#pragma once

#include <QObject>
#include <cstddef>
#include <functional>
#include <optional>

#include "logic/hint.h"
#include "ui/main/gridview.h"

class QWidget;

namespace kz {

class HintPanel;

class HintView : public QObject {
    Q_OBJECT
public:
    /// Does a hint's step on the board: the panel's ﾒﾓに反映.
    using ApplyFn = std::function<void(const logic::Step& step)>;

    HintView(QWidget* window, GridView& grid, ApplyFn apply);

    /// Shows a hint found for the board holding `current`: the mistakes, or the first look
    /// at the next step. Nothing for an unsolvable puzzle, which the window reports.
    void show(logic::Hint hint, const logic::Digits& current);
    /// Takes the hint away: its looks and its panel.
    void clear();
    /// The panel, once a hint has shown.
    HintPanel* panel() const { return m_panel; }

private:
    void makePanel();
    /// The first look at a step: the technique and where to look, nothing more.
    void showFocus();
    /// Step i in full, with its cells.
    void showStep(std::size_t i);
    /// The panel's text for step i in full.
    QString stepText(std::size_t i) const;

    QWidget* m_window;
    GridView& m_grid;
    ApplyFn m_apply;
    HintPanel* m_panel = nullptr;
    /// The hint on show, and its step on show (none while only the first look shows).
    std::optional<logic::Hint> m_hint;
    std::optional<std::size_t> m_step;
};

}  // namespace kz
