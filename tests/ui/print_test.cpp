// SPDX-License-Identifier: MIT
// Printing the game from the main window through its menu item and the scripted port, whose
// printer writes PDF files that Poppler's tools read back.
#include <QtTest>
#include <algorithm>

#include "print/layout.h"
#include "support/pdfread.h"
#include "support/uitest.h"

using namespace kz::test;  // the shared boards and port

namespace {

// A4 in points, the paper the window's printer starts with outside the inch-measuring lands.
const kz::print::Size kA4{595.28, 841.89};

struct Env : WindowEnv {
    std::filesystem::path file(const char* name) const {
        return dir.filePath(QLatin1String(name)).toStdString();
    }
};

// The digits inside cell (row, col) of the one-grid page.
QString cellText(const std::filesystem::path& pdf, int row, int col) {
    const kz::print::Box grid = kz::print::LayoutPages(1, 1, false, kA4).front().grids[0].grid;
    const double step = grid.width / 9;
    return QString::fromStdString(
        pdfDigitsIn(pdf, 1, grid.x + col * step + 1, grid.y + row * step + 1, step - 2, step - 2));
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(havePoppler(), kNoPoppler); }

    // Ctrl+P, numerals and the notes chosen: the given, the placed digit and the notes each
    // in their cell. Then the puzzle alone in tiles, as the options say: pictures, no text.
    void gameWithNotesThenPuzzleAlone() {
        Env env;
        env.options->SetOption(kz::OptImageKind, 1);
        env.load(kPuzzle, true);
        env.place(1, 6);  // kSolution starts 6 7 9
        env.win->SetNotes(2, kz::NoteBit(1) | kz::NoteBit(3) | kz::NoteBit(7));
        env.win->setWindowTitle(QStringLiteral("Kazarinoset [week.csv]"));
        QVERIFY(activate(env.win.get()));
        env.port.dialogScripts.push_back([](QDialog& d) {
            d.findChild<QAbstractButton*>(QStringLiteral("optContent_2"))->click();
            return clickThen({"cmdPrint"})(d);
        });
        env.port.printAnswers = {QString::fromStdString(env.file("notes.pdf").string())};
        QTest::keyClick(env.win.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(env.port.prints, QList<kz::UiPort::PrintMode>{kz::UiPort::PrintMode::Dialog});
        const auto notes = env.file("notes.pdf");
        QCOMPARE(pdfPageCount(notes), 1);
        QVERIFY(pdfText(notes).find("Kazarinoset [week.csv]") != std::string::npos);
        QCOMPARE(cellText(notes, 0, 0), QStringLiteral("6"));
        QCOMPARE(cellText(notes, 0, 1), QStringLiteral("137"));
        QCOMPARE(cellText(notes, 1, 7), QStringLiteral("1"));  // a given

        env.port.dialogScripts.push_back([](QDialog& d) {
            d.findChild<QAbstractButton*>(QStringLiteral("optContent_0"))->click();
            return clickThen({"cmdPreview"})(d);
        });
        env.port.printAnswers = {QString::fromStdString(env.file("puzzle.pdf").string())};
        env.options->SetOption(kz::OptImageKind, 0);
        env.trigger("mnPrint");
        QCOMPARE(env.port.prints.last(), kz::UiPort::PrintMode::Preview);
        const auto puzzle = env.file("puzzle.pdf");
        QCOMPARE(cellText(puzzle, 0, 1), QString());
        QCOMPARE(cellText(puzzle, 1, 7), QString());
        // The 17 givens as tiles; the placed 6 is left out.
        const auto images = pdfImages(puzzle);
        QCOMPARE(std::count_if(images.begin(), images.end(),
                               [](const PdfImage& i) { return i.type == "image"; }),
                 17);
        QCOMPARE(env.port.unexpected, QStringList());
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
