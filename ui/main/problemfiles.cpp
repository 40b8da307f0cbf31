// SPDX-License-Identifier: MIT
#include "ui/main/problemfiles.h"

#include <QFile>
#include <filesystem>

#include "files/fileio.h"
#include "ui/main/apptitle.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

// Shown as the label, with the pattern Qt reads from the parentheses.
const QString kFileFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.csv)");
const QString kFileSuffix = QStringLiteral("csv");
const QString kReadFailed = QStringLiteral("読込みに失敗しました");
const QString kSaved = QStringLiteral("ﾌｧｲﾙへ保存しました");
const QString kSaveFailed = QStringLiteral("ﾌｧｲﾙへの保存に失敗しました");

// Reading and saving offer the same files; only the caption tells the two apart.
UiPort::FileRequest problemFileRequest(const QString& caption) {
    UiPort::FileRequest request;
    request.title = kAppTitle + caption;
    request.filter = kFileFilter;
    request.defaultSuffix = kFileSuffix;
    return request;
}

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::string fileCaption(const QString& path) {
    std::string directory;
    std::string name;
    std::string extension;
    SplitPath(path.toStdString(), directory, name, extension);
    return " [" + name + extension + "]";
}

}  // namespace

std::optional<ProblemFiles::Read> ProblemFiles::read() {
    const auto tell = [this](const QString& text) {
        m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
    };
    UiPort::FileRequest request = problemFileRequest(QStringLiteral("問題ﾌｧｲﾙを開く"));
    request.fileName = m_lastFileName;
    const QString path = m_port.openFileName(request);
    if (path.isEmpty()) {
        tell(kReadFailed);
        return std::nullopt;
    }
    m_lastFileName = path;

    // The reader hands back all 81 digits or nothing, so a bad file leaves the board, the
    // caption, the history and the clock of the game in progress alone.
    Read read;
    if (!ReadProblemFile(localPath(path), read.values).ok) {
        tell(kReadFailed);
        return std::nullopt;
    }
    read.caption = fileCaption(path);
    return read;
}

std::optional<std::string> ProblemFiles::save(const ValueArray16& values) {
    UiPort::FileRequest request = problemFileRequest(QStringLiteral("ﾌｧｲﾙへ保存する"));
    request.confirmOverwrite = true;
    const QString path = m_port.saveFileName(request);
    // The save dialog starts with an empty name box, and a cancel leaves it empty.
    m_lastFileName = path;
    if (path.isEmpty()) return std::nullopt;

    // Nothing becomes a given unless the file really holds the board.
    const bool written = WriteProblemFile(localPath(path), values).ok;
    m_port.message(written ? kSaved : kSaveFailed, UiPort::Buttons::Ok, UiPort::Icon::None,
                   kAppTitle);
    if (!written) return std::nullopt;
    return fileCaption(path);
}

}  // namespace kz
