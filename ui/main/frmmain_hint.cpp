// SPDX-License-Identifier: MIT
// The main window's hint command: the hint for the board, shown by the hint view, and its step
// done on the notes.
#include "core/answer.h"
#include "logic/hint.h"
#include "ui/main/frmmain.h"
#include "ui/main/hintview.h"

namespace kz {

void frmMain::mnHint_Click() {
    const std::optional<logic::Digits> problem = acceptedProblem();
    if (!problem) return;
    const logic::Digits current = m_game.Digits();
    const logic::Hint hint = logic::FindHint(*problem, current, notes());
    if (hint.kind == logic::HintKind::Unsolvable) {
        showMessage(VerificationMessage(true, false, VerifyInternalError));
        return;
    }
    if (m_recordSerial == m_game.serial()) ++m_recordHints;
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
