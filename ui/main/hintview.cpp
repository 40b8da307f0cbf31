// SPDX-License-Identifier: MIT
// The hint as the player sees it: mistakes first, then the next step in stages (where to look,
// the step in full one at a time, the step done on the notes), in a panel beside the grid.
#include "ui/main/hintview.h"

#include <QStringList>

#include "logic/cellset.h"
#include "logic/describe.h"
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

HintView::HintView(QWidget* window, GridView& grid, ApplyFn apply)
    : QObject(window), m_window(window), m_grid(grid), m_apply(std::move(apply)) {}

void HintView::makePanel() {
    if (m_panel != nullptr) return;
    m_panel = new HintPanel(m_window);
    connect(m_panel, &HintPanel::detailRequested, this, [this] { showStep(0); });
    connect(m_panel, &HintPanel::nextRequested, this,
            [this] { showStep(m_step ? *m_step + 1 : 0); });
    connect(m_panel, &HintPanel::applyRequested, this, [this] {
        if (!m_hint || !m_hint->onNotes) return;
        const logic::Step step = m_hint->steps.front();
        clear();
        m_apply(step);
    });
    connect(m_panel, &HintPanel::closeRequested, this, [this] { clear(); });
}

void HintView::show(logic::Hint hint, const logic::Digits& current) {
    clear();
    makePanel();
    switch (hint.kind) {
        case logic::HintKind::Unsolvable:
            return;  // the window has said so
        case logic::HintKind::Solved:
            m_panel->present(kHead + QStringLiteral("すべてのﾏｽが正しく埋まっています"), 0);
            return;
        case logic::HintKind::Wrong: {
            // A wrong digit first: every step from a wrong board would mislead.
            QStringList wrong;
            for (int c : hint.wrong) {
                m_grid.showHintLook(c + 1, GridView::HintLook::Wrong);
                wrong << cellName(c) + QStringLiteral("の") + QString::number(current[c]);
            }
            m_panel->present(kHead + QStringLiteral("正解と違う数字が置かれています：") + kCrLf +
                                 wrong.join(QStringLiteral("、")),
                             0);
            return;
        }
        case logic::HintKind::Missing: {
            // Named by cell only: the digit missing from the notes is the cell's answer.
            QStringList missing;
            for (const logic::CellDigit& m : hint.missing) {
                m_grid.showHintLook(m.cell + 1, GridView::HintLook::Wrong);
                missing << cellName(m.cell);
            }
            m_panel->present(kHead + QStringLiteral("ﾒﾓから正解の数字が消されています：") + kCrLf +
                                 missing.join(QStringLiteral("、")),
                             0);
            return;
        }
        case logic::HintKind::Steps:
            break;
    }
    if (hint.steps.empty()) return;  // unreachable: the last resort always places a digit
    m_hint = std::move(hint);
    showFocus();
}

void HintView::showFocus() {
    m_grid.clearHintLooks();
    m_step.reset();
    const logic::Step& step = m_hint->steps.front();
    const logic::Focus focus = logic::FocusOf(step);
    for (int u : focus.units) {
        for (int c : logic::kUnits.cells[static_cast<std::size_t>(u)]) {
            m_grid.showHintLook(c + 1, GridView::HintLook::Pattern);
        }
    }
    // A chain no house sums up is looked at from the cell it settles.
    if (focus.cell >= 0) m_grid.showHintLook(focus.cell + 1, GridView::HintLook::Pattern);
    const QString text = kHead + fromUtf8(logic::DescribeFocus(step, logic::Lang::Japanese));
    // The panel opens as high as the longest of the stages to come needs, and keeps that
    // size, its buttons in place, up to the last.
    QStringList stages{text};
    for (std::size_t i = 0; i < m_hint->steps.size(); ++i) stages << stepText(i);
    m_panel->present(text, HintPanel::Detail | (m_hint->onNotes ? HintPanel::Apply : 0u), stages);
}

void HintView::showStep(std::size_t i) {
    if (!m_hint || i >= m_hint->steps.size()) return;
    m_grid.clearHintLooks();
    m_step = i;
    const logic::Step& step = m_hint->steps[i];
    // Later looks win: a pattern cell that loses candidates shows the removal, and the
    // placement shows above everything.
    for (std::int8_t c : step.cells) m_grid.showHintLook(c + 1, GridView::HintLook::Pattern);
    // A chain is read on the grid: every cell it passes through, not just where it starts.
    for (int c : logic::ChainCells(step)) m_grid.showHintLook(c + 1, GridView::HintLook::Pattern);
    // A single rests on its whole unit: the row, column or box where the digit has only the
    // one place left, or only the one cell open.
    if (step.technique == logic::Technique::FullHouse ||
        step.technique == logic::Technique::HiddenSingle) {
        for (std::int8_t u : step.units) {
            for (int c : logic::kUnits.cells[static_cast<std::size_t>(u)]) {
                m_grid.showHintLook(c + 1, GridView::HintLook::Pattern);
            }
        }
    }
    for (const logic::Elimination& e : step.eliminations) {
        m_grid.showHintLook(e.cell + 1, GridView::HintLook::Elimination);
    }
    for (const logic::Placement& p : step.placements) {
        m_grid.showHintLook(p.cell + 1, GridView::HintLook::Placement);
    }
    // Followed link by link: the chain's candidates and its links over the cells.
    if (const logic::ChainPicture chain = logic::ChainPictureOf(step); !chain.Empty())
        m_grid.showChain(chain, step.eliminations);
    const std::size_t count = m_hint->steps.size();
    m_panel->present(stepText(i), (i + 1 < count ? HintPanel::Next : 0u) |
                                      (m_hint->onNotes ? HintPanel::Apply : 0u));
}

QString HintView::stepText(std::size_t i) const {
    const logic::Step& step = m_hint->steps[i];
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
    return text;
}

void HintView::clear() {
    if (m_panel && !m_panel->isHidden()) m_panel->hide();
    m_hint.reset();
    m_grid.clearHintLooks();
}

}  // namespace kz
