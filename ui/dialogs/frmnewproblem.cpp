// SPDX-License-Identifier: MIT
// The new-problem dialog: a level and a symmetry.
#include "ui/dialogs/frmnewproblem.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "logic/step.h"
#include "ui/dialogs/dialogwidgets.h"

namespace kz {

namespace {

// What a player needs at each level, in one line; the level names come from the rater.
constexpr std::array<const char*, frmNewProblem::kLevelCount> kLevelNotes = {
    "行・列・ﾌﾞﾛｯｸで、ある数字の入る場所が一か所だけのところを探す",
    "入る数字が一つだけのﾏｽも探す",
    "候補の絞り込み（ﾎﾟｲﾝﾃｨﾝｸﾞ、ﾍﾟｱ）が必要",
    "ﾄﾘﾌﾟﾙ、X-ｳｨﾝｸﾞ、ｳｨﾝｸﾞ系などが必要",
    "ﾁｪｰﾝや ALS を使う手筋が必要",
    "仮定を重ねる手筋が必要",
};

// Rows start below the frame's caption.
constexpr int kRowPitch = 300;
constexpr int kFirstRow = 360;

void select(QButtonGroup* group, int id, int fallback) {
    QAbstractButton* button = group->button(id);
    if (button == nullptr) button = group->button(fallback);
    button->setChecked(true);
}

}  // namespace

frmNewProblem::frmNewProblem(const NewProblemChoice& choice, QWidget* parent) : QDialog(parent) {
    setUpFixedDialog(*this, "frmNewProblem", QStringLiteral("新しい問題の作成"), 7095, 2985);
    // The main window's face: a dialog is a window of its own and does not inherit it.
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    auto* frame1 = new QGroupBox(QStringLiteral("ﾚﾍﾞﾙ："), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(TwipRect(120, 60, 4815, 2280));
    m_optLevel = new QButtonGroup(frame1);
    for (int level = 1; level <= kLevelCount; ++level) {
        const int top = kFirstRow + kRowPitch * (level - 1);
        const QString name = QString::fromUtf8(
            logic::LevelName(level).data(), static_cast<qsizetype>(logic::LevelName(level).size()));
        makeOption(m_optLevel, frame1, "optLevel", level, name, TwipRect(120, top, 1035, 195));
        const QByteArray noteName = indexedName("lblLevel", level).toLatin1();
        makeNamed<QLabel>(frame1, noteName.constData(), QString::fromUtf8(kLevelNotes[level - 1]),
                          TwipRect(1170, top, 3570, 195));
    }

    auto* frame2 = new QGroupBox(QStringLiteral("対称性："), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(TwipRect(5055, 60, 1920, 2280));
    m_optSymmetry = new QButtonGroup(frame2);
    int row = 0;
    for (const generate::SymmetryInfo& symmetry : generate::kSymmetries) {
        const std::string_view caption = symmetry.caption;
        makeOption(m_optSymmetry, frame2, "optSymmetry", static_cast<int>(symmetry.symmetry),
                   QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                   TwipRect(120, kFirstRow + kRowPitch * row++, 1680, 195));
    }

    auto* ok = makeNamed<QPushButton>(this, "cmdOK", QStringLiteral("OK"),
                                      TwipRect(3660, 2490, 1575, 375));
    ok->setDefault(true);
    auto* cancel = makeNamed<QPushButton>(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"),
                                          TwipRect(5400, 2490, 1575, 375));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Esc and the close box reach reject() through QDialog itself.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const NewProblemChoice defaults;
    select(m_optLevel, choice.level, defaults.level);
    select(m_optSymmetry, choice.symmetry, defaults.symmetry);
    CentreOnScreen(*this);
}

NewProblemChoice frmNewProblem::choice() const {
    return {m_optLevel->checkedId(), m_optSymmetry->checkedId()};
}

}  // namespace kz
