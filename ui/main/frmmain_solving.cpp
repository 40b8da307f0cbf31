// SPDX-License-Identifier: MIT
// The main window's new-problem, rating and hint commands: puzzles from the generator, made on
// a worker thread, and the logical solver's level, difficulty and next step.
#include <QAction>
#include <QDialog>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "core/answer.h"
#include "core/consistency.h"
#include "logic/cellset.h"
#include "logic/describe.h"
#include "logic/solver.h"
#include "settings/optionman.h"
#include "ui/dialogs/frmnewproblem.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/generationpanel.h"
#include "ui/main/gridview.h"
#include "ui/main/hintpanel.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The settings file keeps the dialog's symmetry by its number, and reads back only numbers
// within its range.
static_assert(std::ranges::all_of(generate::kSymmetries, [](const generate::SymmetryInfo& row) {
    return static_cast<int>(row.symmetry) <= kNewSymmetryMax;
}));

QString levelName(int level) {
    return fromUtf8(logic::LevelName(level));
}

}  // namespace

// ---- New problem ----

void frmMain::setCommandsEnabled(bool enabled) {
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        action->setEnabled(enabled);
    }
    if (enabled) syncUndoMenu();
}

void frmMain::mnNewProblem_Click() {
    if (generating()) return;
    NewProblemChoice choice{m_options.GetExtra(ExtNewLevel), m_options.GetExtra(ExtNewSymmetry)};
    {
        frmNewProblem dialog(choice, this);
        if (m_port.runDialog(dialog) != QDialog::Accepted) return;
        choice = dialog.choice();
    }
    m_options.SetExtra(ExtNewLevel, static_cast<std::int16_t>(choice.level));
    m_options.SetExtra(ExtNewSymmetry, static_cast<std::int16_t>(choice.symmetry));
    // A failed write only loses the choice for the next run.
    (void)m_options.SaveOptions();

    generate::Request request;
    request.level = choice.level;
    request.symmetry =
        generate::SymmetryNumbered(choice.symmetry).value_or(generate::kDefaultSymmetry);
    // All 53 bits of the draw.
    const auto seed = static_cast<std::uint64_t>(std::ldexp(m_port.random(), 53));

    clearHint();
    setCommandsEnabled(false);
    m_job = new GenerationJob(m_generate, request, seed, this, m_launch);
    connect(m_job, &GenerationJob::finished, this, &frmMain::generationFinished);
    m_generationPanel->start(m_job);
}

void frmMain::generationFinished(const generate::Result& result) {
    // A cancel pressed after the worker last looked at the flag, while its result was on the
    // way, still wins: the player asked to keep the board.
    bool cancelled = result.cancelled;
    QString failure;
    if (GenerationJob* job = m_job) {
        cancelled |= job->cancelRequested();
        failure = job->failure();
        m_job = nullptr;
        job->deleteLater();
    }
    m_generationPanel->stop();
    // The panel's button held the focus; without a holder the menu bar keeps it after the
    // next keyboard menu, and plain letters would run its items.
    centralWidget()->setFocus();
    setCommandsEnabled(true);
    if (cancelled) return;
    if (!failure.isEmpty()) {
        m_port.message(failure + kCrLf + QStringLiteral("盤面はそのままです"), UiPort::Buttons::Ok,
                       UiPort::Icon::Error, kAppTitle);
        return;
    }
    if (!result.puzzle) {
        showMessage(QStringLiteral("指定されたﾚﾍﾞﾙの問題を作成できませんでした") + kCrLf +
                    QStringLiteral("もう一度お試しください"));
        return;
    }
    // Like a problem read from a file: every digit a given, a fresh history and clock.
    const generate::Puzzle& puzzle = *result.puzzle;
    ValueArray16 values{};
    for (int c = 0; c < 81; ++c) values[c + 1] = puzzle.givens[c];
    loaded(values, " [新しい問題 " + std::string(logic::LevelName(puzzle.rating.level)) + "]");
    startRecordedGame(puzzle.rating.level);
}

// ---- Rating and hints ----

QString frmMain::problemRefusal(const logic::Digits& digits) {
    Board board{};
    for (int c = 0; c < 81; ++c) board[c + 1].Value = digits[c];
    CellConsistentArray consistent{};
    const ConsistencyResult check = ::kz::CheckConsistency(board, consistent, false, {});
    int code = VerifyUnique;
    if (check.hasBlank && !check.hasConflict) {
        Solver solver = makeSolver();
        code = solver.VerifyProblem(Values16(board));
    }
    if (check.hasBlank && !check.hasConflict && code == VerifyUnique) return {};
    return VerificationMessage(check.hasBlank, check.hasConflict, code);
}

std::optional<logic::Digits> frmMain::acceptedProblem() {
    clearHint();
    const logic::Digits digits = m_game.ProblemDigits();
    if (const QString refusal = problemRefusal(digits); !refusal.isEmpty()) {
        showMessage(refusal);
        return std::nullopt;
    }
    return digits;
}

void frmMain::mnRate_Click() {
    const std::optional<logic::Digits> digits = acceptedProblem();
    if (!digits) return;
    const logic::Rating rating = logic::Rate(*digits);
    if (rating.verifyCode != VerifyUnique) {
        showMessage(VerificationMessage(true, false, rating.verifyCode));
        return;
    }
    QString text =
        QStringLiteral("【難易度の判定結果】") + kCrLf + QStringLiteral("ﾚﾍﾞﾙ：") +
        levelName(rating.level) +
        QStringLiteral("（%1 / %2）").arg(rating.level).arg(logic::kMaxLevel) + kCrLf +
        QStringLiteral("難易度 %1（%2）")
            .arg(fromUtf8(logic::DifficultyText(rating.difficulty)), levelName(rating.level)) +
        kCrLf + QStringLiteral("使う解き方と回数：");
    for (int t = 0; t < logic::kTechniqueCount; ++t) {
        if (rating.counts[static_cast<std::size_t>(t)] == 0) continue;
        text += kCrLf + QStringLiteral("　") +
                fromUtf8(logic::Info(static_cast<logic::Technique>(t)).japanese) +
                QStringLiteral("　%1 回").arg(rating.counts[static_cast<std::size_t>(t)]);
    }
    showMessage(text);
}

}  // namespace kz
