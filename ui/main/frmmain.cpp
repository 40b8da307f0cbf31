// SPDX-License-Identifier: MIT
// The main window: layout, start-up state, placing tiles, cell display, the clear, quit,
// make-enterable and manual commands, the status panel and the undo commands.
#include "ui/main/frmmain.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QUrl>
#include <algorithm>

#include "core/consistency.h"
#include "game/keeper.h"
#include "history/notes.h"
#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/dialogs/palette.h"
#include "ui/main/apptitle.h"
#include "ui/main/clicklabel.h"
#include "ui/main/generationpanel.h"
#include "ui/main/gridview.h"
#include "ui/main/hintview.h"
#include "ui/main/playclock.h"
#include "ui/main/printing.h"
#include "ui/main/uiport.h"
#include "ui/main/wakushape.h"

namespace kz {

namespace {

/// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int px(double twips) {
    return static_cast<int>(twips / 15.0 + 0.5);
}

constexpr int kClientWidth = 413;   // 6195 twips
constexpr int kClientHeight = 488;  // 7320 twips
constexpr int kPalettePitch = 480;
constexpr int kTileWidth = 360;
constexpr int kTileHeight = 480;
constexpr int kWakuWidth = 495;
constexpr int kWakuHeight = 615;

const QString kCompleted = QStringLiteral("完成おめでとう！");
const QString kElapsed = QStringLiteral("経過時間 ");
const QString kBreakpointRemoved = QStringLiteral("ﾌﾞﾚｲｸﾎﾟｲﾝﾄを一つ解除しました");

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

/// Seconds since the epoch, rounded to the nearest whole second. A full timestamp rather
/// than seconds since midnight, so a problem finished on a later day still reads right.
qint64 roundedSeconds(const QDateTime& t) {
    return (t.toMSecsSinceEpoch() + 500) / 1000;
}

QString twoDigits(qint64 v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

void fillWith(QWidget* w, const QColor& color) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, color);
    w->setPalette(pal);
}

}  // namespace

