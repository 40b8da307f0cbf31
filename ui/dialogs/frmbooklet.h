// SPDX-License-Identifier: MIT
// The booklet dialog: how many new puzzles, of which level and symmetry, how many to a page,
// numerals or tiles, the solutions or not, and where the booklet goes. It trades values: the
// last choice goes in, the confirmed choice comes out.
#pragma once

#include <QDialog>

#include "generate/generator.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;

namespace kz {

struct BookletChoice {
    enum class Output { Preview = 0, Print = 1, Pdf = 2 };
    int count = 24;  ///< 1..100
    int level = 4;   ///< 1..6
    generate::Symmetry symmetry = generate::kDefaultSymmetry;
    int perPage = 4;  ///< 1, 2, 4 or 6
    bool tiles = false;
    bool solutions = true;
    Output output = Output::Preview;
    friend bool operator==(const BookletChoice&, const BookletChoice&) = default;
};

class frmBooklet : public QDialog {
    Q_OBJECT
public:
    /// Preset to `choice`; a value the dialog does not offer falls back to the default.
    explicit frmBooklet(const BookletChoice& choice, QWidget* parent = nullptr);
    /// The choice the controls show now; after OK, the confirmed one.
    BookletChoice choice() const;

private:
    QSpinBox* m_count = nullptr;
    QComboBox* m_level = nullptr;
    QComboBox* m_symmetry = nullptr;
    QComboBox* m_perPage = nullptr;
    QButtonGroup* m_look = nullptr;
    QCheckBox* m_solutions = nullptr;
    QButtonGroup* m_output = nullptr;
};

}  // namespace kz
