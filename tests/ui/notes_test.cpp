// SPDX-License-Identifier: MIT
// Notes in the window: the note mode and its commands, tidying, how the other commands treat
// notes, redo, a random sweep that undoes everything, and what the player sees.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "history/notes.h"
#include "support/uitest.h"
#include "ui/main/hintpanel.h"

using namespace kz;
using namespace kz::test;

namespace {

NoteSet bits(std::initializer_list<int> digits) {
    NoteSet set = 0;
    for (int d : digits) set |= NoteBit(d);
    return set;
}

void setMode(const WindowEnv& env, bool on) {
    env.child<QAction>(QStringLiteral("mnNoteMode"))->setChecked(on);
}

}  // namespace

class NotesTest : public QObject {
    Q_OBJECT

private slots:
    void noteModeClicks() {
        WindowEnv env("15,14,12,11,1,0,0,0,0,0,0,");  // automatic check on
        env.load(kPuzzle, true);
        setMode(env, true);
        QVERIFY(env.win->noteMode());
        env.place(1, 6);
        env.place(1, 7);
        env.place(1, 6);  // toggles off
        QCOMPARE(env.win->notes()[1], bits({7}));
        env.place(1, 1);  // row 1 holds no 1, column 1 neither, box 1 ... allowed
        env.place(1, 2);  // cell 17 holds 2 in row 1: refused with the beep
        QCOMPARE(env.port.beeps, 1);
        QCOMPARE(env.win->notes()[1], bits({1, 7}));
        env.place(17, 5);  // a given: nothing
        QCOMPARE(env.win->notes()[17], NoteSet{0});
        env.place(1, 10);  // the eraser clears the cell's notes
        QCOMPARE(env.win->notes()[1], NoteSet{0});
        // One undo step each: the eraser, then the toggles.
        env.trigger("mnUNDO_0");
        QCOMPARE(env.win->notes()[1], bits({1, 7}));
        QCOMPARE(env.win->history().records().size(), std::size_t{4});
        // Off again, a click places the digit.
        setMode(env, false);
        env.place(2, 9);
        QCOMPARE(env.win->board()[2].Value, std::uint8_t{9});
        QVERIFY(env.port.unexpected.isEmpty());
    }

    void fillTidyAndUndo_data() {
        QTest::addColumn<bool>("tidy");
        QTest::newRow("tidy on") << true;
        QTest::newRow("tidy off") << false;
    }
    void fillTidyAndUndo() {
        QFETCH(bool, tidy);
        WindowEnv env;
        env.load(kPuzzle, true);
        env.child<QAction>(QStringLiteral("mnTidyNotes"))->setChecked(tidy);
        env.trigger("mnFillNotes");
        for (int n = 1; n <= kCellCount; ++n) {
            const NoteSet want = digitAt(kPuzzle, n) ? 0 : AllowedNotes(env.win->board(), n);
            QCOMPARE(env.win->notes()[n], want);
        }
        const NoteArray filled = env.win->notes();
        const std::size_t steps = env.win->history().records().size();
        // Cell 1 takes its answer, 6: its notes go, and with tidying note 6 of its peers.
        env.place(1, digitAt(kSolution, 1));
        for (int n = 2; n <= kCellCount; ++n) {
            const bool peer = RowOf(n) == 1 || ColumnOf(n) == 1 || BoxOf(n) == 1;
            const NoteSet want = tidy && peer ? NoteSet(filled[n] & ~NoteBit(6)) : filled[n];
            QCOMPARE(env.win->notes()[n], want);
        }
        QCOMPARE(env.win->notes()[1], NoteSet{0});
        // One undo brings the digit and every note back.
        env.trigger("mnUNDO_0");
        QCOMPARE(env.win->notes(), filled);
        QCOMPARE(env.win->board()[1].Value, std::uint8_t{0});
        QCOMPARE(env.win->history().records().size(), steps);
        env.trigger("mnRedo");
        QCOMPARE(env.win->board()[1].Value, std::uint8_t{6});
        env.trigger("mnUNDO_0");
        env.trigger("mnClearNotes");
        QCOMPARE(env.win->notes(), NoteArray{});
        env.trigger("mnUNDO_0");
        QCOMPARE(env.win->notes(), filled);
    }

