// SPDX-License-Identifier: MIT
// The menu bar built from its rows: every item as its row says, and every rule for being
// enabled holding after each kind of command, however the command ended.
#include <QtTest>
#include <functional>
#include <vector>

#include "support/uitest.h"
#include "ui/main/menutable.h"

using namespace kz::test;

namespace {

/// The first item that differs from its row, or from its row's rule; empty when none does.
QString mismatch(const kz::frmMain& win, const std::vector<kz::MenuRow>& rows) {
    for (const kz::MenuRow& row : rows) {
        if (row.kind != kz::MenuRow::Kind::Item) continue;
        const QString name = QLatin1String(row.name);
        const QList<QAction*> found = win.findChildren<QAction*>(name);
        if (found.size() != 1) return name + QStringLiteral(" is not there once");
        const QAction* a = found.first();
        if (a->text() != row.caption || a->shortcut() != row.shortcut ||
            a->isCheckable() != row.checkable || a->isVisible() == row.hidden)
            return name + QStringLiteral(" is not as its row says");
        if (row.enabled && a->isEnabled() != row.enabled())
            return name + QStringLiteral(" is enabled against its rule");
    }
    return {};
}

}  // namespace

class MenuTableTest : public QObject {
    Q_OBJECT

private slots:
    void itemsFollowTheirRows() {
        WindowEnv env;
        env.win->setKeptGamePath(env.dir.filePath(QStringLiteral("state/game.txt")).toStdString());
        env.load(kPuzzle, true);
        const std::vector<kz::MenuRow> rows = kz::MainMenuRows(*env.win, *env.options);
        const auto offered = [&] { return env.child<QAction>("mnResume")->isEnabled(); };
        const std::vector<std::pair<const char*, std::function<void()>>> steps = {
            {"start", [] {}},
            {"place", [&] { env.place(1, 6); }},
            {"undo", [&] { env.trigger("mnUNDO_0"); }},
            {"redo", [&] { env.trigger("mnRedo"); }},
            {"breakpoint", [&] { env.trigger("mnSetBreake"); }},
            // A making that ends without a puzzle leaves the menus as the game says, not all on.
            {"new problem not made",
             [&] {
                 env.win->setGenerateFunction([](auto&&...) {
                     return kz::generate::Result{{}, 50, false};
                 });
                 env.port.dialogScripts.push_back(clickThen({"cmdOK"}));
                 env.port.randoms = {0.5};
                 env.trigger("mnNewProblem");
                 QTRY_VERIFY(!env.win->generating());
                 QVERIFY(!offered());
             }},
            {"clear",
             [&] {
                 env.win->keepGame();
                 env.win->flushKeptGame();
                 env.trigger("mnClear_0");
                 QVERIFY(offered());
             }},
            {"resume", [&] { env.trigger("mnResume"); }},
            {"undo to breakpoint", [&] { env.trigger("mnUNDO_1"); }},
        };
        for (const auto& [name, step] : steps) {
            step();
            if (QTest::currentTestFailed()) return;
            const QString wrong = mismatch(*env.win, rows);
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(QLatin1String(name) + QStringLiteral(": ") + wrong));
        }
        QCOMPARE(env.port.unexpected, QStringList());
    }
};

QTEST_MAIN(MenuTableTest)
#include "menutable_test.moc"
