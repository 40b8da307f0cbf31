// SPDX-License-Identifier: MIT
// The options dialog: the five colour roles, the automatic check and the kind of digit
// picture. It works on its own copy and touches the settings only when OK succeeds.
#pragma once

#include <QDialog>
#include <array>

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace kz {

class ClickLabel;
class ColorCell;
class OptionMan;
class SwatchMarker;
class UiPort;

class frmOption : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRoleCount = 5;
    static constexpr int kSampleCount = 4;
    /// The role of the grid lines; roles 0..3 are the four cell backgrounds.
    static constexpr int kGridRole = 4;

    /// Filled from `options`, which must outlive the dialog. On accept the slots, the
    /// picture base and the settings file have been updated; the caller repaints.
    frmOption(OptionMan& options, UiPort& port, QWidget* parent = nullptr);

private:
    void cmdOK_Click();
    void Form_Load();
    void optBColor_Click(int role);
    void lblSelColor_Click(int number);
    void lblBack_Click(int index);
    void optSuitKind_Click();
    int selectedRole() const;
    void showSamplePictures(int firstPicture);

    OptionMan& m_options;
    UiPort& m_port;
    std::array<int, kRoleCount> m_colorChoice{};

    QButtonGroup* m_optBColor = nullptr;
    QButtonGroup* m_optAutoThink = nullptr;
    QButtonGroup* m_optSuitKind = nullptr;
    QButtonGroup* m_optHanmoto = nullptr;
    std::array<ColorCell*, 16> m_lblSelColor{};
    std::array<ColorCell*, kSampleCount> m_lblBack{};
    std::array<ClickLabel*, kSampleCount> m_imgPai{};
    ColorCell* m_linWaku = nullptr;
    SwatchMarker* m_shpWaku = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

}  // namespace kz
