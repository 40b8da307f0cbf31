// SPDX-License-Identifier: MIT
#include "ui/main/newproblem.h"

#include <QDialog>
#include <algorithm>
#include <cmath>

#include "logic/describe.h"
#include "settings/optionman.h"
#include "ui/dialogs/frmnewproblem.h"
#include "ui/main/apptitle.h"
#include "ui/main/generationpanel.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The settings file keeps the dialog's symmetry by its number, and reads back only numbers
// within its range.
static_assert(std::ranges::all_of(generate::kSymmetries, [](const generate::SymmetryInfo& row) {
    return static_cast<int>(row.symmetry) <= kNewSymmetryMax;
}));

}  // namespace

NewProblemCommand::NewProblemCommand(QWidget& window, QWidget* client, UiPort& port,
                                     OptionMan& options, Hooks hooks)
    : m_window(window),
      m_port(port),
      m_options(options),
      m_hooks(std::move(hooks)),
      m_generate([](const generate::Request& request, std::mt19937_64& random,
                    const std::atomic<bool>* cancel, const generate::AttemptFn& onAttempt) {
          return generate::Generate(request, random, cancel, onAttempt);
      }),
      m_panel(new GenerationPanel(client)) {}

NewProblemCommand::~NewProblemCommand() {
    delete m_job;
}

void NewProblemCommand::run() {
    if (running()) return;
    NewProblemChoice choice{m_options.GetExtra(ExtNewLevel), m_options.GetExtra(ExtNewSymmetry)};
    {
        frmNewProblem dialog(choice, &m_window);
        if (m_port.runDialog(dialog) != QDialog::Accepted) return;
        choice = dialog.choice();
    }
    m_options.SetExtra(ExtNewLevel, static_cast<std::int16_t>(choice.level));
    m_options.SetExtra(ExtNewSymmetry, static_cast<std::int16_t>(choice.symmetry));
    // A failed write only loses the choice for the next run.
    (void)m_options.SaveOptions();

    generate::Request request;
    request.level = choice.level;
    request.symmetry =
        generate::SymmetryNumbered(choice.symmetry).value_or(generate::kDefaultSymmetry);
    // All 53 bits of the draw.
    const auto seed = static_cast<std::uint64_t>(std::ldexp(m_port.random(), 53));

    m_hooks.busy(true);
    m_job = new GenerationJob(m_generate, request, seed, this, m_launch);
    connect(m_job, &GenerationJob::finished, this, &NewProblemCommand::finished);
    m_panel->start(m_job);
}

void NewProblemCommand::finished(const generate::Result& result) {
    // A cancel pressed after the worker last looked at the flag, while its result was on the
    // way, still wins: the player asked to keep the board.
    bool cancelled = result.cancelled;
    QString failure;
    if (GenerationJob* job = m_job) {
        cancelled |= job->cancelRequested();
        failure = job->failure();
        m_job = nullptr;
        job->deleteLater();
    }
    m_panel->stop();
    m_hooks.busy(false);
    if (cancelled) return;
    if (!failure.isEmpty()) {
        m_port.message(failure + kCrLf + QStringLiteral("盤面はそのままです"), UiPort::Buttons::Ok,
                       UiPort::Icon::Error, kAppTitle);
        return;
    }
    if (!result.puzzle) {
        m_port.message(QStringLiteral("指定されたﾚﾍﾞﾙの問題を作成できませんでした") + kCrLf +
                           QStringLiteral("もう一度お試しください"),
                       UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
        return;
    }
    // Like a problem read from a file: every digit a given, a fresh history and clock.
    const generate::Puzzle& puzzle = *result.puzzle;
    ValueArray16 values{};
    for (int c = 0; c < 81; ++c) values[c + 1] = puzzle.givens[c];
    m_hooks.made(values, " [新しい問題 " + std::string(logic::LevelName(puzzle.rating.level)) + "]",
                 puzzle.rating.level);
}

}  // namespace kz
