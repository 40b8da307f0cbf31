// SPDX-License-Identifier: MIT
// The program's own port onto Qt and the desktop.
#include "ui/main/qtport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSpacerItem>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdint>

#include "ui/dialogs/dialogwidgets.h"

namespace kz {

void QtPort::setUpMessageBox(QMessageBox& box, const QString& text, Buttons buttons, Icon icon,
                             const QString& caption) {
    box.setWindowTitle(caption);
    // Texts use CR LF as their line break; a bare CR would show as a glyph.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
    }
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // Plain buttons, whatever the desktop style adds to standard ones.
    for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());

    // A box sized to a short text is narrower than its caption, and the window manager
    // shortens the caption to fit ("Ka…et"); make room for it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int width = messageBoxWidth(caption, box.font());
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

int QtPort::messageBoxWidth(const QString& caption, const QFont& font) {
    // Title bars use a larger, often bold face than the box, and carry the window manager's
    // icon and buttons beside the caption.
    QFont title = font;
    title.setPointSizeF(font.pointSizeF() * 1.25);
    title.setBold(true);
    constexpr int kTitleBarRoom = 120;
    return QFontMetrics(title).horizontalAdvance(caption) + kTitleBarRoom;
}

UiPort::Answer QtPort::message(const QString& text, Buttons buttons, Icon icon,
                               const QString& caption) {
    QMessageBox box(m_owner);
    setUpMessageBox(box, text, buttons, icon, caption);
    if (m_owner == nullptr) {
        // With no window to sit over (a second copy's refusal), Qt centres the box by a size
        // it has before laying it out and without its title bar; centre its frame as soon
        // as it shows, as the dialogs are.
        QTimer::singleShot(0, &box, [&box] { CentreOnScreen(box); });
    }
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString QtPort::fileName(const FileRequest& request, bool save) {
    QFileDialog dialog(m_owner, request.title);
    // The same dialog on every desktop, and one the end-to-end test can drive.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

QString QtPort::openFileName(const FileRequest& request) {
    return fileName(request, false);
}

QString QtPort::saveFileName(const FileRequest& request) {
    return fileName(request, true);
}

int QtPort::runDialog(QDialog& dialog) {
    return dialog.exec();
}

bool QtPort::print(QPrinter& printer, PrintMode mode, const std::function<void(QPrinter&)>& paint) {
    if (mode == PrintMode::Preview) {
        QPrintPreviewDialog preview(&printer, m_owner);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                         [&paint](QPrinter* p) { paint(*p); });
        return preview.exec() == QDialog::Accepted;
    }
    QPrintDialog dialog(&printer, m_owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    paint(printer);
    return true;
}

void QtPort::beep() {
    QApplication::beep();
}

QDateTime QtPort::now() {
    return QDateTime::currentDateTime();
}

double QtPort::random() {
    // Reseeded from the clock before every draw, mixed with the running state so two draws
    // within one clock tick still differ.
    const auto wall = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    const auto tick =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    m_engine.seed(m_engine() ^ wall ^ (tick << 17));
    const double r = std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
    // Some library versions can round up to 1.0; the interval is half-open.
    return r < 1.0 ? r : std::nextafter(1.0, 0.0);
}

void QtPort::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

}  // namespace kz
