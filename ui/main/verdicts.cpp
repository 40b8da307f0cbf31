// SPDX-License-Identifier: MIT
#include "ui/main/verdicts.h"

#include <string_view>

#include "core/consistency.h"
#include "logic/describe.h"

namespace kz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString levelName(int level) {
    return fromUtf8(logic::LevelName(level));
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

}  // namespace

QString VerificationMessage(bool hasBlank, bool hasConflict, int code) {
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

QString ProblemRefusal(const logic::Digits& digits, const std::function<Solver()>& makeSolver) {
    Board board{};
    for (int c = 0; c < 81; ++c) board[c + 1].Value = digits[c];
    CellConsistentArray consistent{};
    const ConsistencyResult check = ::kz::CheckConsistency(board, consistent, false, {});
    int code = VerifyUnique;
    if (check.hasBlank && !check.hasConflict) {
        Solver solver = makeSolver();
        code = solver.VerifyProblem(Values16(board));
    }
    if (check.hasBlank && !check.hasConflict && code == VerifyUnique) return {};
    return VerificationMessage(check.hasBlank, check.hasConflict, code);
}

QString UnsolvableMessage() {
    return QStringLiteral("解けません！") + kCrLf +
           QStringLiteral(
               "問題が不完全か、入力にミスがあるか、このプログラムがバカかのいずれかです。");
}

QString RatingMessage(const logic::Rating& rating) {
    if (rating.verifyCode != VerifyUnique)
        return VerificationMessage(true, false, rating.verifyCode);
    QString text =
        QStringLiteral("【難易度の判定結果】") + kCrLf + QStringLiteral("ﾚﾍﾞﾙ：") +
        levelName(rating.level) +
        QStringLiteral("（%1 / %2）").arg(rating.level).arg(logic::kMaxLevel) + kCrLf +
        QStringLiteral("難易度 %1").arg(fromUtf8(logic::DifficultyText(rating.difficulty))) +
        kCrLf + QStringLiteral("使った手筋と回数：");
    for (int t = 0; t < logic::kTechniqueCount; ++t) {
        if (rating.counts[static_cast<std::size_t>(t)] == 0) continue;
        text += kCrLf + QStringLiteral("　") +
                fromUtf8(logic::Info(static_cast<logic::Technique>(t)).japanese) +
                QStringLiteral("　%1 回").arg(rating.counts[static_cast<std::size_t>(t)]);
    }
    return text;
}

QString CompletionMessage(std::optional<std::int64_t> elapsedSeconds) {
    QString text = QStringLiteral("完成おめでとう！");
    if (elapsedSeconds) text += kCrLf + QStringLiteral("経過時間 ") + ElapsedText(*elapsedSeconds);
    return text;
}

QString ElapsedText(std::int64_t seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString RewindMessage(std::optional<int> steps) {
    if (!steps) return QStringLiteral("間違いのない時点まで戻れません（記録に残っていません）。");
    if (*steps == 0) return QStringLiteral("盤面に間違いはありません。");
    return QStringLiteral("%1手戻しました。「やり直す」で元に戻せます。").arg(*steps);
}

}  // namespace kz
