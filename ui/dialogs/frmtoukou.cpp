// SPDX-License-Identifier: MIT
// The posting-string dialog.
#include "ui/dialogs/frmtoukou.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/dialogs/dialogwidgets.h"

namespace kz {

frmToukou::frmToukou(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmToukou"));
    setWindowTitle(QStringLiteral("専用掲示板へ問題を投稿するために"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon());
    setFixedSize(TwipsToPx(9450), TwipsToPx(1890));

    // Created in tab order: the text box first, so it has the focus (and the selection) as
    // soon as the dialog opens.
    auto* text1 = new SelectAllLineEdit(text, this);
    text1->setObjectName(QStringLiteral("Text1"));
    text1->setGeometry(TwipRect(120, 660, 9195, 675));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    // The box was sized for the string in the font named above; a substitute with wider
    // digits would hide the string's start.
    text1->setFont(font);
    ShrinkFontToFit(*text1, text, text1->width() - 12);

    auto* label1 = new QLabel(
        QStringLiteral("下の文字列を専用掲示板の「記事の投稿：問題欄」へ、貼り付け（ベースト）"
                       "してください"),
        this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(TwipRect(120, 120, 8895, 255));

    auto* cmdCancel = new QPushButton(QStringLiteral("閉じる"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipRect(7740, 1440, 1575, 375));
    // Only a cancel button: Enter in the text box must not close the dialog, Esc does.
    cmdCancel->setAutoDefault(false);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(text1, cmdCancel);
    text1->setFocus();
    CentreOnScreen(*this);
}

}  // namespace kz
