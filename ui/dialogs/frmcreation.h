// SPDX-License-Identifier: MIT
// The create-variant dialog: choose a placement transform, a digit transform and a shift
// amount; the choice is checked and stored, and the main window builds the variant.
#pragma once

#include <QDialog>

class QButtonGroup;
class QPushButton;

namespace kz {

class OptionMan;
class SelectAllLineEdit;
class UiPort;

class frmCreation : public QDialog {
    Q_OBJECT
public:
    /// Preset from slots 6, 7 and 8 of `options`, which must outlive the dialog. On accept
    /// those slots hold the choice and the settings file has been rewritten.
    frmCreation(OptionMan& options, UiPort& port, QWidget* parent = nullptr);

private:
    void Form_Load();
    void cmdOK_Click();
    void refuse(const QString& text);

    OptionMan& m_options;
    UiPort& m_port;
    QButtonGroup* m_optLocation = nullptr;
    QButtonGroup* m_optNumber = nullptr;
    SelectAllLineEdit* m_txtShiftVal = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

}  // namespace kz
