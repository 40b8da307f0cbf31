// SPDX-License-Identifier: MIT
// The create-variant dialog: choose a placement transform, a digit transform and a shift
// amount.
#include "ui/dialogs/frmcreation.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "core/fields.h"
#include "settings/optionman.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/main/apptitle.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

constexpr int kMaxShift = 8;
// Digit transforms that shift by the amount; the others ignore it.
constexpr int kShiftUp = 2;
constexpr int kShiftDown = 3;

struct OptionLayout {
    const char* caption;
    int left, top, width, height;
};

constexpr std::array<OptionLayout, 6> kLocations = {{
    {"数値の配置を換えない", 120, 240, 2055, 195},
    {"右に 90度回転させる", 120, 540, 1995, 195},
    {"180度回転させる", 120, 840, 1995, 195},
    {"左に 90度回転させる", 120, 1140, 1995, 195},
    {"左右を反転させる", 120, 1440, 1995, 195},
    {"上下を反転させる", 120, 1740, 1995, 195},
}};

constexpr std::array<OptionLayout, 4> kNumbers = {{
    {"数値を置き換えない", 120, 240, 1995, 195},
    {"ﾗﾝﾀﾞﾑに置き換える", 120, 540, 1995, 195},
    {"ｼﾌﾄｱｯﾌﾟさせる", 120, 840, 1815, 195},
    {"ｼﾌﾄﾀﾞｳﾝさせる", 120, 1140, 1995, 195},
}};

template <std::size_t N>
QButtonGroup* makeOptions(QWidget* frame, const char* name,
                          const std::array<OptionLayout, N>& layouts) {
    auto* group = new QButtonGroup(frame);
    for (std::size_t i = 0; i < N; ++i) {
        const OptionLayout& item = layouts[i];
        makeOption(group, frame, name, static_cast<int>(i), QString::fromUtf8(item.caption),
                   TwipRect(item.left, item.top, item.width, item.height));
    }
    return group;
}

// Checks the button `id`, or `fallback` when the stored value names no button.
void select(QButtonGroup* group, int id, int fallback) {
    QAbstractButton* button = group->button(id);
    if (button == nullptr) button = group->button(fallback);
    button->setChecked(true);
}

}  // namespace

frmCreation::frmCreation(OptionMan& options, UiPort& port, QWidget* parent)
    : QDialog(parent), m_options(options), m_port(port) {
    setUpFixedDialog(*this, "frmCreation", QStringLiteral("同じﾚﾍﾞﾙの別問題の作成"), 4890, 3135);

    auto* frame1 = new CaptionBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(TwipRect(120, 60, 2235, 2055));
    m_optLocation = makeOptions(frame1, "optLocation", kLocations);

    auto* frame2 = new CaptionBox(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(TwipRect(2520, 60, 2235, 2055));
    m_optNumber = makeOptions(frame2, "optNumber", kNumbers);
    makeNamed<QLabel>(frame2, "Label1", QStringLiteral("ｼﾌﾄ量"), TwipRect(1080, 1440, 795, 195));
    m_txtShiftVal = makeNamed<SelectAllLineEdit>(frame2, "txtShiftVal", QStringLiteral("0"),
                                                 TwipRect(1680, 1380, 375, 315));

    makeNamed<QLabel>(this, "Label2", QStringLiteral("＊この機能は、やり直しできません！"),
                      TwipRect(1920, 2280, 2895, 195));

    m_cmdOK = makeNamed<QPushButton>(this, "cmdOK", QStringLiteral("作成実行"),
                                     TwipRect(1380, 2640, 1575, 375));
    m_cmdOK->setDefault(true);
    m_cmdCancel = makeNamed<QPushButton>(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"),
                                         TwipRect(3180, 2640, 1575, 375));

    connect(m_cmdOK, &QPushButton::clicked, this, &frmCreation::cmdOK_Click);
    // Esc and the close box reach reject() through QDialog itself.
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
    CentreOnScreen(*this);
}

void frmCreation::Form_Load() {
    select(m_optLocation, m_options.GetOption(OptVariantPlacement), 0);
    select(m_optNumber, m_options.GetOption(OptVariantNumber), 1);
    m_txtShiftVal->setText(QString::number(m_options.GetOption(OptVariantShift)));
}

void frmCreation::refuse(const QString& text) {
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
}

void frmCreation::cmdOK_Click() {
    const int location = m_optLocation->checkedId();
    const int number = m_optNumber->checkedId();
    const QString cannotCreate = QStringLiteral("別の新しい問題が作成できません");
    if (location == 0 && number == 0) {
        refuse(cannotCreate);
        return;
    }
    // The amount is checked even for transforms that ignore it, so that what is stored is
    // always a valid amount. A number past the 16-bit range is just another amount above 8.
    std::int16_t shift = 0;
    if (!ReadIntNumber(m_txtShiftVal->text().toStdString(), shift) || shift < 0 ||
        shift > kMaxShift) {
        refuse(QStringLiteral("ｼﾌﾄ量の値は 1～8 に設定してください"));
        return;
    }
    if ((number == kShiftUp || number == kShiftDown) && shift == 0) {
        if (location == 0) {
            refuse(cannotCreate);
            return;
        }
        const UiPort::Answer answer =
            m_port.message(QStringLiteral("ｼﾌﾄ量が 0 なので数値は置き換えません") +
                               QStringLiteral("\r\n") + QStringLiteral("よろしいですか？"),
                           UiPort::Buttons::OkCancel, UiPort::Icon::None, kAppTitle);
        if (answer != UiPort::Answer::Ok) return;
    }
    m_options.SetOption(OptVariantPlacement, static_cast<std::int16_t>(location));
    m_options.SetOption(OptVariantNumber, static_cast<std::int16_t>(number));
    m_options.SetOption(OptVariantShift, shift);
    // A failed write is not the user's concern here: the choice still holds for this run.
    (void)m_options.SaveOptions();
    accept();
}

}  // namespace kz
