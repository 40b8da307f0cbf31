// SPDX-License-Identifier: MIT
// The print dialog of the current game: what of the game goes on paper, in colour or not,
// and whether to look at it first. It trades values as the other dialogs do.
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;

namespace kz {

struct GamePrintChoice {
    enum class Content { Puzzle = 0, Digits = 1, Notes = 2 };
    Content content = Content::Digits;
    bool colour = false;
    bool preview = true;  ///< the print preview rather than the print dialog
    friend bool operator==(const GamePrintChoice&, const GamePrintChoice&) = default;
};

class frmPrintGame : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintGame(const GamePrintChoice& choice, QWidget* parent = nullptr);
    /// The choice the controls show now; after 印刷 or ﾌﾟﾚﾋﾞｭｰ, the confirmed one.
    GamePrintChoice choice() const;

private:
    QButtonGroup* m_content = nullptr;
    QCheckBox* m_colour = nullptr;
    bool m_preview = true;
};

}  // namespace kz
