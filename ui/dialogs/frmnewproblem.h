// SPDX-License-Identifier: MIT
// The new-problem dialog: choose the level and the symmetry of a puzzle to be made. It trades
// values: the last choice goes in, the confirmed choice comes out; the window stores it.
#pragma once

#include <QDialog>

#include "generate/generator.h"

class QButtonGroup;
class QPushButton;

namespace kz {

/// What the player asks for. The symmetry is its number (generate::Symmetry), which is also the
/// id of its option button.
struct NewProblemChoice {
    int level = 2;  ///< 1..6
    int symmetry = static_cast<int>(generate::kDefaultSymmetry);
    friend bool operator==(const NewProblemChoice&, const NewProblemChoice&) = default;
};

class frmNewProblem : public QDialog {
    Q_OBJECT
public:
    /// Preset to `choice`; a value that names no button selects the default.
    explicit frmNewProblem(const NewProblemChoice& choice, QWidget* parent = nullptr);

    /// The choice the buttons show now; after OK, the confirmed one.
    NewProblemChoice choice() const;

    static constexpr int kLevelCount = 6;

private:
    QButtonGroup* m_optLevel = nullptr;
    QButtonGroup* m_optSymmetry = nullptr;
};

}  // namespace kz
