// SPDX-License-Identifier: MIT
// The main window's menu bar, row by row as the player sees it.
#include "settings/optionman.h"
#include "ui/main/frmmain.h"
#include "ui/main/menutable.h"

namespace kz {

std::vector<MenuRow> MainMenuRows(frmMain& w, const OptionMan& options) {
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    const UndoData& history = w.history();
    const auto stored = [&options](int extra) {
        return [&options, extra] { return options.GetExtra(extra) == 1; };
    };
    return {
        Menu("mnFile", QStringLiteral("ﾌｧｲﾙ(&F)")),
        Item(
            "mnFileRead", QStringLiteral("問題ﾌｧｲﾙを読み込む(&R)..."),
            [&w] { w.mnFileRead_Click(); }, ctrl(Qt::Key_O)),
        Separator("sep11"),
        Item(
            "mnSave_0", QStringLiteral("問題ﾌｧｲﾙとして保存する(&S)..."),
            [&w] { w.mnSave_Click(0); }, ctrl(Qt::Key_S)),
        Item("mnSave_1", QStringLiteral("掲示板投稿用の文字列を作る(&B)..."),
             [&w] { w.mnSave_Click(1); }),
        Separator("sep12"),
        Item("mnClear_0", QStringLiteral("すべてのﾏｽ目をｸﾘｱする(&E)"),
             [&w] { w.mnClear_Click(0); }),
        Item("mnClear_1", QStringLiteral("問題以外のﾏｽ目をｸﾘｱする(&D)"),
             [&w] { w.mnClear_Click(1); }),
        Separator("sep14"),
        Item("mnExit", QStringLiteral("終了(&Q)"), [&w] { w.mnExit_Click(); }),

        Menu("mnEdit", QStringLiteral("編集(&E)")),
        EnabledWhen(Item(
                        "mnUNDO_0", QStringLiteral("一つ前に戻る(&U)"), [&w] { w.mnUNDO_Click(0); },
                        ctrl(Qt::Key_U)),
                    [&history] { return history.canUndoOne(); }),
        EnabledWhen(Item("mnUNDO_1", QStringLiteral("一つ前のﾌﾞﾚｲｸﾎﾟｲﾝﾄまで戻る(&B)"),
                         [&w] { w.mnUNDO_Click(1); }),
                    [&history] { return history.canUndoToBreakpoint(); }),
        Separator("sep21"),
        Item("mnSetBreake", QStringLiteral("ﾌﾞﾚｲｸﾎﾟｲﾝﾄを設定する(&L)"),
             [&w] { w.mnSetBreake_Click(); }),
        Separator("sep22"),
        Item("mn1Answer", QStringLiteral("ﾏｽ目の答えを一つだけ見る(&Q)"),
             [&w] { w.mn1Answer_Click(); }),
        Item("mnAnswer", QStringLiteral("ﾏｽ目の答えをすべて見る(&A)..."),
             [&w] { w.mnAnswer_Click(); }),
        Separator("sepRedo"),
        EnabledWhen(Item(
                        "mnRedo", QStringLiteral("やり直す(&R)"), [&w] { w.mnRedo_Click(); },
                        ctrl(Qt::Key_Y)),
                    [&history] { return history.canRedo(); }),

        Menu("mnTool", QStringLiteral("ﾂｰﾙ(&T)")),
        Item(
            "mnCheck", QStringLiteral("整合性をﾁｪｯｸする(&K)"), [&w] { w.mnCheck_Click(); },
            ctrl(Qt::Key_Q)),
        Separator("sep31"),
        Submenu("mnTyuudoku", QStringLiteral("中毒者専用ﾂｰﾙ(&D)")),
        Item(
            "mnAnalyze", QStringLiteral("問題としての完全性の検証(&G)..."),
            [&w] { w.mnAnalyze_Click(); }, ctrl(Qt::Key_G)),
        Item("mnAllInp", QStringLiteral("すべてのﾏｽを入力可能に(&T)"),
             [&w] { w.mnAllInp_Click(); }),
        Item(
            "mnCreate", QStringLiteral("同じﾚﾍﾞﾙの別問題を作成(&B)..."),
            [&w] { w.mnCreate_Click(); }, ctrl(Qt::Key_N)),
        End(),
        Separator("sep32"),
        Item("mnOption", QStringLiteral("ｵﾌﾟｼｮﾝ設定(&O)..."), [&w] { w.mnOption_Click(); }),

        // Every command this program added beside the original ones, in one menu of the
        // game's, so that none hides two levels down. The print commands end it.
        Menu("mnGame", QStringLiteral("ｹﾞｰﾑ(&G)")),
        Item(
            "mnNewProblem", QStringLiteral("新しい問題を作成(&N)..."),
            [&w] { w.mnNewProblem_Click(); }, QKeySequence(Qt::Key_F2)),
        EnabledWhen(
            Item("mnResume", QStringLiteral("前回の続きを開く(&R)"), [&w] { w.mnResume_Click(); }),
            [&w] { return w.gameOnOffer(); }),
        // Every game kept aside, newest first, listed when the menu opens.
        Submenu("mnRecent", QStringLiteral("最近のｹﾞｰﾑ(&L)")),
        End(),
        Separator("sepSolving"),
        Item(
            "mnHint", QStringLiteral("ﾋﾝﾄ(&H)"), [&w] { w.mnHint_Click(); }, ctrl(Qt::Key_I)),
        Item(
            "mnRate", QStringLiteral("難易度を判定(&J)..."), [&w] { w.mnRate_Click(); },
            ctrl(Qt::Key_R)),
        Item("mnRewind", QStringLiteral("間違える前に戻る(&B)"), [&w] { w.mnRewind_Click(); }),
        Separator("sepNotes"),
        Check(
            "mnNoteMode", QStringLiteral("ﾒﾓ入力ﾓｰﾄﾞ(&M)"),
            [&w](bool on) { w.mnNoteMode_Click(on); }, QKeySequence(Qt::Key_F3)),
        Item("mnFillNotes", QStringLiteral("候補をすべて書き込む(&W)"),
             [&w] { w.mnFillNotes_Click(); }),
        Item("mnClearNotes", QStringLiteral("ﾒﾓをすべて消す(&C)"),
             [&w] { w.mnClearNotes_Click(); }),
        Separator("sepNoteOptions"),
        CheckedWhen(Check("mnTidyNotes", QStringLiteral("ﾒﾓを自動で整理する(&A)"),
                          [&w](bool on) { w.mnTidyNotes_Click(on); }),
                    stored(ExtTidyNotes)),
        CheckedWhen(Check("mnHighlight", QStringLiteral("同じ数字を強調する(&E)"),
                          [&w](bool on) { w.mnHighlight_Click(on); }),
                    stored(ExtHighlight)),
        CheckedWhen(Check("mnEasyNotes", QStringLiteral("右ｸﾘｯｸとｷｰﾎﾞｰﾄﾞを使う(&Y)"),
                          [&w](bool on) { w.mnEasyNotes_Click(on); }),
                    stored(ExtEasyNotes)),
        Separator("sepClock"),
        CheckedWhen(Check("mnShowClock", QStringLiteral("時間を表示する(&T)"),
                          [&w](bool on) { w.mnShowClock_Click(on); }),
                    stored(ExtShowClock)),
        // Its radio items are the display scale's own (DisplayScale::fillMenu).
        Submenu("mnScale", QStringLiteral("表示倍率(&V)")),
        End(),
        Check(
            "mnPause", QStringLiteral("一時停止(&Z)"), [&w](bool on) { w.mnPause_Click(on); },
            QKeySequence(Qt::Key_F5)),
        Item("mnRecords", QStringLiteral("記録(&S)..."), [&w] { w.mnRecords_Click(); }),
        Separator("sepPrint"),

        Menu("mnHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)")),
        Item(
            "mnManuual", QStringLiteral("操作説明／ｵﾝﾗｲﾝﾏﾆｭｱﾙ(&H)..."),
            [&w] { w.mnManuual_Click(); }, ctrl(Qt::Key_H)),
        // The version is on the window itself, so the about item and its separator stay hidden.
        Hidden(Separator("sep91")),
        Hidden(Item("mnAbout", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), {})),
    };
}

}  // namespace kz
