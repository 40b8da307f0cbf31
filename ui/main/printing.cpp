// SPDX-License-Identifier: MIT
// The print commands of the main window.
#include "ui/main/printing.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <string>

#include "logic/solver.h"
#include "render/pagepainter.h"
#include "settings/optionman.h"
#include "ui/dialogs/palette.h"
#include "ui/main/apptitle.h"
#include "ui/main/bookletjob.h"
#include "ui/main/scale.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Paper where the user lives: Letter in the lands that measure in inches, A4 elsewhere. The
// print dialog and the preview let the user change it; a PDF file has no dialog of its own.
QPageSize homePaper() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                      : QPageSize(QPageSize::A4);
}

// Seeds are kept below 2^53 so that a draw of the port's random source, a double, gives each
// of them; the seed is printed and typed again, so it stays short.
std::uint64_t seedFrom(double draw) {
    return static_cast<std::uint64_t>(std::ldexp(draw, 53));
}

}  // namespace

PrintCommands::PrintCommands(QWidget& window, UiPort& port, const OptionMan& options, GameFn game)
    : QObject(&window),
      m_window(window),
      m_port(port),
      m_options(options),
      m_game(std::move(game)),
      m_generate(generate::Generate) {
    setObjectName(QStringLiteral("printCommands"));
    m_bookletChoice.tiles = m_options.GetOption(OptImageKind) == 0;
}

PrintCommands::~PrintCommands() {
    delete m_job;
}

void PrintCommands::addActions(QMenu* menu) {
    auto add = [&](const char* name, const QString& caption, const QKeySequence& shortcut) {
        auto* action = new QAction(caption, &m_window);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        menu->addAction(action);
        return action;
    };
    QAction* print =
        add("mnPrint", QStringLiteral("印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    m_mnBooklet = add("mnBooklet", QStringLiteral("問題集を作成(&K)..."), {});
    connect(print, &QAction::triggered, this, [this] { printGame(); });
    connect(m_mnBooklet, &QAction::triggered, this, [this] { makeBooklet(); });
}

void PrintCommands::showError(const QString& text) {
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::Error, kAppTitle);
}

void PrintCommands::printThroughPort(const QString& document, bool preview,
                                     const std::function<QString(QPrinter&)>& paint) {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The layout keeps its own margins, inside what printers reach.
        m_printer->setFullPage(true);
        m_printer->setPageSize(homePaper());
    }
    m_printer->setDocName(document);
    QString failure;
    m_port.print(*m_printer, preview ? UiPort::PrintMode::Preview : UiPort::PrintMode::Dialog,
                 [&](QPrinter& p) { failure = paint(p); });
    if (!failure.isEmpty()) showError(failure);
}

// ---- The current game ----

void PrintCommands::printGame() {
    frmPrintGame dialog(m_gameChoice, &m_window);
    if (m_port.runDialog(dialog) != QDialog::Accepted) return;
    m_gameChoice = dialog.choice();
    const Game game = m_game();
    using Content = GamePrintChoice::Content;

    render::GamePage page;
    page.title = game.title;
    page.tiles = m_options.GetOption(OptImageKind) == 0;
    page.colour = m_gameChoice.colour;
    render::GridContent& content = page.content;
    if (page.colour) content.fill.emplace();
    for (int n = 1; n <= kCellCount; ++n) {
        const CellData& cell = game.board[n];
        const int c = n - 1;
        if (cell.Problem || m_gameChoice.content != Content::Puzzle) {
            content.digits[c] = cell.Value;
            content.given[c] = cell.Problem;
        }
        if (m_gameChoice.content == Content::Notes) content.notes[c] = game.notes[n];
        if (content.fill) {
            int slot = OptBlankColor;
            if (cell.Problem) {
                slot = OptProblemColor;
            } else if (m_gameChoice.content != Content::Puzzle && cell.Mark == MarkConflict) {
                slot = OptConflictColor;
            } else if (m_gameChoice.content != Content::Puzzle && cell.Mark == MarkAnswer) {
                slot = OptAnswerColor;
            }
            (*content.fill)[c] = PaletteColor(m_options.GetOption(slot));
        }
    }
    if (game.puzzle) {
        if (const std::optional<print::Entry> entry = print::RatedEntry(*game.puzzle)) {
            page.label = fromUtf8(print::RatingText(*entry));
        }
    }
    printThroughPort(game.title, m_gameChoice.preview, [&](QPrinter& p) {
        QString error;
        render::PaintGamePage(p, page, &error);
        return error;
    });
}

// ---- Booklets ----

