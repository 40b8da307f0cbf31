// SPDX-License-Identifier: MIT
// The scripted port the widget tests hand to the windows: it records every modal request and
// answers from queues the test fills, so no test ever waits on a modal window. A request the
// test did not script is recorded in `unexpected` and answered with a cancel.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>

#include "ui/main/uiport.h"

namespace kz::test {

class FakePort : public UiPort {
public:
    struct MessageCall {
        QString text;
        Buttons buttons;
        Icon icon;
        QString caption;
    };

    // Scripts, consumed front first.
    std::deque<Answer> messageAnswers;  ///< only needed for OK/Cancel boxes; OK boxes answer OK
    std::deque<QString> openAnswers;    ///< empty text = cancel
    std::deque<QString> saveAnswers;
    /// Each script drives the shown dialog (clicks, typing) and returns its result code.
    std::deque<std::function<int(QDialog&)>> dialogScripts;
    std::deque<double> randoms;
    /// Each answer to a print request is the PDF file the printer writes to; empty = cancel.
    std::deque<QString> printAnswers;
    QDateTime clock = QDateTime(QDate(2026, 1, 1), QTime(12, 0, 0));

    // Records.
    QList<MessageCall> messages;
    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;
    QStringList dialogs;  ///< class names of the dialogs run
    QList<QUrl> urls;
    QList<PrintMode> prints;
    int beeps = 0;
    QStringList unexpected;

    Answer message(const QString& text, Buttons buttons, Icon icon,
                   const QString& caption) override {
        messages.append({text, buttons, icon, caption});
        if (!messageAnswers.empty()) {
            Answer a = messageAnswers.front();
            messageAnswers.pop_front();
            return a;
        }
        if (buttons == Buttons::Ok) return Answer::Ok;
        unexpected << QStringLiteral("message: ") + text;
        return Answer::Cancel;
    }
    QString openFileName(const FileRequest& request) override {
        openRequests.append(request);
        return take(openAnswers, QStringLiteral("open dialog"));
    }
    QString saveFileName(const FileRequest& request) override {
        saveRequests.append(request);
        return take(saveAnswers, QStringLiteral("save dialog"));
    }
    int runDialog(QDialog& dialog) override {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        if (dialogScripts.empty()) {
            unexpected << QStringLiteral("dialog: ") + dialogs.last();
            return QDialog::Rejected;
        }
        auto script = std::move(dialogScripts.front());
        dialogScripts.pop_front();
        dialog.show();
        const int result = script(dialog);
        dialog.hide();
        return result;
    }
    void beep() override { ++beeps; }
    QDateTime now() override { return clock; }
    double random() override {
        if (randoms.empty()) {
            unexpected << QStringLiteral("random");
            return 0.0;
        }
        const double r = randoms.front();
        randoms.pop_front();
        return r;
    }
    void openUrl(const QUrl& url) override { urls.append(url); }
    bool print(QPrinter& printer, PrintMode mode,
               const std::function<void(QPrinter&)>& paint) override {
        prints.append(mode);
        const QString file = take(printAnswers, QStringLiteral("print"));
        if (file.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        paint(printer);
        return true;
    }

    /// The text of the last message box, or an empty text.
    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }

private:
    QString take(std::deque<QString>& queue, const QString& what) {
        if (queue.empty()) {
            unexpected << what;
            return {};
        }
        QString s = queue.front();
        queue.pop_front();
        return s;
    }
};

}  // namespace kz::test