frmMain::frmMain(UiPort& port, OptionMan& options, QWidget* parent)
    : QMainWindow(parent), m_port(port), m_options(options) {
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
    buildPalette(client);
    // The cover hides the grid with its lines: the thick frame is 399 pixels from (7, 11).
    m_clock = new PlayClock(client, QRect(7, 11, 399, 399), kClientHeight, m_game,
                            [this] { return nowMs(); });
    connect(m_clock, &PlayClock::pausedChanged, this, [this](bool paused) {
        if (m_mnPause->isChecked() != paused) {
            const QSignalBlocker block(m_mnPause);
            m_mnPause->setChecked(paused);
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
    m_frmWarming = new QFrame(client);
    m_frmWarming->setObjectName(QStringLiteral("frmWarming"));
    m_frmWarming->setFrameShape(QFrame::NoFrame);
    m_frmWarming->setGeometry(px(960), px(2760), px(4215), px(855));
    m_frmWarming->setAutoFillBackground(true);
    m_lblWarming = new QLabel(QStringLiteral("Label1"), m_frmWarming);
    m_lblWarming->setObjectName(QStringLiteral("lblWarming"));
    m_lblWarming->setGeometry(px(120), px(300), px(3975), px(255));
    m_lblWarming->setAlignment(Qt::AlignCenter);
    m_frmWarming->hide();
    m_frmWarming->raise();
    m_generationPanel = new GenerationPanel(client);
    m_generate = [](const generate::Request& request, std::mt19937_64& random,
                    const std::atomic<bool>* cancel, const generate::AttemptFn& onAttempt) {
        return generate::Generate(request, random, cancel, onAttempt);
    };

    buildMenus();
    history().setMenuListener([this](bool canUndoOne, bool canUndoToBreakpoint) {
        m_mnUNDO[0]->setEnabled(canUndoOne);
        m_mnUNDO[1]->setEnabled(canUndoToBreakpoint);
    });
    history().setRedoListener([this](bool canRedo) { m_mnRedo->setEnabled(canRedo); });
    m_game.setCellListener([this](int n) { drawCell(n); });
    m_game.setChangeListener([this] { scheduleKeep(); });
    m_game.setRules([this] {
        return GameRules{m_options.GetOption(OptAutoCheck) == 1,
                         m_options.GetExtra(ExtTidyNotes) == 1};
    });

    fitWindow();

    // ---- Start-up ----
    m_lblVersion->setText(QStringLiteral("%1.%2").arg(KZ_VERSION_MAJOR).arg(KZ_VERSION_MINOR));

    m_options.LoadOptions();
    {
        // Showing the stored choice is not a choice: nothing is written back.
        const QSignalBlocker tidy(m_mnTidyNotes);
        const QSignalBlocker highlight(m_mnHighlight);
        m_mnTidyNotes->setChecked(m_options.GetExtra(ExtTidyNotes) == 1);
        m_mnHighlight->setChecked(m_options.GetExtra(ExtHighlight) == 1);
    }
    applyComfortOptions();
    for (int n = 1; n <= kCellCount; ++n) SetCell(n, 0, false, MarkNone);
    m_selectedTile = 1;
    ClearBoard(false);
    imgCheckPai_Click(1);
}

frmMain::~frmMain() {
    // Stop the workers before any widget goes; each joins its thread, the writer after
    // writing what it was last handed.
    delete m_job;
    m_keeper.reset();
}

void frmMain::buildPalette(QWidget* client) {
    m_frame1 = new CaptionBox(QStringLiteral("この中の牌をｸﾘｯｸした後に、上のﾏｽをｸﾘｯｸしてください"),
                              client);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setGeometry(px(120), px(6300), px(5295), px(915));

    // The frame first, so the items lie over it.
    m_shpWaku = new WakuShape(m_frame1);
    m_shpWaku->setObjectName(QStringLiteral("shpWaku"));
    m_shpWaku->setGeometry(px(4680), px(240), px(kWakuWidth), px(kWakuHeight));

    for (int i = 1; i <= 10; ++i) {
        auto* item = new ClickLabel(m_frame1);
        item->setObjectName(arrayName("imgCheckPai", i));
        item->setGeometry(px(180 + kPalettePitch * (i - 1)), px(300), px(kTileWidth),
                          px(kTileHeight));
        connect(item, &ClickLabel::clicked, this, [this, i] { imgCheckPai_Click(i); });
        m_imgCheckPai[i] = item;
    }
}

QAction* frmMain::addAction(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto submenu = [this](QMenuBar* b, QMenu* parentMenu, const char* name,
                          const QString& caption) {
        auto* menu = new QMenu(caption, this);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        if (b) b->addMenu(menu);
        if (parentMenu) parentMenu->addMenu(menu);
        return menu;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* sep = menu->addSeparator();
        sep->setObjectName(QLatin1String(name));
        return sep;
    };

    QMenu* file = submenu(bar, nullptr, "mnFile", QStringLiteral("ﾌｧｲﾙ(&F)"));
    m_mnFileRead = addAction(file, "mnFileRead", QStringLiteral("問題ﾌｧｲﾙを読み込む(&R)..."),
                             QKeySequence(Qt::CTRL | Qt::Key_O));
    separator(file, "sep11");
    m_mnSave[0] = addAction(file, "mnSave_0", QStringLiteral("問題ﾌｧｲﾙとして保存する(&S)..."),
                            QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnSave[1] = addAction(file, "mnSave_1", QStringLiteral("掲示板投稿用の文字列を作る(&B)..."));
    separator(file, "sep12");
    QAction* clear0 = addAction(file, "mnClear_0", QStringLiteral("すべてのﾏｽ目をｸﾘｱする(&E)"));
    QAction* clear1 = addAction(file, "mnClear_1", QStringLiteral("問題以外のﾏｽ目をｸﾘｱする(&D)"));
    separator(file, "sep14");
    QAction* exit = addAction(file, "mnExit", QStringLiteral("終了(&Q)"));
    connect(clear0, &QAction::triggered, this, [this] { mnClear_Click(0); });
    connect(clear1, &QAction::triggered, this, [this] { mnClear_Click(1); });
    connect(exit, &QAction::triggered, this, [this] { mnExit_Click(); });

    QMenu* edit = submenu(bar, nullptr, "mnEdit", QStringLiteral("編集(&E)"));
    m_mnUNDO[0] = addAction(edit, "mnUNDO_0", QStringLiteral("一つ前に戻る(&U)"),
                            QKeySequence(Qt::CTRL | Qt::Key_U));
    m_mnUNDO[1] = addAction(edit, "mnUNDO_1", QStringLiteral("一つ前のﾌﾞﾚｲｸﾎﾟｲﾝﾄまで戻る(&B)"));
    separator(edit, "sep21");
    QAction* setBreak = addAction(edit, "mnSetBreake", QStringLiteral("ﾌﾞﾚｲｸﾎﾟｲﾝﾄを設定する(&L)"));
    separator(edit, "sep22");
    m_mn1Answer = addAction(edit, "mn1Answer", QStringLiteral("ﾏｽ目の答えを一つだけ見る(&Q)"));
    m_mnAnswer = addAction(edit, "mnAnswer", QStringLiteral("ﾏｽ目の答えをすべて見る(&A)..."));
    separator(edit, "sepRedo");
    m_mnRedo = addAction(edit, "mnRedo", QStringLiteral("やり直す(&R)"),
                         QKeySequence(Qt::CTRL | Qt::Key_Y));
    connect(m_mnRedo, &QAction::triggered, this, [this] { mnRedo_Click(); });
    connect(m_mnUNDO[0], &QAction::triggered, this, [this] { mnUNDO_Click(0); });
    connect(m_mnUNDO[1], &QAction::triggered, this, [this] { mnUNDO_Click(1); });
    connect(setBreak, &QAction::triggered, this, [this] { mnSetBreake_Click(); });

    QMenu* tool = submenu(bar, nullptr, "mnTool", QStringLiteral("ﾂｰﾙ(&T)"));
    m_mnCheck = addAction(tool, "mnCheck", QStringLiteral("整合性をﾁｪｯｸする(&K)"),
                          QKeySequence(Qt::CTRL | Qt::Key_Q));
    separator(tool, "sep31");
    QMenu* addict = submenu(nullptr, tool, "mnTyuudoku", QStringLiteral("中毒者専用ﾂｰﾙ(&D)"));
    m_mnAnalyze = addAction(addict, "mnAnalyze", QStringLiteral("問題としての完全性の検証(&G)..."),
                            QKeySequence(Qt::CTRL | Qt::Key_G));
    QAction* allInp = addAction(addict, "mnAllInp", QStringLiteral("すべてのﾏｽを入力可能に(&T)"));
    m_mnCreate = addAction(addict, "mnCreate", QStringLiteral("同じﾚﾍﾞﾙの別問題を作成(&B)..."),
                           QKeySequence(Qt::CTRL | Qt::Key_N));
    separator(tool, "sep32");
    m_mnOption = addAction(tool, "mnOption", QStringLiteral("ｵﾌﾟｼｮﾝ設定(&O)..."));
    connect(allInp, &QAction::triggered, this, [this] { mnAllInp_Click(); });

    // Every command this program added beside the original ones, in one menu of the game's,
    // so that none hides two levels down.
    QMenu* game = submenu(bar, nullptr, "mnGame", QStringLiteral("ｹﾞｰﾑ(&G)"));
    m_mnNewProblem = addAction(game, "mnNewProblem", QStringLiteral("新しい問題を作成(&N)..."),
                               QKeySequence(Qt::Key_F2));
    m_mnResume = addAction(game, "mnResume", QStringLiteral("前回の続きを開く(&R)"));
    m_mnResume->setEnabled(false);
    connect(m_mnResume, &QAction::triggered, this, [this] { mnResume_Click(); });
    // Every game kept aside, newest first, read when the menu opens.
    m_mnRecent = submenu(nullptr, game, "mnRecent", QStringLiteral("最近のｹﾞｰﾑ(&L)"));
    connect(m_mnRecent, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    separator(game, "sepSolving");
    m_mnHint =
        addAction(game, "mnHint", QStringLiteral("ﾋﾝﾄ(&H)"), QKeySequence(Qt::CTRL | Qt::Key_I));
    m_mnRate = addAction(game, "mnRate", QStringLiteral("難易度を判定(&J)..."),
                         QKeySequence(Qt::CTRL | Qt::Key_R));
    m_mnRewind = addAction(game, "mnRewind", QStringLiteral("間違える前に戻る(&B)"));
    buildNoteMenu(game);
    buildComfortMenu(game);
    separator(game, "sepPrint");
    (new PrintCommands(*this, m_port, m_options, [this] {
        return PrintCommands::Game{board(), notes(), windowTitle(), keptPuzzle()};
    }))->addActions(game);

    QMenu* help = submenu(bar, nullptr, "mnHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    QAction* manual = addAction(help, "mnManuual", QStringLiteral("操作説明／ｵﾝﾗｲﾝﾏﾆｭｱﾙ(&H)..."),
                                QKeySequence(Qt::CTRL | Qt::Key_H));
    // The version is on the window itself, so the about item and its separator stay hidden.
    separator(help, "sep91")->setVisible(false);
    addAction(help, "mnAbout", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."))->setVisible(false);
    connect(manual, &QAction::triggered, this, [this] { mnManuual_Click(); });
    connectCommands();
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
    const int base = m_options.ImageSetBase();
    for (int k = 1; k <= 10; ++k) {
        m_imgCheckPai[k]->setPixmap(TilePicture(base + k));
        m_imgCheckPai[k]->setProperty("picture", base + k);
    }
    m_shpWaku->setColors(PaletteColor(m_options.GetOption(OptGridColor)),
                         PaletteColor(m_options.GetOption(OptBlankColor)));
    if (m_noteMode) applyTileForms();
}

// ---- Placing tiles ----

void frmMain::imgCheckPai_Click(int index) {
    clearHint();
    if (index < 1 || index > 10) return;
    m_selectedTile = index;
    const int base = m_options.ImageSetBase();
    for (int k = 1; k <= 10; ++k) {
        if (k == m_selectedTile || (m_selectedTile == 0 && k == 10)) {
            const QRect item = m_imgCheckPai[k]->geometry();
            // In twips: 10 right and down of the frame centred on the item.
            const double left = item.x() * 15.0 + 10 + (kTileWidth - kWakuWidth) / 2.0;
            const double top = item.y() * 15.0 + 10 + (kTileHeight - kWakuHeight) / 2.0;
            m_shpWaku->move(px(left), px(top));
        }
        m_imgCheckPai[k]->setPixmap(TilePicture(base + k));
        m_imgCheckPai[k]->setProperty("picture", base + k);
    }
    m_grid->setChoice(m_selectedTile);
    if (m_selectedTile == 10) m_selectedTile = 0;
    if (m_noteMode) applyTileForms();
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
    QString text = kCompleted;
    if (const QDateTime start = startTime(); start.isValid()) {
        // A clock set back while playing must not produce a negative time.
        const qint64 e = std::max<qint64>(0, roundedSeconds(m_port.now()) - roundedSeconds(start));
        text += QStringLiteral("\r\n") + kElapsed + twoDigits(e / 3600) + QLatin1Char(':') +
                twoDigits((e % 3600) / 60) + QLatin1Char(':') + twoDigits(e % 60);
        text += recordFinished(e);
        m_game.setStartMs(std::nullopt);
    }
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
}

// ---- Window commands ----

void frmMain::ClearBoard(bool keepProblem) {
    // The game cleared stays on offer: another one begins.
    m_game.Clear(keepProblem);
    syncTitle();
    syncUndoMenu();
    refreshOffer();
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
    m_client->setFixedSize(kClientWidth, height);
    setFixedSize(kClientWidth, height + menuBar()->sizeHint().height());
}

std::int64_t frmMain::nowMs() const {
    return m_port.now().toMSecsSinceEpoch();
}

void frmMain::syncTitle() {
    setWindowTitle(kAppTitle + QString::fromStdString(m_game.caption()));
}

void frmMain::syncUndoMenu() {
    m_mnUNDO[0]->setEnabled(history().canUndoOne());
    m_mnUNDO[1]->setEnabled(history().canUndoToBreakpoint());
    m_mnRedo->setEnabled(history().canRedo());
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

QUrl frmMain::ManualUrl() {
    const QDir appDir(QCoreApplication::applicationDirPath());
    // The install directories are relative to the prefix, or absolute when so configured.
    const QDir prefix(appDir.filePath(QStringLiteral("..")));
    const QStringList candidates = {
        appDir.filePath(QStringLiteral("manual.html")),
        prefix.filePath(QStringLiteral(KZ_INSTALL_DATADIR "/kazarinoset/manual.html")),
        prefix.filePath(QStringLiteral(KZ_INSTALL_DOCDIR "/manual.html")),
    };
    for (const QString& path : candidates) {
        if (QFileInfo::exists(path)) return QUrl::fromLocalFile(QDir::cleanPath(path));
    }
    return QUrl::fromLocalFile(QDir::cleanPath(candidates.first()));
}

void frmMain::mnManuual_Click() {
    m_port.openUrl(ManualUrl());
}

void frmMain::WarmingMsg(const QString& text) {
    if (!text.isEmpty()) {
        m_frmWarming->show();
        m_frmWarming->raise();
        m_lblWarming->setText(text);
    } else {
        m_frmWarming->hide();
    }
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
    syncUndoMenu();
}

void frmMain::mnRedo_Click() {
    clearHint();
    if (generating()) return;
    m_game.Redo();
    syncUndoMenu();
}

void frmMain::mnSetBreake_Click() {
    m_game.SetBreakpoint();
    syncUndoMenu();
}

}  // namespace kz
