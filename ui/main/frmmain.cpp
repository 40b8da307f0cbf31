// SPDX-License-Identifier: MIT
// The main window: layout, start-up state, placing tiles, cell display, the clear, quit,
// make-enterable and manual commands, the status panel and the undo commands.
#include "ui/main/frmmain.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "core/consistency.h"
#include "history/notes.h"
#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/dialogs/palette.h"
#include "ui/main/apptitle.h"
#include "ui/main/gridview.h"
#include "ui/main/hintview.h"
#include "ui/main/keptcommands.h"
#include "ui/main/manual.h"
#include "ui/main/menutable.h"
#include "ui/main/newproblem.h"
#include "ui/main/paletteview.h"
#include "ui/main/playclock.h"
#include "ui/main/printing.h"
#include "ui/main/scale.h"
#include "ui/main/statuspanel.h"
#include "ui/main/twips.h"
#include "ui/main/uiport.h"
#include "ui/main/verdicts.h"

namespace kz {

namespace {

constexpr int kClientWidth = 413;   // 6195 twips
constexpr int kClientHeight = 488;  // 7320 twips

const QString kBreakpointRemoved = QStringLiteral("ﾌﾞﾚｲｸﾎﾟｲﾝﾄを一つ解除しました");

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

/// Seconds since the epoch, rounded to the nearest whole second. A full timestamp rather
/// than seconds since midnight, so a problem finished on a later day still reads right.
qint64 roundedSeconds(const QDateTime& t) {
    return (t.toMSecsSinceEpoch() + 500) / 1000;
}

void fillWith(QWidget* w, const QColor& color) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, color);
    w->setPalette(pal);
}

}  // namespace

