// SPDX-License-Identifier: MIT
// The options dialog: the five colour roles, the automatic check and the kind of digit
// picture.
#include "ui/dialogs/frmoption.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "resources/pictures.h"
#include "settings/optionman.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/dialogs/palette.h"
#include "ui/main/apptitle.h"
#include "ui/main/clicklabel.h"
#include "ui/main/scale.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

// Role i is stored in this slot: the grid colour sits apart, after the automatic check.
constexpr std::array<int, frmOption::kRoleCount> kRoleSlot = {
    OptBlankColor, OptProblemColor, OptConflictColor, OptAnswerColor, OptGridColor};

// Picture sets offered for looks only: the program carries one set of tile artwork.
const std::array<QString, 4> kArtworkNames = {QStringLiteral("標準（線画）"),
                                              QStringLiteral("クラシック"),
                                              QStringLiteral("モダン"), QStringLiteral("手描き風")};

}  // namespace

frmOption::frmOption(OptionMan& options, UiPort& port, QWidget* parent)
    : QDialog(parent), m_options(options), m_port(port) {
    setUpFixedDialog(*this, "frmOption", QStringLiteral("ｵﾌﾟｼｮﾝ設定"), 8235, 4560);

    // ---- Colours
    QGroupBox* frame2 = makeNamed<CaptionBox>(
        this, "Frame2", QStringLiteral("ﾏｽ目の背景色（下段から選んでください）："),
        TwipRect(120, 120, 4155, 4335));
    m_optBColor = new QButtonGroup(this);
    makeOption(m_optBColor, frame2, "optBColor", 0, QStringLiteral("入力可能（空白）"),
               TwipRect(180, 420, 2175, 195));
    makeOption(m_optBColor, frame2, "optBColor", 1, QStringLiteral("問題として読込"),
               TwipRect(2220, 420, 1635, 195));
    makeOption(m_optBColor, frame2, "optBColor", 2, QStringLiteral("整合性ﾁｪｯｸでｴﾗｰ時"),
               TwipRect(180, 1560, 1995, 195));
    makeOption(m_optBColor, frame2, "optBColor", 3, QStringLiteral("答えを見る、の結果"),
               TwipRect(2220, 1560, 1875, 195));
    makeOption(m_optBColor, frame2, "optBColor", 4, QStringLiteral("ﾏｽの枠線"),
               TwipRect(180, 2700, 1215, 195));

    const std::array<QRect, kSampleCount> cellRects = {
        TwipRect(480, 660, 675, 675), TwipRect(2460, 660, 675, 675), TwipRect(480, 1800, 675, 675),
        TwipRect(2460, 1800, 675, 675)};
    const std::array<QRect, kSampleCount> pictureRects = {
        TwipRect(630, 750, 360, 480), TwipRect(2610, 750, 360, 480), TwipRect(630, 1890, 360, 480),
        TwipRect(2610, 1905, 360, 480)};
    for (int i = 0; i < kSampleCount; ++i) {
        auto* cell = new ColorCell(frame2);
        cell->setObjectName(indexedName("lblBack", i));
        cell->setGeometry(cellRects[i]);
        connect(cell, &ColorCell::clicked, this, [this, i] { lblBack_Click(i); });
        m_lblBack[i] = cell;

        auto* picture = new ClickLabel(frame2);
        picture->setObjectName(indexedName("imgPai", i));
        picture->setGeometry(pictureRects[i]);
        connect(picture, &ClickLabel::clicked, this, [this, i] { lblBack_Click(i); });
        m_imgPai[i] = picture;
    }

    m_linWaku = new ColorCell(frame2);
    m_linWaku->setObjectName(QStringLiteral("linWaku"));
    // A line 3 pixels thick centred on its drawn y.
    m_linWaku->setGeometry(TwipsToPx(1380), TwipsToPx(2760) - 1, TwipsToPx(3120 - 1380), 3);

    for (int i = 0; i < kPaletteSize; ++i) {
        const int column = i % 8;
        const int top = i < 8 ? 3300 : 3780;
        auto* swatch = new ColorCell(frame2);
        swatch->setObjectName(indexedName("lblSelColor", i));
        swatch->setGeometry(TwipRect(180 + 480 * column, top, 375, 375));
        connect(swatch, &ColorCell::clicked, this, [this, i] { lblSelColor_Click(i); });
        m_lblSelColor[i] = swatch;
    }
    m_shpWaku = new SwatchMarker(frame2);
    m_shpWaku->setObjectName(QStringLiteral("shpWaku"));

    // ---- Automatic check
    QGroupBox* frame1 =
        makeNamed<CaptionBox>(this, "Frame1", QStringLiteral("間違った牌を置こうとした時："),
                              TwipRect(4440, 120, 3675, 975));
    m_optAutoThink = new QButtonGroup(this);
    makeOption(m_optAutoThink, frame1, "optAutoThink", 0,
               QStringLiteral("何もしない　…何でも自由に置けます"), TwipRect(120, 300, 3375, 195));
    makeOption(m_optAutoThink, frame1, "optAutoThink", 1,
               QStringLiteral("自動的に判断して　置けなくする"), TwipRect(120, 600, 3255, 195));

    // ---- Tile kind
    QGroupBox* frame3 = makeNamed<CaptionBox>(this, "Frame3", QStringLiteral("牌の種類："),
                                              TwipRect(4440, 1260, 3675, 675));
    m_optSuitKind = new QButtonGroup(this);
    makeOption(m_optSuitKind, frame3, "optSuitKind", 0, QStringLiteral("筒子"),
               TwipRect(120, 300, 675, 195));
    makeOption(m_optSuitKind, frame3, "optSuitKind", 2, QStringLiteral("萬子"),
               TwipRect(1020, 300, 675, 195))
        ->setEnabled(false);
    makeOption(m_optSuitKind, frame3, "optSuitKind", 3, QStringLiteral("索子"),
               TwipRect(1920, 300, 675, 195))
        ->setEnabled(false);
    makeOption(m_optSuitKind, frame3, "optSuitKind", 1, QStringLiteral("数字"),
               TwipRect(2820, 300, 675, 195));

    // ---- Picture set
    QGroupBox* frame4 = makeNamed<CaptionBox>(this, "Frame4", QStringLiteral("牌画の版元："),
                                              TwipRect(4440, 2100, 3675, 1575));
    m_optHanmoto = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        QRadioButton* option = makeOption(m_optHanmoto, frame4, "optHanmoto", i, kArtworkNames[i],
                                          TwipRect(120, 300 + 300 * i, 3435, 195));
        option->setChecked(i == 0);
        option->setEnabled(i == 0);
    }

    m_cmdOK = makeNamed<QPushButton>(this, "cmdOK", QStringLiteral("OK"),
                                     TwipRect(4800, 4080, 1575, 375));
    m_cmdOK->setDefault(true);
    m_cmdCancel = makeNamed<QPushButton>(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"),
                                         TwipRect(6540, 4080, 1575, 375));

    connect(m_optBColor, &QButtonGroup::idToggled, this, [this](int role, bool checked) {
        if (checked) optBColor_Click(role);
    });
    connect(m_optSuitKind, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) optSuitKind_Click();
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &frmOption::cmdOK_Click);
    // Esc and the close box reach reject() through QDialog itself.
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
    CentreOnScreen(*this);
}

