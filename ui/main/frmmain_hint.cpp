// SPDX-License-Identifier: MIT
// The main window's hint: mistakes first, then the next step in stages (where to look, the
// step in full one at a time, the step done on the notes), shown in a panel beside the grid.
#include <QStringList>

#include "logic/cellset.h"
#include "logic/describe.h"
#include "logic/hint.h"
#include "settings/optionman.h"
#include "ui/main/frmmain.h"
#include "ui/main/hintpanel.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kHead = QStringLiteral("【ﾋﾝﾄ】") + kCrLf;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString cellName(int logicCell) {
    return fromUtf8(logic::CellName(logicCell, logic::Lang::Japanese));
}

}  // namespace

void frmMain::mnHint_Click() {
    const std::optional<logic::Digits> problem = acceptedProblem();
    if (!problem) return;
    const logic::Digits current = m_game.Digits();
    logic::Hint hint = logic::FindHint(*problem, current, notes());

    if (m_hintPanel == nullptr) {
        m_hintPanel = new HintPanel(this);
        connect(m_hintPanel, &HintPanel::detailRequested, this, [this] { showHintStep(0); });
        connect(m_hintPanel, &HintPanel::nextRequested, this,
                [this] { showHintStep(m_hintStep ? *m_hintStep + 1 : 0); });
        connect(m_hintPanel, &HintPanel::applyRequested, this, [this] { applyHint(); });
        connect(m_hintPanel, &HintPanel::closeRequested, this, [this] { clearHint(); });
    }
    switch (hint.kind) {
        case logic::HintKind::Unsolvable:
            showMessage(VerificationMessage(true, false, VerifyInternalError));
            return;
        case logic::HintKind::Solved:
            m_hintPanel->present(kHead + QStringLiteral("すべてのﾏｽが正しく埋まっています"), 0);
            return;
        case logic::HintKind::Wrong: {
            // A wrong digit first: every step from a wrong board would mislead.
            QStringList wrong;
            for (int c : hint.wrong) {
                showHintLook(c + 1, HintLook::Wrong);
                wrong << cellName(c) + QStringLiteral("の") + QString::number(current[c]);
            }
            m_hintPanel->present(kHead + QStringLiteral("正解と違う数字が置かれています：") +
                                     kCrLf + wrong.join(QStringLiteral("、")),
                                 0);
            return;
        }
        case logic::HintKind::Missing: {
            // Named by cell only: the digit missing from the notes is the cell's answer.
            QStringList missing;
            for (const logic::CellDigit& m : hint.missing) {
                showHintLook(m.cell + 1, HintLook::Wrong);
                missing << cellName(m.cell);
            }
            m_hintPanel->present(kHead + QStringLiteral("ﾒﾓから正解の数字が消されています：") +
                                     kCrLf + missing.join(QStringLiteral("、")),
                                 0);
            return;
        }
        case logic::HintKind::Steps:
            break;
    }
    if (hint.steps.empty()) return;  // unreachable: the last resort always places a digit
    m_hint = std::move(hint);
    showHintFocus();
}

void frmMain::showHintFocus() {
    clearHintLooks();
    m_hintStep.reset();
    const logic::Step& step = m_hint->steps.front();
    for (int u : logic::FocusOf(step).units) {
        for (int c : logic::kUnits.cells[static_cast<std::size_t>(u)]) {
            showHintLook(c + 1, HintLook::Pattern);
        }
    }
    m_hintPanel->present(kHead + fromUtf8(logic::DescribeFocus(step, logic::Lang::Japanese)),
                         HintPanel::Detail | (m_hint->onNotes ? HintPanel::Apply : 0u));
}

void frmMain::showHintStep(std::size_t i) {
    if (!m_hint || i >= m_hint->steps.size()) return;
    clearHintLooks();
    m_hintStep = i;
    const logic::Step& step = m_hint->steps[i];
    // Later looks win: a pattern cell that loses candidates shows the removal, and the
    // placement shows above everything.
    for (std::int8_t c : step.cells) showHintLook(c + 1, HintLook::Pattern);
    // A single rests on its whole unit: the row, column or box where the digit has only the
    // one place left, or only the one cell open.
    if (step.technique == logic::Technique::FullHouse ||
        step.technique == logic::Technique::HiddenSingle) {
        for (std::int8_t u : step.units) {
            for (int c : logic::kUnits.cells[static_cast<std::size_t>(u)]) {
                showHintLook(c + 1, HintLook::Pattern);
            }
        }
    }
    for (const logic::Elimination& e : step.eliminations) {
        showHintLook(e.cell + 1, HintLook::Elimination);
    }
    for (const logic::Placement& p : step.placements) {
        showHintLook(p.cell + 1, HintLook::Placement);
    }
    const std::size_t count = m_hint->steps.size();
    QString text = kHead;
    if (count > 1) text += QStringLiteral("%1/%2. ").arg(i + 1).arg(count);
    if (const std::string words = logic::ChainInWords(step, logic::Lang::Japanese);
        !words.empty()) {
        text += fromUtf8(words) + kCrLf;
    }
    text += fromUtf8(logic::Describe(step, logic::Lang::Japanese));
    m_hintPanel->present(
        text, (i + 1 < count ? HintPanel::Next : 0u) | (m_hint->onNotes ? HintPanel::Apply : 0u));
}

void frmMain::applyHint() {
    if (!m_hint || !m_hint->onNotes || generating()) return;
    const logic::Step step = m_hint->steps.front();
    clearHint();
    afterStep(m_game.ApplyStep(step));
}

}  // namespace kz
