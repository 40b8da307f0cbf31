// SPDX-License-Identifier: MIT
// The main window's file, check, answer, verification, variant, options and posting commands.
#include <QAction>
#include <QDialog>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/answer.h"
#include "core/newquest.h"
#include "files/fileio.h"
#include "history/notes.h"
#include "settings/optionman.h"
#include "ui/dialogs/frmcreation.h"
#include "ui/dialogs/frmoption.h"
#include "ui/dialogs/frmtoukou.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// Shown as the label, with the pattern Qt reads from the parentheses.
const QString kFileFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.csv)");
const QString kFileSuffix = QStringLiteral("csv");
const QString kReadFailed = QStringLiteral("読込みに失敗しました");
const QString kSaved = QStringLiteral("ﾌｧｲﾙへ保存しました");
const QString kSaveFailed = QStringLiteral("ﾌｧｲﾙへの保存に失敗しました");
const QString kNoConflictFound = QStringLiteral("不整合はみつかりませんでした");
const QString kAlreadyConflicting = QStringLiteral("既に不整合箇所があるので解けません");
const QString kAllFilled = QStringLiteral("全部のﾏｽが埋まっているので解けません");
const std::string kNewQuestionCaption = " [new question]";

QString unsolvableText() {
    return QStringLiteral("解けません！") + kCrLf +
           QStringLiteral(
               "問題が不完全か、入力にミスがあるか、このプログラムがバカかのいずれかです。");
}

QString verifyResultText(int code) {
    switch (code) {
        case VerifyNoSolution:
            return QStringLiteral("解が１つも無いので問題として成立しません");
        case VerifyUnique:
            return QStringLiteral("ただ一つだけの解を持つ完成した問題です！");
        case VerifyMultiple:
            return QStringLiteral("二つ以上の解を持つ不完全な問題です！");
        default:
            return QStringLiteral("解が求まらないので問題として成立しません");
    }
}

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

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void frmMain::connectCommands() {
    connect(m_mnFileRead, &QAction::triggered, this, [this] { mnFileRead_Click(); });
    connect(m_mnSave[0], &QAction::triggered, this, [this] { mnSave_Click(0); });
    connect(m_mnSave[1], &QAction::triggered, this, [this] { mnSave_Click(1); });
    connect(m_mnCheck, &QAction::triggered, this, [this] { mnCheck_Click(); });
    connect(m_mnAnalyze, &QAction::triggered, this, [this] { mnAnalyze_Click(); });
    connect(m_mn1Answer, &QAction::triggered, this, [this] { mn1Answer_Click(); });
    connect(m_mnAnswer, &QAction::triggered, this, [this] { mnAnswer_Click(); });
    connect(m_mnCreate, &QAction::triggered, this, [this] { mnCreate_Click(); });
    connect(m_mnOption, &QAction::triggered, this, [this] { mnOption_Click(); });
    connect(m_mnNewProblem, &QAction::triggered, this, [this] { mnNewProblem_Click(); });
    connect(m_mnRate, &QAction::triggered, this, [this] { mnRate_Click(); });
    connect(m_mnHint, &QAction::triggered, this, [this] { mnHint_Click(); });
}

void frmMain::showMessage(const QString& text) {
    m_port.message(text, UiPort::Buttons::Ok, UiPort::Icon::None, kAppTitle);
}

std::string frmMain::fileCaption(const QString& path) {
    std::string directory;
    std::string name;
    std::string extension;
    SplitPath(path.toStdString(), directory, name, extension);
    return " [" + name + extension + "]";
}

void frmMain::loaded(const ValueArray16& values, const std::string& caption) {
    m_game.Load(values, caption, nowMs());
    syncTitle();
    syncUndoMenu();
    refreshOffer();
}

// ---- Problem files ----

void frmMain::mnFileRead_Click() {
    UiPort::FileRequest request = problemFileRequest(QStringLiteral("問題ﾌｧｲﾙを開く"));
    request.fileName = m_lastFileName;
    const QString path = m_port.openFileName(request);
    if (path.isEmpty()) {
        showMessage(kReadFailed);
        return;
    }
    m_lastFileName = path;

    // The reader hands back all 81 digits or nothing, so a bad file leaves the board, the
    // caption, the history and the clock of the game in progress alone.
    ValueArray16 values{};
    if (!ReadProblemFile(localPath(path), values).ok) {
        showMessage(kReadFailed);
        return;
    }
    loaded(values, fileCaption(path));
    startRecordedGame(0);
}

void frmMain::mnSave_Click(int index) {
    if (index == 0) {
        saveProblem();
    } else if (index == 1) {
        makePostingString();
    }
}

