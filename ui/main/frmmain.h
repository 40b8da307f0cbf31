// SPDX-License-Identifier: MIT
// The main window, the game's view: the grid, the palette and the menu bar. It turns clicks
// and menu commands into calls on the game it owns, redraws the cells the game names, and
// talks to the player through the port.
//
// Widget geometry is given where it is built in twips divided by 15 (pixels at 96 dpi); Qt
// scales it for other screens. Every control carries its form name as object name, with an
// array index after an underscore ("lblBack_5", "mnUNDO_0"), so tests find it by name.
#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/answer.h"
#include "core/board.h"
#include "files/keptgame.h"
#include "game/game.h"
#include "history/undodata.h"
#include "logic/hint.h"
#include "logic/state.h"
#include "ui/main/generationjob.h"
#include "ui/main/gridview.h"
#include "ui/main/problemfiles.h"
#include "ui/main/recordbook.h"

class QAction;
class QCloseEvent;
class QLabel;
class QMouseEvent;
class QKeyEvent;
class QEvent;

namespace kz {

class DisplayScale;
class PlayClock;
class HintPanel;
class HintView;
class KeptGameCommands;
class MenuTable;
class NewProblemCommand;
class OptionMan;
class PaletteView;
class StatusPanel;
class UiPort;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    /// Runs the start-up layout and state (the single-instance check is the caller's). The
    /// port and the settings are owned outside and must outlive the window.
    frmMain(UiPort& port, OptionMan& options, QWidget* parent = nullptr);
    ~frmMain() override;

    // ---- Cell writers and checks ----

    /// Stores value, problem and mark of cell n and brings its picture, pointers and colour
    /// up to date. Cell numbers outside 1..81 and values outside 0..9 are ignored.
    void SetCell(int n, int value, bool problem, int mark);
    void ClearConflictMarks();
    /// The whole-board check; with mark true conflicting non-problem cells get MarkConflict.
    void CheckConsistency(bool& hasBlank, bool& hasConflict, bool mark);
    /// Empties the grid (all but the problem cells with keepProblem), resets the title, the
    /// history and the clock.
    void ClearBoard(bool keepProblem);
    /// The congratulation, with the elapsed time when the clock runs; stops the clock.
    void ShowCompletion();
    /// Re-applies every colour and picture from the current settings.
    void ColorSetChange();
    /// Shows text on the status panel (empty text hides it) and repaints at once, because
    /// the caller keeps the event loop busy.
    void WarmingMsg(const QString& text);

    // ---- Click and menu handlers of this window ----

    void imgCheckPai_Click(int index);
    void imgPai_Click(int index);
    void lblBack_Click(int index);
    void mnClear_Click(int index);
    void mnAllInp_Click();
    void mnExit_Click();
    void mnManuual_Click();
    void mnUNDO_Click(int index);
    void mnSetBreake_Click();
    /// Replays what the last undo took back.
    void mnRedo_Click();
    /// Takes up the newest game kept aside, other than the one being played.
    void mnResume_Click();
    /// Takes up the game kept in `file`.
    void resumeFrom(const std::filesystem::path& file);

    // The file, check, answer, verification, variant, options and posting commands.
    void mnFileRead_Click();
    void mnSave_Click(int index);
    void mnCheck_Click();
    void mnAnalyze_Click();
    void mn1Answer_Click();
    void mnAnswer_Click();
    void mnCreate_Click();
    void mnOption_Click();

    // The new-problem, rating and hint commands (frmmain_solving.cpp).
    void mnNewProblem_Click();
    void mnRate_Click();
    void mnHint_Click();

    // The note commands (frmmain_notes.cpp).
    void mnNoteMode_Click(bool on);
    void mnFillNotes_Click();
    void mnClearNotes_Click();
    void mnTidyNotes_Click(bool on);
    void mnHighlight_Click(bool on);
    /// Stores cell n's notes and redraws them; cells outside 1..81 are ignored. A cell with a
    /// digit keeps its notes but shows the digit alone.
    void SetNotes(int n, NoteSet notes);

    /// The hint's panel, beside the window while a hint shows.
    HintPanel* hintPanel() const;
    /// How a hint shows a cell; the next click takes it away.
    using HintLook = GridView::HintLook;
    HintLook hintLook(int n) const { return m_grid->hintLook(n); }
    GridView::NoteLook noteLook(int n, int digit) const { return m_grid->noteLook(n, digit); }
    /// True while a new problem is being made.
    bool generating() const;
    /// Replaces the generator (tests pass one they control).
    void setGenerateFunction(GenerationJob::GenerateFn fn);
    /// Replaces how the generator's thread starts (tests pass one that fails).
    void setLaunchFunction(GenerationJob::LaunchFn fn);

