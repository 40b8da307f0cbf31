// SPDX-License-Identifier: MIT
// The display scale: the main window's board, palette, pictures and texts, and its dialogs, at
// 100, 125, 150 or 200 %. The title bar and the menus stay the desktop's, as a browser's do
// when it zooms a page.
//
// Every window is built at 100 %, in the form's pixels. Scaling lays the built widgets out
// again from the 100 % geometry and fonts each one had when first scaled, so that choosing
// another scale never compounds rounding. A widget whose owner places it itself (the grid)
// is marked and left alone; a widget moved by code after start-up is placed again by the
// window once a scale is applied.
#pragma once

#include <QObject>
#include <QRect>
#include <functional>

class QActionGroup;
class QMenu;
class QWidget;

namespace kz {

class GridView;
class OptionMan;

/// A length of the 100 % layout at `factor`, rounded to the nearest pixel.
int ScaledLength(int length, double factor);
/// A rectangle of the 100 % layout at `factor`. Its edges are scaled, not its size, so that
/// rectangles that meet or overlap at 100 % still do.
QRect ScaledRect(const QRect& rect, double factor);

/// Marks `w` as placed by its owner at every scale: ScaleWidgets leaves its geometry alone.
void PlaceItself(QWidget& w);
/// Lays `root`'s tree out at `factor`: the geometry of every child not placed by a layout,
/// every fixed size (the root's with `fixRoot`), and every font set on a widget, the root's
/// in any case. Windows inside the tree (menus, dialogs) are left to their own call.
void ScaleWidgets(QWidget& root, double factor, bool fixRoot);
/// The scale `window` is shown at: 1 unless a DisplayScale scaled it.
double WindowScale(const QWidget* window);
/// Scales a dialog, message box or panel about to open over `owner` as its owner is scaled;
/// one never scaled is left untouched at 100 %.
void FollowWindowScale(QWidget& dialog, const QWidget* owner);

/// The main window's scale: the 表示倍率 submenu, the stored choice, and the window laid out.
class DisplayScale : public QObject {
    Q_OBJECT
public:
    /// Called after a scale is applied, for what the window places and draws itself.
    using AppliedFn = std::function<void()>;
    /// `window`'s `client` area is built at 100 %; `grid` lays its cells out itself.
    DisplayScale(QWidget& window, QWidget& client, GridView& grid, OptionMan& options,
                 AppliedFn applied);

    /// Fills the empty submenu `menu` with one radio item per scale.
    void fillMenu(QMenu* menu);
    /// At start-up: the stored scale, or the largest one whose window fits the screen when
    /// the stored one does not (the choice stays stored for a larger screen).
    void applyStored();
    /// The player's choice: applied, kept on the screen, and stored.
    void choose(int percent);

    int percent() const { return m_percent; }
    double factor() const { return m_percent / 100.0; }
    int length(int length) const { return ScaledLength(length, factor()); }
    QPoint point(const QPoint& p) const { return {length(p.x()), length(p.y())}; }
    /// Where `w` lies at 100 %.
    static QRect baseGeometry(const QWidget& w);

private:
    void apply(int percent);
    /// True when the window at `percent`, frame included, fits the available screen.
    bool fits(int percent) const;
    void syncMenu();

    QWidget& m_window;
    QWidget& m_client;
    GridView& m_grid;
    OptionMan& m_options;
    AppliedFn m_applied;
    QActionGroup* m_items = nullptr;
    int m_percent = 100;
};

}  // namespace kz
