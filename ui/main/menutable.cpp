// SPDX-License-Identifier: MIT
#include "ui/main/menutable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

namespace kz {

namespace {

MenuRow Row(MenuRow::Kind kind, const char* name, const QString& caption = {}) {
    MenuRow row;
    row.kind = kind;
    row.name = name;
    row.caption = caption;
    return row;
}

}  // namespace

MenuRow Menu(const char* name, const QString& caption) {
    return Row(MenuRow::Kind::Menu, name, caption);
}

MenuRow Submenu(const char* name, const QString& caption) {
    return Row(MenuRow::Kind::Submenu, name, caption);
}

MenuRow End() {
    return Row(MenuRow::Kind::End, "");
}

MenuRow Separator(const char* name) {
    return Row(MenuRow::Kind::Separator, name);
}

MenuRow Item(const char* name, const QString& caption, std::function<void()> run,
             const QKeySequence& shortcut) {
    MenuRow row = Row(MenuRow::Kind::Item, name, caption);
    row.shortcut = shortcut;
    if (run) row.run = [run = std::move(run)](bool) { run(); };
    return row;
}

MenuRow Check(const char* name, const QString& caption, std::function<void(bool)> run,
              const QKeySequence& shortcut) {
    MenuRow row = Row(MenuRow::Kind::Item, name, caption);
    row.shortcut = shortcut;
    row.run = std::move(run);
    row.checkable = true;
    return row;
}

MenuRow Hidden(MenuRow row) {
    row.hidden = true;
    return row;
}

MenuRow EnabledWhen(MenuRow row, std::function<bool()> rule) {
    row.enabled = std::move(rule);
    return row;
}

MenuRow CheckedWhen(MenuRow row, std::function<bool()> rule) {
    row.checked = std::move(rule);
    return row;
}

MenuTable::MenuTable(QMenuBar* bar, QWidget* owner, std::vector<MenuRow> rows)
    : m_rows(std::move(rows)) {
    // The menus open around the current row: the top-level one first, submenus after it.
    std::vector<QMenu*> open;
    for (const MenuRow& row : m_rows) {
        switch (row.kind) {
            case MenuRow::Kind::Menu:
            case MenuRow::Kind::Submenu: {
                if (row.kind == MenuRow::Kind::Menu) open.clear();
                auto* menu = new QMenu(row.caption, owner);
                menu->setObjectName(QLatin1String(row.name));
                menu->menuAction()->setObjectName(QLatin1String(row.name));
                if (open.empty()) {
                    bar->addMenu(menu);
                } else {
                    open.back()->addMenu(menu);
                }
                open.push_back(menu);
                m_menus.emplace_back(row.name, menu);
                break;
            }
            case MenuRow::Kind::End:
                if (!open.empty()) open.pop_back();
                break;
            case MenuRow::Kind::Separator:
                if (!open.empty()) {
                    QAction* separator = open.back()->addSeparator();
                    separator->setObjectName(QLatin1String(row.name));
                    separator->setVisible(!row.hidden);
                }
                break;
            case MenuRow::Kind::Item: {
                auto* action = new QAction(row.caption, owner);
                action->setObjectName(QLatin1String(row.name));
                action->setShortcut(row.shortcut);
                action->setCheckable(row.checkable);
                action->setVisible(!row.hidden);
                if (!open.empty()) open.back()->addAction(action);
                if (row.run) {
                    // toggled, not triggered, for a check: a change made from code is a choice too.
                    if (row.checkable) {
                        QObject::connect(action, &QAction::toggled, owner, row.run);
                    } else {
                        QObject::connect(action, &QAction::triggered, owner,
                                         [run = row.run] { run(false); });
                    }
                }
                m_actions.emplace_back(row.name, action);
                break;
            }
        }
    }
}

QAction* MenuTable::action(const char* name) const {
    for (const auto& [key, action] : m_actions) {
        if (key == name) return action;
    }
    return nullptr;
}

QMenu* MenuTable::menu(const char* name) const {
    for (const auto& [key, menu] : m_menus) {
        if (key == name) return menu;
    }
    return nullptr;
}

void MenuTable::sync() const {
    for (const MenuRow& row : m_rows) {
        if (row.kind == MenuRow::Kind::Item && row.enabled)
            action(row.name)->setEnabled(row.enabled());
    }
}

void MenuTable::showChecks() const {
    for (const MenuRow& row : m_rows) {
        if (!row.checked) continue;
        QAction* checkBox = action(row.name);
        const QSignalBlocker quiet(checkBox);
        checkBox->setChecked(row.checked());
    }
}

}  // namespace kz