    // The comfort commands (frmmain_comfort.cpp): the clock, pause, notes by the right
    // button and the keys, and going back to before the first mistake.
    void mnShowClock_Click(bool on);
    void mnPause_Click(bool on);
    void mnEasyNotes_Click(bool on);
    void mnRewind_Click();
    /// A right click on cell n while notes by the right button are on.
    void cellRightClick(int n);
    PlayClock* playClock() const { return m_clock; }

    /// Where finished games are recorded; empty (the default) records nothing.
    void setRecordsPath(const std::filesystem::path& path) { m_records.setPath(path); }
    void mnRecords_Click() { m_records.show(this); }

    // ---- State ----

    Game& game() { return m_game; }
    const Board& board() const { return m_game.board(); }
    const CellConsistentArray& consistent() const { return m_game.consistent(); }
    const NoteArray& notes() const { return m_game.notes(); }
    /// True while clicks write notes instead of digits.
    bool noteMode() const { return m_noteMode; }
    UndoData& history() { return m_game.history(); }
    const UndoData& history() const { return m_game.history(); }
    /// The palette choice: 1..9 a digit, 0 the eraser.
    int selectedTile() const { return m_selectedTile; }
    /// When the current problem was started; invalid while nothing is timed.
    QDateTime startTime() const;
    void setStartTime(const QDateTime& start);
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    /// The cursor picture (1..10) the last palette choice gave cell n while it was enterable.
    int cellCursorNumber(int n) const { return m_grid->cursorNumber(n); }

    /// Where the game in progress is kept aside after every change; empty (the default)
    /// keeps nothing. The games kept before it stay on offer beside it.
    void setKeptGamePath(const std::filesystem::path& path);
    /// At start-up: when a kept game is on offer, the status panel says how to take it up,
    /// until the first click or key.
    void tellOffer();
    /// True while the start-up line about the kept game shows.
    bool tellingOffer() const;
    /// True while a game other than this one is on offer.
    bool gameOnOffer() const;
    /// Hands the game in progress to the kept-game writer now, if it changed.
    void keepGame();
    /// keepGame, then waits until the file is written (a failed write is tried again): at
    /// closing and at a log-out.
    void flushKeptGame();
    /// The game on the board as the kept-game file holds it.
    KeptGame currentGame() const;
    /// The puzzle the hint and the rating work on, when one is kept (see problemDigits).
    const std::optional<logic::Digits>& keptPuzzle() const { return m_game.puzzle(); }

private:
    QAction* action(const char* name) const;
    void showMessage(const QString& text);
    /// A solver whose progress goes to the status panel and whose notice to a message box.
    Solver makeSolver();
    /// The refusals shared by the answer commands: a conflict, or no blank cell.
    bool canAnswer();
    /// Solves the board and hands the solution to `reveal`, or says it cannot be solved.
    void revealSolved(const std::function<void(const ValueArray16&)>& reveal);
    void saveProblem();
    void makePostingString();
    /// A new board of givens: a file, a new puzzle or a variant.
    void loaded(const ValueArray16& values, const std::string& caption);
    /// The undo, redo and resume commands enabled as the game and the kept games say.
    void syncMenus();
    /// After the game took up another board: the caption, the menus and the games on offer.
    void boardReplaced();
    /// The palette tiles and cell pointers, in the note form while the note mode is on.
    void applyTileForms();
    /// Redraws cell n as the game now holds it: told by the game of every cell it writes.
    void drawCell(int n);
    /// What the player hears or sees of a click or a hint's step on the board.
    void afterStep(Game::Outcome outcome);
    /// The caption from the game's.
    void syncTitle();
    /// The port's clock, in milliseconds since the epoch.
    std::int64_t nowMs() const;
    /// The clock and the right button as the settings say, at start-up.
    void applyComfortOptions();
    /// The window's fixed size: taller by the clock's line while it shows.
    void fitWindow();
    /// Clears a hint and takes the problem digits; on a refusal, shows it and gives nothing.
    std::optional<logic::Digits> acceptedProblem();
    /// Takes a hint away: its looks and its panel.
    void clearHint();
    /// A hint's step done on the board, as one undo step.
    void applyHint(const logic::Step& step);
    /// Every command off while a problem is made, so that nothing races with its arrival.
    void generationBusy(bool busy);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    UiPort& m_port;
    OptionMan& m_options;

    Game m_game;
    int m_selectedTile = 1;
    QString m_tag;
    ProblemFiles m_files;
    GridView* m_grid = nullptr;
    PaletteView* m_palette = nullptr;
    StatusPanel* m_status = nullptr;
    QLabel* m_lblVersion = nullptr;

    std::unique_ptr<MenuTable> m_menus;
    PlayClock* m_clock = nullptr;
    DisplayScale* m_scale = nullptr;
    RecordBook m_records;
    QWidget* m_client = nullptr;

    bool m_noteMode = false;

    std::unique_ptr<KeptGameCommands> m_kept;

    HintView* m_hintView = nullptr;
    std::unique_ptr<NewProblemCommand> m_newProblem;
};

}  // namespace kz