frmMain::frmMain(UiPort& port, OptionMan& options, QWidget* parent)
    : QMainWindow(parent),
      m_port(port),
      m_options(options),
      m_files(port),
      m_records(port, m_game) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(WindowIcon());
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    m_client = client;
    // The grid takes no keys, but something in the window must hold the focus: the menu bar
    // hands it back to that widget when a menu closes, and keeps it when there is none, so
    // that plain letters would go on opening menus and running their items. A click on a
    // cell brings the focus back here too.
    client->setFocusPolicy(Qt::ClickFocus);
    client->setFocus();

    // The sunken separator under the menu bar.
    for (int i = 0; i < 2; ++i) {
        auto* line = new QWidget(client);
        line->setObjectName(arrayName("Line1", i));
        line->setGeometry(0, i, px(6180) + 1, 1);
        line->setAutoFillBackground(true);
        fillWith(line, palette().color(i == 0 ? QPalette::Dark : QPalette::Light));
    }

    m_grid = new GridView(client, m_game, m_options, [this](int n, bool onTile) {
        if (onTile) {
            imgPai_Click(n);
        } else {
            lblBack_Click(n);
        }
    });
    m_hintView = new HintView(this, *m_grid, [this](const logic::Step& step) { applyHint(step); });
    m_palette = new PaletteView(client, [this](int item) { imgCheckPai_Click(item); });
    // The cover hides the grid with its lines: the thick frame is 399 pixels from (7, 11).
    m_clock = new PlayClock(client, QRect(7, 11, 399, 399), kClientHeight, m_game,
                            [this] { return nowMs(); });
    connect(m_clock, &PlayClock::pausedChanged, this, [this](bool paused) {
        if (QAction* pause = action("mnPause"); pause->isChecked() != paused) {
            const QSignalBlocker block(pause);
            pause->setChecked(paused);
        }
    });

    auto* label1 = new QLabel(QStringLiteral("Version"), client);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(px(5520), px(6660), px(615), px(195));
    label1->setAlignment(Qt::AlignCenter);
    ShrinkFontToFit(*label1, label1->text(), label1->width());

    m_lblVersion = new QLabel(QStringLiteral("9.9"), client);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setGeometry(px(5520), px(6900), px(615), px(195));
    m_lblVersion->setAlignment(Qt::AlignCenter);
    m_lblVersion->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));

    // The status panel lies above everything on the grid.
    m_status = new StatusPanel(client);
    m_newProblem = std::make_unique<NewProblemCommand>(
        *this, client, m_port, m_options,
        NewProblemCommand::Hooks{
            [this](bool busy) { generationBusy(busy); },
            [this](const ValueArray16& givens, const std::string& caption, int level) {
                loaded(givens, caption);
                m_records.start(level);
            }});

    m_menus = std::make_unique<MenuTable>(menuBar(), this, MainMenuRows(*this, m_options));
    m_scale = new DisplayScale(*this, *client, *m_grid, m_options, [this] {
        m_palette->setScale(m_scale->factor());
        fitWindow();
        // Only the palette is drawn again: a choice of tile would close an open hint.
        m_palette->frame(m_selectedTile == 0 ? 10 : m_selectedTile);
        m_palette->draw(m_options.ImageSetBase(), m_noteMode);
    });
    m_scale->fillMenu(m_menus->menu("mnScale"));
    (new PrintCommands(*this, m_port, m_options, [this] {
        return PrintCommands::Game{board(), notes(), windowTitle(), keptPuzzle()};
    }))->addActions(m_menus->menu("mnGame"));
    m_kept = std::make_unique<KeptGameCommands>(
        m_port, m_game,
        KeptGameCommands::Hooks{[this] { return m_clock->gameNow(); }, [this] { syncMenus(); },
                                [this](const std::filesystem::path& file) { resumeFrom(file); }});
    m_kept->attachList(m_menus->menu("mnRecent"));
    history().setMenuListener([this](bool, bool) { syncMenus(); });
    history().setRedoListener([this](bool) { syncMenus(); });
    m_game.setCellListener([this](int n) { drawCell(n); });
    m_game.setChangeListener([this] { m_kept->schedule(); });
    m_game.setRules([this] {
        return GameRules{m_options.GetOption(OptAutoCheck) == 1,
                         m_options.GetExtra(ExtTidyNotes) == 1};
    });

    fitWindow();

    // ---- Start-up ----
    m_lblVersion->setText(QStringLiteral("%1.%2").arg(KZ_VERSION_MAJOR).arg(KZ_VERSION_MINOR));

    m_options.LoadOptions();
    m_menus->showChecks();
    applyComfortOptions();
    for (int n = 1; n <= kCellCount; ++n) SetCell(n, 0, false, MarkNone);
    m_selectedTile = 1;
    ClearBoard(false);
    imgCheckPai_Click(1);
}

frmMain::~frmMain() {
    // Stop the workers before any widget goes; each joins its thread, the writer after
    // writing what it was last handed.
    m_newProblem.reset();
    m_kept.reset();
}

QAction* frmMain::action(const char* name) const {
    return m_menus->action(name);
}

// ---- Cell display ----

void frmMain::SetCell(int n, int value, bool problem, int mark) {
    m_game.SetCell(n, value, problem, mark);
}

void frmMain::drawCell(int n) {
    // A hint describes the board it was given for; any change makes it stale.
    clearHint();
    m_grid->draw(n);
}

void frmMain::ClearConflictMarks() {
    m_game.ClearConflictMarks();
}

void frmMain::CheckConsistency(bool& hasBlank, bool& hasConflict, bool mark) {
    const ConsistencyResult result = m_game.CheckConsistency(mark);
    hasBlank = result.hasBlank;
    hasConflict = result.hasConflict;
}

void frmMain::ColorSetChange() {
    m_grid->drawAll();
    m_palette->draw(m_options.ImageSetBase(), m_noteMode);
    m_palette->setFrameColors(PaletteColor(m_options.GetOption(OptGridColor)),
                              PaletteColor(m_options.GetOption(OptBlankColor)));
    if (m_noteMode) m_grid->setNoteMode(true);
}

// ---- Placing tiles ----

