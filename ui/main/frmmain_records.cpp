// SPDX-License-Identifier: MIT
// The main window's records: a finished game of a new puzzle or a problem file is written to
// the records file, a new best time of a new puzzle is told in the congratulation, and 記録
// shows each level's figures and the last ten games.
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "game/records.h"
#include "logic/step.h"
#include "ui/main/apptitle.h"
#include "ui/main/frmmain.h"
#include "ui/main/playclock.h"
#include "ui/main/uiport.h"

namespace kz {

namespace {

QString levelCaption(int level) {
    return level == 0 ? QStringLiteral("問題ﾌｧｲﾙ")
                      : QString::fromUtf8(logic::LevelName(level).data(),
                                          qsizetype(logic::LevelName(level).size()));
}

QString timeOrDash(const std::optional<std::int64_t>& seconds) {
    return seconds ? ClockText(*seconds) : QStringLiteral("－");
}

}  // namespace

void frmMain::startRecordedGame(int level) {
    m_recordSerial = m_game.serial();
    m_recordLevel = level;
    m_recordHints = 0;
}

QString frmMain::recordFinished(std::int64_t seconds) {
    if (m_recordsPath.empty() || m_recordLevel < 0 || m_recordSerial != m_game.serial()) return {};
    const int level = m_recordLevel;
    m_recordLevel = -1;  // once per game
    std::vector<GameRecord> records;
    if (const auto error = ReadRecords(m_recordsPath, records)) {
        // A damaged file is not written over: the games in it are worth more than this one.
        m_port.message(QStringLiteral("記録ﾌｧｲﾙを読めないため、今回の記録は残せませんでした：") +
                           QStringLiteral("\r\n") + QString::fromStdString(*error),
                       UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
        return {};
    }
    bool notesUsed = false;
    for (const UndoRecord& r : history().records()) notesUsed |= r.Note;
    const GameRecord record{
        m_port.now().toSecsSinceEpoch(), level, seconds, m_recordHints, 0, notesUsed};
    const LevelSummary before = Summarise(records, level);
    records.push_back(record);
    if (const auto error = WriteRecords(m_recordsPath, records)) {
        m_port.message(QStringLiteral("記録を保存できませんでした：") + QStringLiteral("\r\n") +
                           QString::fromStdString(*error),
                       UiPort::Buttons::Ok, UiPort::Icon::Warning, kAppTitle);
        return {};
    }
    if (level >= 1 && !record.helped() && (!before.bestPlain || seconds < *before.bestPlain)) {
        return QStringLiteral("\r\n") + levelCaption(level) + QStringLiteral("の自己ベストです！");
    }
    return {};
}

void frmMain::mnRecords_Click() {
    std::vector<GameRecord> records;
    const auto error = m_recordsPath.empty() ? std::optional<std::string>("no records file")
                                             : ReadRecords(m_recordsPath, records);
    QString html;
    if (error) {
        html =
            QStringLiteral("記録を読めません：") + QString::fromStdString(*error).toHtmlEscaped();
    } else {
        html = QStringLiteral(
            "<table cellspacing=0 cellpadding=3 border=1><tr><th>ﾚﾍﾞﾙ</th>"
            "<th>完成</th><th>最速</th><th>中央値</th><th>最速(ﾋﾝﾄあり)</th>"
            "<th>中央値(ﾋﾝﾄあり)</th></tr>");
        for (int level = 1; level <= 7; ++level) {
            const int l = level % 7;  // the problem files last
            const LevelSummary s = Summarise(records, l);
            html += QStringLiteral(
                        "<tr><td>%1</td><td align=right>%2</td><td>%3</td><td>%4</td>"
                        "<td>%5</td><td>%6</td></tr>")
                        .arg(levelCaption(l))
                        .arg(s.finished)
                        .arg(timeOrDash(s.bestPlain), timeOrDash(s.medianPlain),
                             timeOrDash(s.bestHelped), timeOrDash(s.medianHelped));
        }
        html += QStringLiteral(
            "</table><p>最近のｹﾞｰﾑ</p><table cellspacing=0 cellpadding=3 "
            "border=1><tr><th>日時</th><th>ﾚﾍﾞﾙ</th><th>時間</th>"
            "<th>ﾋﾝﾄ</th><th>答え</th><th>ﾒﾓ</th></tr>");
        const std::size_t from = records.size() > 10 ? records.size() - 10 : 0;
        for (std::size_t i = records.size(); i-- > from;) {
            const GameRecord& r = records[i];
            html += QStringLiteral(
                        "<tr><td>%1</td><td>%2</td><td>%3</td><td align=right>%4</td>"
                        "<td align=right>%5</td><td>%6</td></tr>")
                        .arg(QDateTime::fromSecsSinceEpoch(r.finishedAt)
                                 .toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                             levelCaption(r.level), ClockText(r.seconds))
                        .arg(r.hints)
                        .arg(r.answers)
                        .arg(r.notes ? QStringLiteral("使用") : QString());
        }
        if (records.empty())
            html += QStringLiteral("<tr><td colspan=6>まだ記録はありません</td></tr>");
        html += QStringLiteral("</table>");
    }
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frmRecords"));
    dialog.setWindowTitle(QStringLiteral("記録"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(html, &dialog);
    label->setObjectName(QStringLiteral("lblRecords"));
    label->setTextFormat(Qt::RichText);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    m_port.runDialog(dialog);
}

}  // namespace kz
