// SPDX-License-Identifier: MIT
// The main window's notes: the note mode and its commands, and the small tile form the palette
// and pointers take in the mode.
#include <QAction>

#include "settings/optionman.h"
#include "ui/main/frmmain.h"
#include "ui/main/gridview.h"
#include "ui/main/paletteview.h"

namespace kz {

// ---- Commands ----

void frmMain::mnNoteMode_Click(bool on) {
    clearHint();
    if (m_noteMode == on) return;
    m_noteMode = on;
    if (QAction* mode = action("mnNoteMode"); mode->isChecked() != on) mode->setChecked(on);
    applyTileForms();
}

void frmMain::mnFillNotes_Click() {
    clearHint();
    if (generating()) return;
    m_game.FillNotes();
}

void frmMain::mnClearNotes_Click() {
    clearHint();
    if (generating()) return;
    m_game.ClearNotes();
}

void frmMain::mnTidyNotes_Click(bool on) {
    if (QAction* tidy = action("mnTidyNotes"); tidy->isChecked() != on) tidy->setChecked(on);
    m_options.SetExtra(ExtTidyNotes, on ? 1 : 0);
    // A failed write only loses the choice for the next run.
    (void)m_options.SaveOptions();
}

void frmMain::mnHighlight_Click(bool on) {
    if (QAction* lit = action("mnHighlight"); lit->isChecked() != on) lit->setChecked(on);
    m_options.SetExtra(ExtHighlight, on ? 1 : 0);
    (void)m_options.SaveOptions();
    m_grid->setChoice(m_selectedTile == 0 ? 10 : m_selectedTile);
}

// ---- Drawing ----

void frmMain::SetNotes(int n, NoteSet notes) {
    m_game.SetNotes(n, notes);
}

void frmMain::applyTileForms() {
    m_palette->draw(m_options.ImageSetBase(), m_noteMode);
    m_grid->setNoteMode(m_noteMode);
}

}  // namespace kz
