// SPDX-License-Identifier: MIT
// What the window and dialog tests share: a settings file of their own in a scratch
// directory, the window or dialog built over it, and the boards and colours they check.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QColor>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "settings/optionman.h"
#include "support/fakeport.h"
#include "ui/main/frmmain.h"

namespace kz::test {

// A 17-clue puzzle with one solution; the rule step alone does not solve it.
inline constexpr char kPuzzle[] =
    "................12..3.45...............1.6..7.54.8...3......5.....2.....2..7....9";
inline constexpr char kSolution[] =
    "679321845485697312123845976316574298892136457754982163937468521568219734241753689";

inline const QColor kWhite(255, 255, 255);
inline const QColor kLightYellow(255, 255, 0);
inline const QColor kLightRed(255, 0, 0);
inline const QColor kLightCyan(0, 255, 255);

/// The digit of cell `n` (1-based) in an 81-character board line; anything else is 0.
inline int digitAt(const char* line, int n) {
    const char c = line[n - 1];
    return c >= '1' && c <= '9' ? c - '0' : 0;
}

/// A dialog script that clicks the named buttons in turn and returns the dialog's result.
inline std::function<int(QDialog&)> clickThen(QStringList buttons) {
    return [buttons](QDialog& d) {
        for (const QString& name : buttons) {
            auto* w = d.findChild<QAbstractButton*>(name);
            if (!w) return -1;
            QTest::mouseClick(w, Qt::LeftButton);
        }
        return d.result();
    };
}

/// One main window with its own settings file, port and history.
/// Shows the window and makes it the active one, as the desktop does for a started program;
/// shortcuts and menu access keys only reach an active window.
inline bool activate(QWidget* w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

struct WindowEnv {
    explicit WindowEnv(const QByteArray& settingsLine = {}) {
        if (!settingsLine.isEmpty()) {
            QFile f(settingsPath());
            if (f.open(QIODevice::WriteOnly)) f.write(settingsLine + "\r\n");
        }
        options = std::make_unique<OptionMan>(settingsPath().toStdString());
        win = std::make_unique<frmMain>(port, *options);
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("kazarinoset.env")); }

    template <typename T>
    T* child(const QString& name) const {
        return win->findChild<T*>(name);
    }
    QWidget* back(int n) const { return child<QWidget>(QStringLiteral("lblBack_%1").arg(n)); }
    QLabel* tile(int n) const { return child<QLabel>(QStringLiteral("imgPai_%1").arg(n)); }
    QColor colour(int n) const { return back(n)->palette().color(QPalette::Window); }

    /// Runs a menu command through its action.
    void trigger(const char* name) const {
        QAction* a = child<QAction>(QLatin1String(name));
        QVERIFY2(a, name);
        a->trigger();
    }
    /// Sets the board from an 81-character line; digits become givens or entries.
    void load(const char* line, bool problem) const {
        for (int n = 1; n <= kCellCount; ++n) {
            const int d = digitAt(line, n);
            win->SetCell(n, d, problem && d != 0, MarkNone);
        }
    }
    /// Picks palette item `digit` (10 the eraser) and clicks cell n.
    void place(int n, int digit) const {
        QTest::mouseClick(child<QWidget>(QStringLiteral("imgCheckPai_%1").arg(digit)),
                          Qt::LeftButton);
        QTest::mouseClick(back(n), Qt::LeftButton);
    }

    QTemporaryDir dir;
    FakePort port;
    std::unique_ptr<OptionMan> options;
    std::unique_ptr<frmMain> win;
};

/// A settings dialog over a fresh settings file, for a Qt Test class to inherit next to
/// QObject; its init() and cleanup() slots call initFixture() and cleanupFixture().
template <typename Dialog>
class DialogFixture {
protected:
    void initFixture() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_options = std::make_unique<OptionMan>(settingsPath().toStdString());
        m_port = std::make_unique<FakePort>();
    }
    void cleanupFixture() {
        m_dialog.reset();
        if (m_port)
            QVERIFY2(m_port->unexpected.isEmpty(), qPrintable(m_port->unexpected.join("; ")));
    }

    QString settingsPath() const { return m_dir->filePath(QStringLiteral("kz.env")); }
    void writeSettings(const QByteArray& content) {
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray readSettings() const {
        QFile file(settingsPath());
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll();
    }

    void open() {
        m_options->LoadOptions();
        m_dialog = std::make_unique<Dialog>(*m_options, *m_port);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    template <typename T>
    T* find(const QString& name) const {
        T* widget = m_dialog->template findChild<T*>(name);
        if (widget == nullptr) qWarning() << "no widget" << name;
        return widget;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<OptionMan> m_options;
    std::unique_ptr<FakePort> m_port;
    std::unique_ptr<Dialog> m_dialog;
};

}  // namespace kz::test
