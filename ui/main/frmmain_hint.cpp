// SPDX-License-Identifier: MIT
// The main window's hint: mistakes first, then the next step in stages (where to look, the
// step in full one at a time, the step done on the notes), shown in a panel beside the grid.
#include <QStringList>

#include "history/notes.h"
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
    logic::Digits current{};
    for (int n = 1; n <= kCellCount; ++n) current[n - 1] = m_board[n].Value;
    logic::Hint hint = logic::FindHint(*problem, current, m_notes);

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
    // A chain is read on the grid: every cell it passes through, not just where it starts.
    for (int c : logic::ChainCells(step)) showHintLook(c + 1, HintLook::Pattern);
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
    // A chain is followed link by link on the board the step applies to.
    for (const std::string& link :
         logic::ChainLinks(step, m_hint->states[i], logic::Lang::Japanese)) {
        text += kCrLf + fromUtf8(link);
    }
    m_hintPanel->present(
        text, (i + 1 < count ? HintPanel::Next : 0u) | (m_hint->onNotes ? HintPanel::Apply : 0u));
}

std::vector<UndoEntry> frmMain::placementChanges(int n, int digit, const NoteArray& notes) const {
    std::vector<UndoEntry> changes{
        {{static_cast<std::int16_t>(n), static_cast<std::int16_t>(m_board[n].Value),
          static_cast<std::int16_t>(digit)}}};
    // The eraser writes no digit, so it tidies nothing.
    if (digit != 0) {
        const NoteChanges tidied =
            TidyAfterPlacement(notes, n, digit, m_options.GetExtra(ExtTidyNotes) == 1);
        changes.insert(changes.end(), tidied.begin(), tidied.end());
    }
    return changes;
}

void frmMain::applyHint() {
    if (!m_hint || !m_hint->onNotes || generating()) return;
    const logic::Step step = m_hint->steps.front();
    clearHint();
    // The removals first, on a copy, so that the placement's tidying starts from them.
    NoteArray notes = m_notes;
    std::vector<UndoEntry> changes;
    for (const logic::Elimination& e : step.eliminations) {
        const int n = e.cell + 1;
        if (m_board[n].Value != 0) continue;
        // A cell without notes holds every digit its units allow; taking one away writes
        // the rest down.
        const NoteSet before = notes[n] != 0 ? notes[n] : AllowedNotes(m_board, n);
        const NoteSet after = static_cast<NoteSet>(before & ~NoteBit(e.digit));
        if (after == notes[n]) continue;
        changes.push_back(NoteEntry(n, notes[n], after));
        notes[n] = after;
    }
    for (const logic::Placement& p : step.placements) {
        const std::vector<UndoEntry> placed = placementChanges(p.cell + 1, p.digit, notes);
        for (const UndoEntry& change : placed) {
            if (change.record.Note) notes[change.record.Cell] = change.record.NewValue;
        }
        changes.insert(changes.end(), placed.begin(), placed.end());
    }
    applyStep(changes);
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, false);
    if (!hasBlank && !hasConflict) ShowCompletion();
}

}  // namespace kz
