// SPDX-License-Identifier: MIT
// The print dialog of the current game.
#include "ui/dialogs/frmprintgame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs/dialogwidgets.h"

namespace kz {

frmPrintGame::frmPrintGame(const GamePrintChoice& choice, QWidget* parent)
    : QDialog(parent), m_preview(choice.preview) {
    setObjectName(QStringLiteral("frmPrintGame"));
    setWindowTitle(QStringLiteral("印刷"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* frame = new QGroupBox(QStringLiteral("印刷する内容："), this);
    auto* column = new QVBoxLayout(frame);
    m_content = new QButtonGroup(this);
    const std::pair<GamePrintChoice::Content, QString> items[] = {
        {GamePrintChoice::Content::Puzzle, QStringLiteral("問題だけ")},
        {GamePrintChoice::Content::Digits, QStringLiteral("問題と入力した数字")},
        {GamePrintChoice::Content::Notes, QStringLiteral("問題と入力した数字とﾒﾓ")}};
    for (const auto& [content, caption] : items) {
        auto* button = new QRadioButton(caption, frame);
        button->setObjectName(indexedName("optContent", static_cast<int>(content)));
        m_content->addButton(button, static_cast<int>(content));
        column->addWidget(button);
    }
    QAbstractButton* preset = m_content->button(static_cast<int>(choice.content));
    (preset != nullptr ? preset : m_content->button(1))->setChecked(true);
    m_colour = new QCheckBox(QStringLiteral("ｶﾗｰで印刷する"), this);
    m_colour->setObjectName(QStringLiteral("chkColour"));
    m_colour->setChecked(choice.colour);

    auto* buttons = new QDialogButtonBox(this);
    auto* preview =
        buttons->addButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&V)..."), QDialogButtonBox::AcceptRole);
    preview->setObjectName(QStringLiteral("cmdPreview"));
    auto* print = buttons->addButton(QStringLiteral("印刷(&P)..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    (choice.preview ? preview : print)->setDefault(true);
    connect(preview, &QPushButton::clicked, this, [this] {
        m_preview = true;
        accept();
    });
    connect(print, &QPushButton::clicked, this, [this] {
        m_preview = false;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_colour);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen(*this);
}

GamePrintChoice frmPrintGame::choice() const {
    return {static_cast<GamePrintChoice::Content>(m_content->checkedId()), m_colour->isChecked(),
            m_preview};
}

}  // namespace kz
