// SPDX-License-Identifier: MIT
// The main window's new-problem, rating and hint commands: the window's side of making a
// puzzle, and the logical solver's level, difficulty and next step.
#include <QAction>
#include <optional>

#include "core/answer.h"
#include "logic/hint.h"
#include "logic/solver.h"
#include "ui/main/frmmain.h"
#include "ui/main/hintview.h"
#include "ui/main/newproblem.h"
#include "ui/main/verdicts.h"

namespace kz {

// ---- New problem ----

void frmMain::generationBusy(bool busy) {
    if (busy) {
        clearHint();
    } else {
        // The panel's button held the focus; without a holder the menu bar keeps it after the
        // next keyboard menu, and plain letters would run its items.
        centralWidget()->setFocus();
    }
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        action->setEnabled(!busy);
    }
    if (!busy) syncMenus();
}

void frmMain::mnNewProblem_Click() {
    m_newProblem->run();
}

bool frmMain::generating() const {
    return m_newProblem->running();
}

void frmMain::setGenerateFunction(GenerationJob::GenerateFn fn) {
    m_newProblem->setGenerateFunction(std::move(fn));
}

void frmMain::setLaunchFunction(GenerationJob::LaunchFn fn) {
    m_newProblem->setLaunchFunction(std::move(fn));
}

// ---- Rating and hints ----

std::optional<logic::Digits> frmMain::acceptedProblem() {
    clearHint();
    const logic::Digits digits = m_game.ProblemDigits();
    if (const QString refusal = ProblemRefusal(digits, [this] { return makeSolver(); });
        !refusal.isEmpty()) {
        showMessage(refusal);
        return std::nullopt;
    }
    return digits;
}

void frmMain::mnRate_Click() {
    if (const std::optional<logic::Digits> digits = acceptedProblem())
        showMessage(RatingMessage(logic::Rate(*digits)));
}

void frmMain::mnHint_Click() {
    const std::optional<logic::Digits> problem = acceptedProblem();
    if (!problem) return;
    const logic::Digits current = m_game.Digits();
    const logic::Hint hint = logic::FindHint(*problem, current, notes());
    if (hint.kind == logic::HintKind::Unsolvable) {
        showMessage(VerificationMessage(true, false, VerifyInternalError));
        return;
    }
    m_records.hintShown();
    m_hintView->show(hint, current);
}

void frmMain::applyHint(const logic::Step& step) {
    if (generating()) return;
    afterStep(m_game.ApplyStep(step));
}

void frmMain::clearHint() {
    m_hintView->clear();
}

HintPanel* frmMain::hintPanel() const {
    return m_hintView->panel();
}

}  // namespace kz
