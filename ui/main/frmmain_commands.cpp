// SPDX-License-Identifier: MIT
// The main window's file, check, answer, verification, variant, options and posting commands.
#include <QDialog>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/answer.h"
#include "core/newquest.h"
#include "history/notes.h"
#include "settings/optionman.h"
#include "ui/dialogs/frmcreation.h"
#include "ui/dialogs/frmoption.h"
#include "ui/dialogs/frmtoukou.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/uiport.h"
#include "ui/main/verdicts.h"

namespace kz {

namespace {

const QString kNoConflictFound = QStringLiteral("不整合はみつかりませんでした");
const QString kAlreadyConflicting = QStringLiteral("既に不整合箇所があるので解けません");
const QString kAllFilled = QStringLiteral("全部のﾏｽが埋まっているので解けません");
const std::string kNewQuestionCaption = " [new question]";

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void frmMain::showMessage(const QString& text) {
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
}

void frmMain::loaded(const ValueArray16& values, const std::string& caption) {
    m_game.Load(values, caption, nowMs());
    boardReplaced();
}

// ---- Problem files ----

void frmMain::mnFileRead_Click() {
    if (const std::optional<ProblemFiles::Read> read = m_files.read()) {
        loaded(read->values, read->caption);
        m_records.start(0);
    }
}

void frmMain::mnSave_Click(int index) {
    if (index == 0) {
        saveProblem();
    } else if (index == 1) {
        makePostingString();
    }
}

void frmMain::saveProblem() {
    if (const std::optional<std::string> caption = m_files.save(Values16(board()))) {
        m_game.SavedHalfWay(*caption, nowMs());
        syncTitle();
    }
}

void frmMain::makePostingString() {
    QString text;
    text.reserve(kCellCount);
    for (int n = 1; n <= kCellCount; ++n) text += QString::number(board()[n].Value);
    m_tag = text;
    frmToukou dialog(m_tag, this);
    m_port.runDialog(dialog);
    m_tag.clear();
}

// ---- Checking, verification and answers ----

Solver frmMain::makeSolver() {
    return Solver([this](std::string_view text) { WarmingMsg(fromUtf8(text)); },
                  [this](std::string_view text) { showMessage(fromUtf8(text)); });
}

bool frmMain::canAnswer() {
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, false);
    if (hasConflict) {
        showMessage(kAlreadyConflicting);
        return false;
    }
    if (!hasBlank) {
        showMessage(kAllFilled);
        return false;
    }
    return true;
}

void frmMain::mnCheck_Click() {
    ClearConflictMarks();
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, true);
    if (hasConflict) return;
    if (hasBlank) {
        showMessage(kNoConflictFound);
    } else {
        ShowCompletion();
    }
}

void frmMain::mnAnalyze_Click() {
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, true);
    int code = VerifyUnique;
    if (hasBlank && !hasConflict) {
        Solver solver = makeSolver();
        code = solver.VerifyProblem(Values16(board()));
    }
    showMessage(VerificationMessage(hasBlank, hasConflict, code));
}

void frmMain::mn1Answer_Click() {
    if (!canAnswer()) return;
    std::vector<int> blanks;
    for (int n = 1; n <= kCellCount; ++n) {
        if (board()[n].Value == 0) blanks.push_back(n);
    }
    const int k = static_cast<int>(blanks.size());
    // A draw of exactly 1.0 (or a source outside [0, 1)) still picks a cell of the list.
    const int i = std::clamp(static_cast<int>(std::floor(m_port.random() * k)), 0, k - 1);
    const int cell = blanks[static_cast<std::size_t>(i)];

    revealSolved(
        [this, cell](const ValueArray16& solved) { m_game.RevealAnswer(cell, solved[cell]); });
}

void frmMain::mnAnswer_Click() {
    if (!canAnswer()) return;
    revealSolved([this](const ValueArray16& solved) { m_game.RevealAll(solved); });
}

void frmMain::revealSolved(const std::function<void(const ValueArray16&)>& reveal) {
    ValueArray16 values = Values16(board());
    Solver solver = makeSolver();
    if (solver.SolveBoard(values)) {
        reveal(values);
    } else {
        showMessage(UnsolvableMessage());
    }
    // An answer seen: the game is no longer timed.
    m_game.setStartMs(std::nullopt);
}

// ---- Variant and options ----

void frmMain::mnCreate_Click() {
    m_tag.clear();
    {
        frmCreation dialog(m_options, m_port, this);
        if (m_port.runDialog(dialog) == QDialog::Accepted) m_tag = QStringLiteral("1");
    }
    if (m_tag != QStringLiteral("1")) return;
    m_tag.clear();

    // Every digit on the board is taken: givens, the player's and revealed answers alike.
    ValueArray8 grid = Values8(board());
    const int relabel =
        RelabelCode(m_options.GetOption(OptVariantNumber), m_options.GetOption(OptVariantShift));
    MakeVariant(grid, m_options.GetOption(OptVariantPlacement), relabel,
                [this] { return m_port.random(); });
    ValueArray16 values{};
    std::copy(grid.begin(), grid.end(), values.begin());
    loaded(values, kNewQuestionCaption);
}

void frmMain::mnOption_Click() {
    frmOption dialog(m_options, m_port, this);
    // The dialog has stored and saved the settings when it accepts; the window repaints.
    if (m_port.runDialog(dialog) == QDialog::Accepted) ColorSetChange();
}

}  // namespace kz
