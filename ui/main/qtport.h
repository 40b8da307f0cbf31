// SPDX-License-Identifier: MIT
// The program's own port: Qt message boxes and file dialogs, the system beep, the wall clock,
// a clock-mixed random source and the desktop's browser.
#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <random>

#include "ui/main/uiport.h"

class QMessageBox;

namespace kz {

class QtPort : public UiPort {
public:
    /// Boxes and dialogs are centred on `owner` once it is set (it may be set after the
    /// main window exists).
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer message(const QString& text, Buttons buttons, Icon icon,
                   const QString& caption) override;
    /// Everything message() shows, short of showing it: the texts, the icon, plain buttons
    /// without pictures, and a width at which a title bar shows the whole caption.
    static void setUpMessageBox(QMessageBox& box, const QString& text, Buttons buttons, Icon icon,
                                const QString& caption);
    /// The least width of a box whose title bar shows `caption` whole.
    static int messageBoxWidth(const QString& caption, const QFont& font);
    QString openFileName(const FileRequest& request) override;
    QString saveFileName(const FileRequest& request) override;
    int runDialog(QDialog& dialog) override;
    void beep() override;
    QDateTime now() override;
    double random() override;
    void openUrl(const QUrl& url) override;
    bool print(QPrinter& printer, PrintMode mode,
               const std::function<void(QPrinter&)>& paint) override;

private:
    QString fileName(const FileRequest& request, bool save);

    QPointer<QWidget> m_owner;
    std::mt19937_64 m_engine{std::random_device{}()};
};

}  // namespace kz
