// SPDX-License-Identifier: MIT
// Booklets from the main window: the dialog, the puzzles made on a worker thread with progress
// and ｷｬﾝｾﾙ, and the booklet written through the scripted port, read back with Poppler's tools.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>
#include <atomic>
#include <cmath>
#include <thread>

#include "print/layout.h"
#include "support/pdfread.h"
#include "support/uitest.h"
#include "ui/main/printing.h"

using namespace kz::test;  // the shared boards and port

namespace {

// A4 in points, the paper the window's printer starts with outside the inch-measuring lands.
const kz::print::Size kA4{595.28, 841.89};

struct Env : WindowEnv {
    kz::PrintCommands* commands() const { return win->findChild<kz::PrintCommands*>(); }
    std::filesystem::path file(const char* name) const {
        return dir.filePath(QLatin1String(name)).toStdString();
    }
};

// Sets the booklet dialog's controls and confirms it.
std::function<int(QDialog&)> bookletScript(int count, int level, int perPage, bool solutions,
                                           int output) {
    return [=](QDialog& d) {
        d.findChild<QSpinBox*>("txtCount")->setValue(count);
        auto* levels = d.findChild<QComboBox*>("cboLevel");
        levels->setCurrentIndex(levels->findData(level));
        auto* pages = d.findChild<QComboBox*>("cboPerPage");
        pages->setCurrentIndex(pages->findData(perPage));
        d.findChild<QCheckBox*>("chkSolutions")->setChecked(solutions);
        d.findChild<QAbstractButton*>(QStringLiteral("optLook_0"))->click();
        d.findChild<QAbstractButton*>(QStringLiteral("optOutput_%1").arg(output))->click();
        return clickThen({"cmdOK"})(d);
    };
}

std::string digitsOf(const kz::logic::Digits& digits) {
    std::string s;
    for (int d : digits) {
        if (d != 0) s += static_cast<char>('0' + d);
    }
    return s;
}

}  // namespace

class BookletTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(havePoppler(), kNoPoppler); }

    // Made by the real generator on its thread, written as PDF: the pages the layout gives,
    // the seed in the small print, and the puzzles that seed makes.
    void bookletToPdf() {
        Env env;
        env.port.dialogScripts.push_back(bookletScript(5, 1, 2, true, 2));
        env.port.randoms = {0.25};
        env.port.saveAnswers = {QString::fromStdString(env.file("booklet.pdf").string())};
        QSignalSpy done(env.commands(), &kz::PrintCommands::bookletDone);
        env.trigger("mnBooklet");
        QVERIFY(done.wait(60000));
        QCOMPARE(env.port.unexpected, QStringList());
        QCOMPARE(env.port.saveRequests.size(), 1);
        const auto pdf = env.file("booklet.pdf");
        QCOMPARE(pdfPageCount(pdf), kz::print::PageCount(5, 2, true));
        const std::uint64_t seed = static_cast<std::uint64_t>(std::ldexp(0.25, 53));
        const std::string text = pdfText(pdf);
        QVERIFY(text.find("入門 5問") != std::string::npos);
        QVERIFY(text.find("--seed " + std::to_string(seed)) != std::string::npos);
        kz::print::Order order;
        order.count = 5;
        order.request = {1, kz::generate::kDefaultSymmetry, 0};
        order.seed = seed;
        const kz::print::Made made = kz::print::MakePuzzles(order, kz::generate::Generate);
        const auto pages = kz::print::LayoutPages(5, 2, true, kA4);
        const kz::print::Box& g = pages[2].grids[0].grid;  // No.5
        QCOMPARE(pdfDigitsIn(pdf, 3, g.x, g.y, g.width, g.height),
                 digitsOf(made.puzzles[4].givens));
    }

    // ｷｬﾝｾﾙ on the progress stops the worker: nothing is asked or said afterwards.
    void bookletCancelled() {
        Env env;
        std::atomic<bool> sawCancel{false};
        env.commands()->setGenerateFunction([&](const kz::generate::Request&, std::mt19937_64&,
                                                const std::atomic<bool>* cancel,
                                                const kz::generate::AttemptFn&) {
            while (!*cancel) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sawCancel = true;
            return kz::generate::Result{{}, 0, 0, true};
        });
        env.port.dialogScripts.push_back(bookletScript(10, 5, 4, false, 0));
        env.port.randoms = {0.5};
        env.trigger("mnBooklet");
        QVERIFY(env.commands()->making());
        QVERIFY(!env.child<QAction>("mnBooklet")->isEnabled());
        auto* progress = env.win->findChild<QDialog*>("frmBookletProgress");
        QVERIFY(progress != nullptr);
        QTRY_VERIFY(progress->isVisible());
        QCOMPARE(progress->findChild<QLabel*>("lblProgress")->text(),
                 QStringLiteral("問題を作成しています（0 / 10 問）"));
        QTest::mouseClick(progress->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QTRY_VERIFY(!env.commands()->making());
        QVERIFY(sawCancel);
        QVERIFY(env.child<QAction>("mnBooklet")->isEnabled());
        QCOMPARE(env.port.prints.size(), 0);
        QCOMPARE(env.port.messages.size(), 0);
        QCOMPARE(env.port.unexpected, QStringList());
    }

    // The generator gives up after two puzzles: the player is asked, and the two are printed
    // rather than lost.
    void bookletShortOfItsCount() {
        Env env;
        int calls = 0;
        env.commands()->setGenerateFunction([&](auto&&... args) {
            if (++calls > 2) return kz::generate::Result{{}, 50, 50, false};
            return kz::generate::Generate(args...);
        });
        env.port.dialogScripts.push_back(bookletScript(6, 1, 1, false, 1));
        env.port.randoms = {0.75};
        env.port.messageAnswers = {kz::UiPort::Answer::Ok};
        env.port.printAnswers = {QString::fromStdString(env.file("two.pdf").string())};
        QSignalSpy done(env.commands(), &kz::PrintCommands::bookletDone);
        env.trigger("mnBooklet");
        QVERIFY(done.wait(60000));
        QVERIFY(env.port.lastMessage().contains(QStringLiteral("3問目")));
        QCOMPARE(env.port.prints, QList<kz::UiPort::PrintMode>{kz::UiPort::PrintMode::Dialog});
        QCOMPARE(pdfPageCount(env.file("two.pdf")), 2);
        QCOMPARE(env.port.unexpected, QStringList());
    }
};

QTEST_MAIN(BookletTest)
#include "booklet_test.moc"
