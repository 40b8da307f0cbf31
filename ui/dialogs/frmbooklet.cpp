// SPDX-License-Identifier: MIT
// The booklet dialog.
#include "ui/dialogs/frmbooklet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "logic/step.h"
#include "print/booklet.h"
#include "print/layout.h"
#include "ui/dialogs/dialogwidgets.h"

namespace kz {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A row of option buttons, their ids the values they stand for.
QButtonGroup* options(QWidget* parent, QFormLayout* form, const QString& label, const char* name,
                      std::initializer_list<std::pair<int, QString>> items) {
    auto* row = new QHBoxLayout;
    auto* group = new QButtonGroup(parent);
    for (const auto& [id, caption] : items) {
        auto* button = new QRadioButton(caption, parent);
        button->setObjectName(indexedName(name, id));
        group->addButton(button, id);
        row->addWidget(button);
    }
    row->addStretch();
    form->addRow(label, row);
    return group;
}

void select(QComboBox* box, int value) {
    const int index = box->findData(value);
    if (index >= 0) box->setCurrentIndex(index);
}

void check(QButtonGroup* group, int id, int fallback) {
    QAbstractButton* button = group->button(id);
    (button != nullptr ? button : group->button(fallback))->setChecked(true);
}

}  // namespace

frmBooklet::frmBooklet(const BookletChoice& choice, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBooklet"));
    setWindowTitle(QStringLiteral("問題集を作成"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* form = new QFormLayout;

    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("txtCount"));
    m_count->setRange(1, print::kMaxPuzzles);
    m_count->setSuffix(QStringLiteral(" 問"));
    form->addRow(QStringLiteral("問題数："), m_count);

    m_level = new QComboBox(this);
    m_level->setObjectName(QStringLiteral("cboLevel"));
    for (int level = 1; level <= logic::kMaxLevel; ++level) {
        m_level->addItem(fromView(logic::LevelName(level)), level);
    }
    form->addRow(QStringLiteral("ﾚﾍﾞﾙ："), m_level);

    m_symmetry = new QComboBox(this);
    m_symmetry->setObjectName(QStringLiteral("cboSymmetry"));
    for (const generate::SymmetryInfo& row : generate::kSymmetries) {
        m_symmetry->addItem(fromView(row.caption), static_cast<int>(row.symmetry));
    }
    form->addRow(QStringLiteral("対称性："), m_symmetry);

    m_perPage = new QComboBox(this);
    m_perPage->setObjectName(QStringLiteral("cboPerPage"));
    for (int n : print::kPerPageChoices) {
        m_perPage->addItem(QStringLiteral("%1 問").arg(n), n);
    }
    form->addRow(QStringLiteral("1ﾍﾟｰｼﾞに："), m_perPage);

    m_look = options(this, form, QStringLiteral("表示："), "optLook",
                     {{0, QStringLiteral("数字")}, {1, QStringLiteral("牌")}});
    m_solutions = new QCheckBox(QStringLiteral("最後に解答を付ける"), this);
    m_solutions->setObjectName(QStringLiteral("chkSolutions"));
    form->addRow(QString(), m_solutions);
    m_output = options(this, form, QStringLiteral("出力："), "optOutput",
                       {{0, QStringLiteral("ﾌﾟﾚﾋﾞｭｰ")},
                        {1, QStringLiteral("印刷")},
                        {2, QStringLiteral("PDFﾌｧｲﾙ")}});

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("作成"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const BookletChoice defaults;
    m_count->setValue(choice.count >= 1 && choice.count <= print::kMaxPuzzles ? choice.count
                                                                              : defaults.count);
    select(m_level, defaults.level);
    select(m_level, choice.level);
    select(m_symmetry, static_cast<int>(defaults.symmetry));
    select(m_symmetry, static_cast<int>(choice.symmetry));
    select(m_perPage, defaults.perPage);
    select(m_perPage, choice.perPage);
    check(m_look, choice.tiles ? 1 : 0, 0);
    m_solutions->setChecked(choice.solutions);
    check(m_output, static_cast<int>(choice.output), 0);
    CentreOnScreen(*this);
}

BookletChoice frmBooklet::choice() const {
    BookletChoice c;
    c.count = m_count->value();
    c.level = m_level->currentData().toInt();
    c.symmetry = static_cast<generate::Symmetry>(m_symmetry->currentData().toInt());
    c.perPage = m_perPage->currentData().toInt();
    c.tiles = m_look->checkedId() == 1;
    c.solutions = m_solutions->isChecked();
    c.output = static_cast<BookletChoice::Output>(m_output->checkedId());
    return c;
}

}  // namespace kz