    // What the other commands do with notes: the answers take the notes of the cells they
    // fill in their own step, a clear or a new board takes them all, a save keeps them.
    void otherCommands() {
        WindowEnv env;
        env.load(kPuzzle, true);
        env.trigger("mnFillNotes");
        const NoteArray filled = env.win->notes();
        env.port.randoms = {0.0};
        env.trigger("mn1Answer");  // the first blank, cell 1
        QCOMPARE(env.win->board()[1].Mark, std::uint8_t{MarkAnswer});
        QCOMPARE(env.win->notes()[1], NoteSet{0});
        QCOMPARE(env.win->notes()[2], filled[2]);  // no tidying for an answer
        env.trigger("mnUNDO_0");
        QCOMPARE(env.win->notes(), filled);
        env.trigger("mnRedo");  // the answer comes back as an answer
        QCOMPARE(env.win->board()[1].Mark, std::uint8_t{MarkAnswer});
        env.trigger("mnUNDO_0");
        env.trigger("mnAnswer");
        QCOMPARE(env.win->notes(), NoteArray{});
        env.trigger("mnUNDO_0");
        QCOMPARE(env.win->notes(), filled);

        const QString path = env.dir.filePath(QStringLiteral("p.csv"));
        env.port.saveAnswers = {path};
        env.trigger("mnSave_0");
        QCOMPARE(env.win->notes(), filled);
        env.port.openAnswers = {path};
        env.trigger("mnFileRead");
        QCOMPARE(env.win->notes(), NoteArray{});
        env.trigger("mnFillNotes");
        env.trigger("mnClear_1");
        QCOMPARE(env.win->notes(), NoteArray{});
    }

    // Any run of placements, notes, fills, clears, breakpoints, undos and redos on public
    // puzzles: undoing everything gives the start back, redoing everything the end.
    void randomSweep() {
        QFile file(QStringLiteral(KZ_TEST_DATA_DIR "/magictour_top1465.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QRandomGenerator random(20261208);
        for (int puzzle = 0; puzzle < 6; ++puzzle) {
            const QByteArray line = file.readLine().left(81).replace('.', '0');
            WindowEnv env;
            env.load(line.constData(), true);
            const Board startBoard = env.win->board();
            for (int i = 0; i < 150; ++i) {
                const int n = random.bounded(1, 82);
                switch (random.bounded(12)) {
                    case 0:
                        env.trigger("mnFillNotes");
                        break;
                    case 1:
                        env.trigger("mnClearNotes");
                        break;
                    case 2:
                        env.trigger("mnSetBreake");
                        break;
                    case 3:
                        env.trigger("mnUNDO_0");
                        break;
                    case 4:
                        env.trigger("mnUNDO_1");
                        break;
                    case 5:
                        env.trigger("mnRedo");
                        break;
                    case 6:
                        env.child<QAction>(QStringLiteral("mnTidyNotes"))->toggle();
                        break;
                    default:
                        setMode(env, random.bounded(2) == 0);
                        env.place(n, random.bounded(1, 11));
                }
            }
            const Board endBoard = env.win->board();
            const NoteArray endNotes = env.win->notes();
            int undos = 0;
            for (; env.win->history().canUndoOne(); ++undos) env.trigger("mnUNDO_0");
            for (int n = 1; n <= kCellCount; ++n) {
                QCOMPARE(env.win->board()[n].Value, startBoard[n].Value);
            }
            QCOMPARE(env.win->notes(), NoteArray{});
            // The redo list may have held steps before: only the undos just made come back.
            while (undos-- > 0) env.trigger("mnRedo");
            for (int n = 1; n <= kCellCount; ++n) {
                QCOMPARE(env.win->board()[n].Value, endBoard[n].Value);
            }
            QCOMPARE(env.win->notes(), endNotes);
        }
    }

    // From all candidates, hint and "ﾒﾓに反映" alone solve the puzzle; every press is one
    // undo step, and the first look gives no digit away.
    void hintsOnNotesToTheEnd() {
        WindowEnv env;
        env.load(kPuzzle, true);
        env.trigger("mnFillNotes");
        for (int presses = 0; env.port.lastMessage() != QStringLiteral("完成おめでとう！");
             ++presses) {
            QVERIFY(presses < 400);
            env.trigger("mnHint");
            HintPanel* panel = env.win->hintPanel();
            QVERIFY(panel->isVisible());
            QVERIFY2(!panel->text().contains(QStringLiteral("を入れ")), qPrintable(panel->text()));
            const Board board = env.win->board();
            const NoteArray notes = env.win->notes();
            const std::size_t records = env.win->history().records().size();
            QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("cmdHintApply")),
                              Qt::LeftButton);
            QVERIFY(!panel->isVisible());
            QVERIFY(env.win->notes() != notes || !(env.win->board() == board));
            if (presses % 7 == 0 && env.port.lastMessage().isEmpty()) {
                env.trigger("mnUNDO_0");
                QVERIFY(env.win->notes() == notes && env.win->board() == board);
                QCOMPARE(env.win->history().records().size(), records);
                env.trigger("mnRedo");
            }
        }
    }