void frmMain::imgCheckPai_Click(int index) {
    clearHint();
    if (index < 1 || index > 10) return;
    m_selectedTile = index;
    m_palette->frame(index);
    m_palette->draw(m_options.ImageSetBase(), m_noteMode);
    m_grid->setChoice(m_selectedTile);
    if (m_selectedTile == 10) m_selectedTile = 0;
    if (m_noteMode) m_grid->setNoteMode(true);
}

void frmMain::imgPai_Click(int index) {
    clearHint();
    // The board is about to be replaced by the problem being made.
    if (generating()) return;
    afterStep(m_game.Click(index, m_selectedTile, m_noteMode));
}

void frmMain::afterStep(Game::Outcome outcome) {
    if (outcome == Game::Outcome::Refused) m_port.beep();
    if (outcome == Game::Outcome::Completed) ShowCompletion();
}

void frmMain::lblBack_Click(int index) {
    imgPai_Click(index);
}

void frmMain::ShowCompletion() {
    // A step made while paused (an answer revealed from the menu) finishes the game: the
    // clock goes on first, so the time told leaves the pause out.
    m_clock->resume();
    QString text = CompletionMessage(std::nullopt);
    if (const QDateTime start = startTime(); start.isValid()) {
        // A clock set back while playing must not produce a negative time.
        const qint64 e = std::max<qint64>(0, roundedSeconds(m_port.now()) - roundedSeconds(start));
        text = CompletionMessage(e) + m_records.finished(e);
        m_game.setStartMs(std::nullopt);
    }
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
}

// ---- Window commands ----

void frmMain::ClearBoard(bool keepProblem) {
    // The game cleared stays on offer: another one begins.
    m_game.Clear(keepProblem);
    boardReplaced();
}

QDateTime frmMain::startTime() const {
    const std::optional<std::int64_t> start = m_game.startMs();
    return start ? QDateTime::fromMSecsSinceEpoch(*start) : QDateTime();
}

void frmMain::setStartTime(const QDateTime& start) {
    m_game.setStartMs(start.isValid() ? std::optional(start.toMSecsSinceEpoch()) : std::nullopt);
}

void frmMain::fitWindow() {
    const int height = kClientHeight + (m_clock->shown() ? PlayClock::lineHeight() : 0);
    m_client->setFixedSize(m_scale->length(kClientWidth), m_scale->length(height));
    setFixedSize(m_client->width(), m_client->height() + menuBar()->sizeHint().height());
}

std::int64_t frmMain::nowMs() const {
    return m_port.now().toMSecsSinceEpoch();
}

void frmMain::syncTitle() {
    setWindowTitle(kAppTitle + QString::fromStdString(m_game.caption()));
}

void frmMain::syncMenus() {
    // While a problem is made every command stays off; its end syncs them.
    if (!generating()) m_menus->sync();
}

void frmMain::boardReplaced() {
    syncTitle();
    m_kept->refresh();
}

void frmMain::mnClear_Click(int index) {
    ClearBoard(index == 1);
}

void frmMain::mnAllInp_Click() {
    m_game.MakeAllEnterable();
}

void frmMain::mnExit_Click() {
    close();
}

void frmMain::mnManuual_Click() {
    m_port.openUrl(ManualUrl());
}

void frmMain::WarmingMsg(const QString& text) {
    m_status->say(text);
    // The caller is computing on this thread; a queued update would only show afterwards.
    repaint();
}

void frmMain::mousePressEvent(QMouseEvent* event) {
    // A click anywhere on the window ends a hint, not only one on a cell.
    clearHint();
    QMainWindow::mousePressEvent(event);
}

// ---- Undo ----

void frmMain::mnUNDO_Click(int index) {
    if (index == 0) {
        if (m_game.UndoOne() == UndoData::UndoOutcome::BreakpointRemoved) {
            m_port.message(kBreakpointRemoved, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
        }
    } else if (index == 1) {
        m_game.UndoToBreakpoint();
    }
    syncMenus();
}

void frmMain::mnRedo_Click() {
    clearHint();
    if (generating()) return;
    m_game.Redo();
    syncMenus();
}

void frmMain::mnSetBreake_Click() {
    m_game.SetBreakpoint();
    syncMenus();
}

}  // namespace kz