void PrintCommands::makeBooklet() {
    if (making()) return;
    frmBooklet dialog(m_bookletChoice, &m_window);
    if (m_port.runDialog(dialog) != QDialog::Accepted) return;
    m_bookletChoice = dialog.choice();
    m_order.count = m_bookletChoice.count;
    m_order.request = {m_bookletChoice.level, m_bookletChoice.symmetry, 0};
    m_order.seed = seedFrom(m_port.random());

    // A count and ｷｬﾝｾﾙ, as the new-puzzle panel shows its attempts. Window-modal: the window
    // still repaints but takes no command that could race with the booklet.
    auto* progress = new QDialog(&m_window);
    progress->setObjectName(QStringLiteral("frmBookletProgress"));
    progress->setWindowTitle(QStringLiteral("問題集を作成"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(progress);
    label->setObjectName(QStringLiteral("lblProgress"));
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), progress);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* layout = new QVBoxLayout(progress);
    layout->addWidget(label);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FollowWindowScale(*progress, &m_window);
    auto showDone = [label, count = m_order.count](int done) {
        label->setText(QStringLiteral("問題を作成しています（%1 / %2 問）").arg(done).arg(count));
    };
    showDone(0);
    m_progress = progress;
    m_mnBooklet->setEnabled(false);

    m_job = new BookletJob(m_generate, m_order, this);
    // The count is read from the job, as the new-puzzle panel reads its attempts: the worker
    // never calls into Qt until its result.
    auto* poll = new QTimer(progress);
    connect(poll, &QTimer::timeout, progress,
            [this, showDone] { showDone(m_job ? m_job->done() : 0); });
    poll->start(100);
    // The button, Esc and the close box all end in reject().
    connect(cancel, &QPushButton::clicked, progress, &QDialog::reject);
    connect(progress, &QDialog::rejected, m_job, &BookletJob::cancel);
    connect(m_job, &BookletJob::finished, this, &PrintCommands::bookletMade);
    progress->show();
}

void PrintCommands::bookletMade(const print::Made& made) {
    const QString failure = m_job->failure();
    m_job->deleteLater();
    m_job = nullptr;
    if (m_progress) {
        m_progress->hide();  // hidden, not rejected: there is nothing left to cancel
        m_progress->deleteLater();
    }
    m_mnBooklet->setEnabled(true);
    if (!failure.isEmpty()) {
        showError(failure);
    } else if (made.cancelled) {
        // The player stopped it: nothing to say.
    } else if (made.gaveUp && made.puzzles.empty()) {
        showError(QStringLiteral("このﾚﾍﾞﾙの問題を %1 回の試行で作成できませんでした")
                      .arg(made.gaveUp->attempts));
    } else if (made.gaveUp &&
               m_port.message(QStringLiteral("%1問目をこのﾚﾍﾞﾙで %2 回の試行では作成できません"
                                             "でした。\r\nできた %3 問で問題集を作りますか？")
                                  .arg(made.puzzles.size() + 1)
                                  .arg(made.gaveUp->attempts)
                                  .arg(made.puzzles.size()),
                              UiPort::Buttons::OkCancel, UiPort::Icon::Question,
                              kAppTitle) != UiPort::Answer::Ok) {
        // Declined: the puzzles made are dropped.
    } else {
        print::Booklet booklet;
        booklet.puzzles = made.puzzles;
        booklet.perPage = m_bookletChoice.perPage;
        booklet.solutions = m_bookletChoice.solutions;
        booklet.tiles = m_bookletChoice.tiles;
        booklet.title = print::TitleFor(booklet.puzzles);
        print::Order order = m_order;
        order.count = static_cast<int>(made.puzzles.size());
        booklet.origin = print::OriginOf(order);
        output(booklet);
    }
    emit bookletDone();
}

void PrintCommands::output(const print::Booklet& booklet) {
    const QString title = fromUtf8(booklet.title);
    if (m_bookletChoice.output == BookletChoice::Output::Pdf) {
        UiPort::FileRequest request;
        request.title = QStringLiteral("問題集をPDFﾌｧｲﾙとして保存");
        request.fileName = title + QStringLiteral(".pdf");
        request.filter = QStringLiteral("PDFﾌｧｲﾙ (*.pdf)");
        request.defaultSuffix = QStringLiteral("pdf");
        request.confirmOverwrite = true;
        const QString path = m_port.saveFileName(request);
        if (path.isEmpty()) return;
        std::string error;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool written =
            render::WriteBookletPdf(path.toStdString(), booklet, homePaper(), &error);
        QApplication::restoreOverrideCursor();
        if (!written) {
            showError(QStringLiteral("PDFﾌｧｲﾙを保存できませんでした。\r\n") +
                      QString::fromStdString(error));
        }
        return;
    }
    printThroughPort(title, m_bookletChoice.output == BookletChoice::Output::Preview,
                     [&](QPrinter& p) {
                         QString error;
                         render::PaintBooklet(p, booklet, &error);
                         return error;
                     });
}

}  // namespace kz
