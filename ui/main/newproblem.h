// SPDX-License-Identifier: MIT
// The window's 新しい問題を作成: the choice of level and symmetry, the puzzle made on a worker
// thread under the generation panel, and the board it gives. Every message goes through the
// port.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "core/board.h"
#include "ui/main/generationjob.h"

class QWidget;

namespace kz {

class GenerationPanel;
class OptionMan;
class UiPort;

class NewProblemCommand : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        /// True before a puzzle is made (the window turns its commands off, so that nothing
        /// races with its arrival), false once the making is over, whatever its end.
        std::function<void(bool busy)> busy;
        /// A puzzle was made: every digit a given, with its caption and level.
        std::function<void(const ValueArray16& givens, const std::string& caption, int level)> made;
    };

    /// The panel shows in `client`; the dialog opens over `window`. The port and the settings
    /// must outlive the command.
    NewProblemCommand(QWidget& window, QWidget* client, UiPort& port, OptionMan& options,
                      Hooks hooks);
    /// Cancels the puzzle being made and waits for its thread.
    ~NewProblemCommand() override;

    /// The dialog, then the making; nothing while a puzzle is being made.
    void run();
    bool running() const { return !m_job.isNull(); }
    /// Replaces the generator (tests pass one they control).
    void setGenerateFunction(GenerationJob::GenerateFn fn) { m_generate = std::move(fn); }
    /// Replaces how the generator's thread starts (tests pass one that fails).
    void setLaunchFunction(GenerationJob::LaunchFn fn) { m_launch = std::move(fn); }

private:
    void finished(const generate::Result& result);

    QWidget& m_window;
    UiPort& m_port;
    OptionMan& m_options;
    Hooks m_hooks;
    GenerationJob::GenerateFn m_generate;
    GenerationJob::LaunchFn m_launch;
    QPointer<GenerationJob> m_job;
    GenerationPanel* m_panel = nullptr;
};

}  // namespace kz