void frmOption::Form_Load() {
    for (int i = 0; i < kPaletteSize; ++i) m_lblSelColor[i]->setFill(PaletteColor(i));

    const auto selectIn = [](QButtonGroup* group, int id, int fallback) {
        QAbstractButton* button = group->button(id);
        if (button == nullptr || !button->isEnabled()) button = group->button(fallback);
        button->setChecked(true);
    };
    selectIn(m_optAutoThink, m_options.GetOption(OptAutoCheck), 0);
    selectIn(m_optSuitKind, m_options.GetOption(OptImageKind), 0);

    for (int role = 0; role < kRoleCount; ++role)
        m_colorChoice[role] = m_options.GetOption(kRoleSlot[role]);

    for (int i = 0; i < kSampleCount; ++i) m_lblBack[i]->setFill(PaletteColor(m_colorChoice[i]));
    showSamplePictures(m_options.ImageSetBase() + 1);

    const QColor grid = PaletteColor(m_colorChoice[kGridRole]);
    m_linWaku->setFill(grid);
    m_linWaku->setOutline(grid);
    for (ColorCell* cell : m_lblBack) cell->setOutline(grid);

    // Selecting role 0 moves the marker; done explicitly too in case it was already set.
    m_optBColor->button(0)->setChecked(true);
    optBColor_Click(0);
}

void frmOption::optBColor_Click(int role) {
    const int colour = m_colorChoice[role];
    // A colour number no swatch shows (only a hand-edited file could hold one) gets no marker.
    if (colour < 0 || colour >= kPaletteSize) {
        m_shpWaku->hide();
        return;
    }
    m_shpWaku->frame(*m_lblSelColor[colour]);
    m_shpWaku->show();
}

int frmOption::selectedRole() const {
    const int role = m_optBColor->checkedId();
    return role < 0 ? 0 : role;
}

void frmOption::lblSelColor_Click(int number) {
    const int role = selectedRole();
    m_colorChoice[role] = number;
    const QColor colour = PaletteColor(number);
    if (role == kGridRole) {
        m_linWaku->setFill(colour);
        m_linWaku->setOutline(colour);
        for (ColorCell* cell : m_lblBack) cell->setOutline(colour);
    } else {
        m_lblBack[role]->setFill(colour);
    }
    optBColor_Click(role);
}

void frmOption::lblBack_Click(int index) {
    m_optBColor->button(index)->setChecked(true);
    optBColor_Click(index);
}

void frmOption::optSuitKind_Click() {
    // Only the two kinds the program has pictures for can be set.
    switch (m_optSuitKind->checkedId()) {
        case 0:
            showSamplePictures(1);
            break;
        case 1:
            showSamplePictures(11);
            break;
        default:
            break;
    }
}

void frmOption::showSamplePictures(int firstPicture) {
    // The samples grow with the window the dialog opens over, as its cells do.
    const double scale = WindowScale(parentWidget());
    for (int i = 0; i < kSampleCount; ++i) {
        m_imgPai[i]->setPixmap(TilePicture(firstPicture + i, scale));
    }
}

void frmOption::cmdOK_Click() {
    if (m_colorChoice[0] == m_colorChoice[kGridRole]) {
        m_port.message(QStringLiteral("空白ﾏｽの背景色と枠線の色を同じにすることはできません"),
                       UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
        return;
    }
    m_options.SetOption(OptAutoCheck, m_optAutoThink->checkedId() == 1 ? 1 : 0);
    const std::int16_t kind = m_optSuitKind->checkedId() == 1 ? 1 : 0;
    m_options.SetOption(OptImageKind, kind);
    m_options.SetImageSetBase(static_cast<std::int16_t>(10 * kind));
    for (int role = 0; role < kRoleCount; ++role)
        m_options.SetOption(kRoleSlot[role], static_cast<std::int16_t>(m_colorChoice[role]));
    // A failed write is not the user's concern here: the new settings still apply for this run.
    (void)m_options.SaveOptions();
    accept();
}

}  // namespace kz
