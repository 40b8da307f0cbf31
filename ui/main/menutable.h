// SPDX-License-Identifier: MIT
// A menu bar as data: each row a menu, a submenu's end, a separator or an item with its
// caption, object name, shortcut, command, rule for being enabled and check box. The rows are
// read once, in order, into the bar; the commands never see a QAction.
#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kz {

class frmMain;
class OptionMan;

struct MenuRow {
    enum class Kind { Menu, Submenu, End, Separator, Item };
    Kind kind = Kind::Item;
    const char* name = "";
    QString caption;
    QKeySequence shortcut;
    /// An item's command; a checkable item runs it on every change of its check, with the new
    /// state, so setting the check from code runs it too.
    std::function<void(bool)> run;
    /// Empty: enabled whenever commands are.
    std::function<bool()> enabled;
    /// A check box's state as the settings keep it, shown at start-up; empty: unchecked.
    std::function<bool()> checked;
    bool checkable = false;
    bool hidden = false;
};

/// A top-level menu; the rows up to the next one are its own.
MenuRow Menu(const char* name, const QString& caption);
/// A menu inside the current one, up to its End.
MenuRow Submenu(const char* name, const QString& caption);
MenuRow End();
MenuRow Separator(const char* name);
MenuRow Item(const char* name, const QString& caption, std::function<void()> run,
             const QKeySequence& shortcut = {});
MenuRow Check(const char* name, const QString& caption, std::function<void(bool)> run,
              const QKeySequence& shortcut = {});
MenuRow Hidden(MenuRow row);
MenuRow EnabledWhen(MenuRow row, std::function<bool()> rule);
MenuRow CheckedWhen(MenuRow row, std::function<bool()> rule);

class MenuTable {
public:
    /// Builds `rows` into `bar`; menus and actions belong to `owner`, and the commands run in
    /// its thread.
    MenuTable(QMenuBar* bar, QWidget* owner, std::vector<MenuRow> rows);

    QAction* action(const char* name) const;
    QMenu* menu(const char* name) const;
    /// Every item with a rule enabled as its rule says now.
    void sync() const;
    /// Every check box as its row's rule says, without running its command: showing a stored
    /// choice is not a choice.
    void showChecks() const;

private:
    std::vector<MenuRow> m_rows;
    std::vector<std::pair<std::string, QAction*>> m_actions;
    std::vector<std::pair<std::string, QMenu*>> m_menus;
};

/// The main window's menus; their check boxes show `options`.
std::vector<MenuRow> MainMenuRows(frmMain& w, const OptionMan& options);

}  // namespace kz