void frmMain::saveProblem() {
    UiPort::FileRequest request = problemFileRequest(QStringLiteral("ﾌｧｲﾙへ保存する"));
    request.confirmOverwrite = true;
    const QString path = m_port.saveFileName(request);
    // The save dialog starts with an empty name box, and a cancel leaves it empty.
    m_lastFileName = path;
    if (path.isEmpty()) return;

    // Nothing becomes a given unless the file really holds the board.
    if (!WriteProblemFile(localPath(path), Values16(board())).ok) {
        showMessage(kSaveFailed);
        return;
    }
    showMessage(kSaved);
    m_game.SavedHalfWay(fileCaption(path), nowMs());
    syncTitle();
}

void frmMain::makePostingString() {
    QString text;
    text.reserve(kCellCount);
    for (int n = 1; n <= kCellCount; ++n) text += QString::number(board()[n].Value);
    m_tag = text;
    frmToukou dialog(m_tag, this);
    m_port.runDialog(dialog);
    m_tag.clear();
}

// ---- Checking, verification and answers ----

Solver frmMain::makeSolver() {
    return Solver([this](std::string_view text) { WarmingMsg(fromUtf8(text)); },
                  [this](std::string_view text) { showMessage(fromUtf8(text)); });
}

bool frmMain::canAnswer() {
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, false);
    if (hasConflict) {
        showMessage(kAlreadyConflicting);
        return false;
    }
    if (!hasBlank) {
        showMessage(kAllFilled);
        return false;
    }
    return true;
}

void frmMain::mnCheck_Click() {
    ClearConflictMarks();
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, true);
    if (hasConflict) return;
    if (hasBlank) {
        showMessage(kNoConflictFound);
    } else {
        ShowCompletion();
    }
}

QString frmMain::VerificationMessage(bool hasBlank, bool hasConflict, int code) {
    QString result;
    if (!hasBlank) {
        result = QStringLiteral("空白ﾏｽがないので問題として成立しません");
    } else if (hasConflict) {
        result = QStringLiteral("既に不整合が存在するので問題として成立しません");
    } else {
        result = verifyResultText(code);
    }
    return QStringLiteral("【問題の完全性：検証結果】") + kCrLf + result;
}

void frmMain::mnAnalyze_Click() {
    bool hasBlank = false;
    bool hasConflict = false;
    CheckConsistency(hasBlank, hasConflict, true);
    int code = VerifyUnique;
    if (hasBlank && !hasConflict) {
        Solver solver = makeSolver();
        code = solver.VerifyProblem(Values16(board()));
    }
    showMessage(VerificationMessage(hasBlank, hasConflict, code));
}

void frmMain::mn1Answer_Click() {
    if (!canAnswer()) return;
    std::vector<int> blanks;
    for (int n = 1; n <= kCellCount; ++n) {
        if (board()[n].Value == 0) blanks.push_back(n);
    }
    const int k = static_cast<int>(blanks.size());
    // A draw of exactly 1.0 (or a source outside [0, 1)) still picks a cell of the list.
    const int i = std::clamp(static_cast<int>(std::floor(m_port.random() * k)), 0, k - 1);
    const int cell = blanks[static_cast<std::size_t>(i)];

    ValueArray16 values = Values16(board());
    Solver solver = makeSolver();
    if (solver.SolveBoard(values)) {
        m_game.RevealAnswer(cell, values[cell]);
    } else {
        showMessage(unsolvableText());
    }
    m_game.setStartMs(std::nullopt);
}

void frmMain::mnAnswer_Click() {
    if (!canAnswer()) return;
    ValueArray16 values = Values16(board());
    Solver solver = makeSolver();
    if (solver.SolveBoard(values)) {
        m_game.RevealAll(values);
    } else {
        showMessage(unsolvableText());
    }
    m_game.setStartMs(std::nullopt);
}

// ---- Variant and options ----

void frmMain::mnCreate_Click() {
    m_tag.clear();
    {
        frmCreation dialog(m_options, m_port, this);
        if (m_port.runDialog(dialog) == QDialog::Accepted) m_tag = QStringLiteral("1");
    }
    if (m_tag != QStringLiteral("1")) return;
    m_tag.clear();

    // Every digit on the board is taken: givens, the player's and revealed answers alike.
    ValueArray8 grid = Values8(board());
    const int relabel =
        RelabelCode(m_options.GetOption(OptVariantNumber), m_options.GetOption(OptVariantShift));
    MakeVariant(grid, m_options.GetOption(OptVariantPlacement), relabel,
                [this] { return m_port.random(); });
    ValueArray16 values{};
    std::copy(grid.begin(), grid.end(), values.begin());
    loaded(values, kNewQuestionCaption);
}

void frmMain::mnOption_Click() {
    frmOption dialog(m_options, m_port, this);
    // The dialog has stored and saved the settings when it accepts; the window repaints.
    if (m_port.runDialog(dialog) == QDialog::Accepted) ColorSetChange();
}

}  // namespace kz
