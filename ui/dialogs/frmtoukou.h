// SPDX-License-Identifier: MIT
// The posting-string dialog: shows the board's 81 digits selected, ready for the user to
// copy by hand into the bulletin board's problem field.
#pragma once

#include <QDialog>

namespace kz {

class frmToukou : public QDialog {
    Q_OBJECT
public:
    /// `text` is shown as given; it is never read back.
    explicit frmToukou(const QString& text, QWidget* parent = nullptr);
};

}  // namespace kz
