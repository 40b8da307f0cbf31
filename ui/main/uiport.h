// SPDX-License-Identifier: MIT
// The one door between the main window and everything modal or outside the program: message
// boxes, file dialogs, modal dialogs, the beep, the clock, the random source and the browser.
// The program passes a port that uses Qt; tests pass a scripted one, so no test ever blocks on
// a modal window.
#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <functional>

class QDialog;
class QPrinter;

namespace kz {

class UiPort {
public:
    enum class Icon { None, Error, Question, Warning, Information };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };
    /// How a document reaches a printer: the print dialog first, or the print preview, whose
    /// own button prints.
    enum class PrintMode { Dialog, Preview };

    /// What a file dialog is asked for.
    struct FileRequest {
        QString title;
        QString fileName;       ///< name shown in the file-name box at start
        QString filter;         ///< Qt filter text, e.g. "label (*.csv)"
        QString defaultSuffix;  ///< appended to a typed name without extension
        bool confirmOverwrite = false;
    };

    virtual ~UiPort() = default;

    /// A modal message box. A CR LF in text is a line break.
    virtual Answer message(const QString& text, Buttons buttons, Icon icon,
                           const QString& caption) = 0;
    /// The chosen path, or an empty text when the user cancelled.
    virtual QString openFileName(const FileRequest& request) = 0;
    virtual QString saveFileName(const FileRequest& request) = 0;
    /// Shows a dialog modally and returns its result code (QDialog::Accepted or Rejected).
    virtual int runDialog(QDialog& dialog) = 0;
    virtual void beep() = 0;
    /// The current local date and time.
    virtual QDateTime now() = 0;
    /// A uniform draw from [0, 1), mixed with the clock before every draw in the program.
    virtual double random() = 0;
    /// Opens an address in the user's browser; failures are ignored.
    virtual void openUrl(const QUrl& url) = 0;
    /// Lets the user choose the printer, the paper and so on, and prints. `paint` draws the
    /// whole document on the printer it is given, and again whenever a preview needs it.
    /// False when the user cancelled.
    virtual bool print(QPrinter& printer, PrintMode mode,
                       const std::function<void(QPrinter&)>& paint) = 0;
};

}  // namespace kz
