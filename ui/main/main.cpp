// SPDX-License-Identifier: MIT
// The program: one main window, refused when another instance runs.
#include <QApplication>
#include <QLockFile>
#include <QSessionManager>
#include <cstdlib>
#include <filesystem>

#include "files/keptgame.h"
#include "game/records.h"
#include "settings/optionman.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/qtport.h"
#include "ui/main/startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kz::kAppTitle);
    // Without Qt's translation only its own texts stay English; nothing to tell the user.
    (void)kz::InstallProgramLook();

    kz::QtPort port;
    QLockFile lock(kz::DefaultLockPath());
    if (!kz::ClaimSingleInstance(lock, port)) return 1;

    // Command-line arguments are not read; argv[0] only names the settings file.
    std::error_code here;
    const std::filesystem::path settings = kz::OptionMan::SettingsPath(
        argc > 0 ? argv[0] : "kazarinoset", std::filesystem::current_path(here),
        std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    kz::OptionMan options(settings, settings.has_parent_path());
    // Settings that silently failed to save would come back changed at the next start.
    options.SetSaveFailureListener([&port](const std::string& why) {
        port.message(
            QStringLiteral("設定を保存できませんでした。\r\n") + QString::fromStdString(why),
            kz::UiPort::Buttons::Ok, kz::UiPort::Icon::Warning, kz::kAppTitle);
    });
    kz::frmMain window(port, options);
    port.setOwner(&window);
    window.setKeptGamePath(kz::KeptGamePath());
    window.tellOffer();
    window.setRecordsPath(kz::RecordsPath());
    // A log-out closes no window; the game is written as the session asks to save data.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.flushKeptGame(); });

    kz::CentreOnScreen(window);
    window.show();
    return QApplication::exec();
}
