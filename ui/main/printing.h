// SPDX-License-Identifier: MIT
// The window's print commands: the current game on paper, and booklets of new puzzles made
// off the window's thread. The window creates one, hands it a way to read the game, and
// adds its menu items; every dialog goes through the port.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "core/board.h"
#include "logic/state.h"
#include "print/booklet.h"
#include "ui/dialogs/frmbooklet.h"
#include "ui/dialogs/frmprintgame.h"

class QAction;
class QMenu;
class QPrinter;
class QDialog;
class QWidget;

namespace kz {

class BookletJob;
class OptionMan;
class UiPort;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    /// The game as the window holds it.
    struct Game {
        Board board{};
        NoteArray notes{};
        QString title;                        ///< the window's caption
        std::optional<logic::Digits> puzzle;  ///< the kept puzzle, for its level and rating
    };
    using GameFn = std::function<Game()>;

    /// `window` owns the commands; the port and the settings must outlive them.
    PrintCommands(QWidget& window, UiPort& port, const OptionMan& options, GameFn game);
    ~PrintCommands() override;

    /// Adds 印刷 (Ctrl+P) and 問題集を作成 to `menu`.
    void addActions(QMenu* menu);

    /// 印刷: the print dialog of the game, then the print preview or the printer's dialog.
    void printGame();
    /// 問題集を作成: the booklet dialog, the puzzles made with progress and ｷｬﾝｾﾙ, then the
    /// booklet previewed, printed or written as PDF.
    void makeBooklet();

    /// True while a booklet's puzzles are being made.
    bool making() const { return !m_job.isNull(); }
    /// Replaces the generator (tests pass one they control).
    void setGenerateFunction(print::GenerateFn fn) { m_generate = std::move(fn); }

signals:
    /// A booklet was made and handed to its output, or its making ended otherwise.
    void bookletDone();

private:
    void bookletMade(const print::Made& made);
    void output(const print::Booklet& booklet);
    /// Prints through the port on the one printer, and reports a drawing failure; `paint`
    /// returns it.
    void printThroughPort(const QString& document, bool preview,
                          const std::function<QString(QPrinter&)>& paint);
    void showError(const QString& text);

    QWidget& m_window;
    UiPort& m_port;
    const OptionMan& m_options;
    GameFn m_game;
    print::GenerateFn m_generate;
    BookletChoice m_bookletChoice;
    GamePrintChoice m_gameChoice;
    print::Order m_order;
    QPointer<BookletJob> m_job;
    QPointer<QDialog> m_progress;
    QAction* m_mnBooklet = nullptr;
    /// Made at the first print and kept, so that the printer, the paper and the other
    /// settings chosen stay for the next print of the session.
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace kz