    // A nested chain's proofs run longer than the screen is high: the text scrolls and the
    // panel, its buttons with it, stays on the screen.
    void longHintStaysOnScreen() {
        WindowEnv env;
        env.win->show();
        HintPanel panel(env.win.get());
        panel.present(QStringLiteral("r1c1<>5 => r2c2<>6; ").repeated(600), HintPanel::Apply);
        QVERIFY(panel.frameGeometry().bottom() <= panel.screen()->availableGeometry().bottom());
        QVERIFY(panel.findChild<QScrollArea*>()->verticalScrollBar()->maximum() > 0);
    }

    // Note k in its slot of the cell, readable on a dark colour; the highlight frames the
    // digit's cells and leaves the rest of the cell in its own colour.
    void drawn() {
        WindowEnv env("0,14,12,11,0,15,0,0,0,0,0,");  // black blank cells, white grid
        env.win->show();
        QVERIFY(QTest::qWaitForWindowExposed(env.win.get()));
        setMode(env, true);
        env.place(1, 9);
        const QImage cell = env.back(1)->grab().toImage();
        auto inkIn = [&](int slot) {
            const int w = cell.width() / 3;
            const int h = cell.height() / 3;
            int lit = 0;
            for (int y = (slot / 3) * h; y < (slot / 3 + 1) * h; ++y)
                for (int x = (slot % 3) * w; x < (slot % 3 + 1) * w; ++x)
                    lit += qGray(cell.pixel(x, y)) > 128;
            return lit;
        };
        QVERIFY(inkIn(8) > 3);
        for (int slot = 0; slot < 8; ++slot) QCOMPARE(inkIn(slot), 0);

        setMode(env, false);
        env.child<QAction>(QStringLiteral("mnHighlight"))->setChecked(true);
        env.place(2, 5);
        const QImage framed = env.back(2)->grab().toImage();
        const QImage plain = env.back(3)->grab().toImage();
        QVERIFY(framed.pixelColor(3, framed.height() / 2) != QColor(Qt::black));
        QCOMPARE(framed.pixelColor(10, 10), QColor(Qt::black));
        QCOMPARE(plain.pixelColor(3, plain.height() / 2), QColor(Qt::black));
        // Both note options went to the settings file as trailing fields.
        QFile settings(env.settingsPath());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), QByteArray("0,14,12,11,0,15,0,0,0,0,0,2,1,1,1,\r\n"));
    }

    // On a screen of two pixels to the point the note form of a tile keeps the picture's size
    // and lies in its middle, rather than showing twice as large, off-centre and cut.
    void noteFormOnAScaledScreen() {
        QPixmap picture(48, 64);
        picture.fill(Qt::black);
        picture.setDevicePixelRatio(2.0);
        const QPixmap form = kz::GridView::noteForm(picture, picture.size());
        QCOMPARE(form.deviceIndependentSize().toSize(), QSize(24, 32));
        const QImage image = form.toImage();
        qint64 sumX = 0, sumY = 0, inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) <= 128) continue;
                sumX += x;
                sumY += y;
                ++inked;
            }
        }
        QVERIFY(inked > 0);
        QVERIFY(qAbs(sumX / inked - 24) <= 1 && qAbs(sumY / inked - 32) <= 1);
    }

    // Notes read on every blank-cell colour the options offer: the ink stands well apart
    // from the cell's colour in brightness.
    void notesReadOnEveryColour() {
        for (int colour = 0; colour < 16; ++colour) {
            const QByteArray line =
                QByteArray::number(colour) + (colour == 0 ? ",14,12,11,0,15," : ",14,12,11,0,0,");
            WindowEnv env(line + "0,0,0,0,0,");
            env.win->SetNotes(1, kAllNotes);
            const QImage cell = env.back(1)->grab().toImage();
            const int ground = qGray(cell.pixel(cell.width() - 2, cell.height() / 2));
            int contrast = 0;
            for (int y = 0; y < cell.height(); ++y)
                for (int x = 0; x < cell.width(); ++x)
                    contrast = std::max(contrast, std::abs(qGray(cell.pixel(x, y)) - ground));
            QVERIFY2(contrast >= 110,
                     qPrintable(QStringLiteral("colour %1: %2").arg(colour).arg(contrast)));
        }
    }
};

QTEST_MAIN(NotesTest)
#include "notes_test.moc"
