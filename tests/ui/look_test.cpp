// SPDX-License-Identifier: MIT
// What the windows look like once the program's look is installed: whole captions, Japanese
// texts from Qt, plain wide message boxes, the palette box's border, centred frames, and the
// colours the grid really shows on screen.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/dialogs/frmcreation.h"
#include "ui/dialogs/frmoption.h"
#include "ui/dialogs/frmtoukou.h"
#include "ui/main/qtport.h"
#include "ui/main/scale.h"
#include "ui/main/startup.h"

using kz::UiPort;
using namespace kz::test;  // the shared window, boards and colours

namespace {

/// Widgets whose caption is cut, each as "name: needed > room".
QStringList cutCaptions(const QWidget& window) {
    QStringList cut;
    const auto check = [&cut](const QWidget* w, const QString& text, int room) {
        if (text.isEmpty() || !w->isVisibleTo(w->window())) return;
        QString plain = text;
        plain.remove(QLatin1Char('&'));
        const int need = w->fontMetrics().horizontalAdvance(plain);
        if (need > room) {
            cut << QStringLiteral("%1 \"%2\": %3 > %4")
                       .arg(w->objectName(), text)
                       .arg(need)
                       .arg(room);
        }
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        check(label, label->text(), label->contentsRect().width());
    }
    for (const QRadioButton* button : window.findChildren<QRadioButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        check(button, button->text(),
              button->style()
                  ->subElementRect(QStyle::SE_RadioButtonContents, &option, button)
                  .width());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        check(button, button->text(), button->contentsRect().width() - 8);
    }
    for (const QGroupBox* box : window.findChildren<QGroupBox*>()) {
        check(box, box->title(), box->width() - 16);
    }
    return cut;
}

/// A desktop style that puts pictures on standard buttons, as some desktops do.
class IconButtonStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

}  // namespace

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyCaptionShowsWhole_data();
    void everyCaptionShowsWhole();
    void everyControlScales();
    void storedScaleYieldsToASmallScreen();
    void qtTextsAreJapanese();
    void messageBoxesFitCaptionWithPlainButtons_data();
    void messageBoxesFitCaptionWithPlainButtons();
    void paletteBorderRunsThroughCaption();
    void framesAreCentred_data();
    void framesAreCentred();
    void gridShowsItsColours();
};

void LookTest::initTestCase() {
    QVERIFY2(kz::InstallProgramLook(), "Qt's Japanese translation is not installed");
}

void LookTest::everyCaptionShowsWhole_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("percent");
    for (const char* name : {"frmMain", "frmOption", "frmCreation", "frmToukou"}) {
        for (const int percent : kz::kDisplayScales) {
            QTest::addRow("%s at %d %%", name, percent) << QString::fromLatin1(name) << percent;
        }
    }
}

void LookTest::everyCaptionShowsWhole() {
    QFETCH(QString, window);
    QFETCH(int, percent);
    WindowEnv env;
    env.win->findChild<kz::DisplayScale*>()->choose(percent);
    std::unique_ptr<QWidget> dialog;
    if (window == QStringLiteral("frmOption")) {
        dialog = std::make_unique<kz::frmOption>(*env.options, env.port, env.win.get());
    } else if (window == QStringLiteral("frmCreation")) {
        dialog = std::make_unique<kz::frmCreation>(*env.options, env.port, env.win.get());
    } else if (window == QStringLiteral("frmToukou")) {
        dialog = std::make_unique<kz::frmToukou>(QString(81, QLatin1Char('0')), env.win.get());
    }
    // As the port opens them.
    if (dialog) kz::FollowWindowScale(*dialog, env.win.get());
    QWidget* client = env.child<QWidget>(QStringLiteral("client"));
    QWidget* shown = dialog ? dialog.get() : client;
    // The dialogs speak in the main window's face and size.
    QCOMPARE(QFontInfo(shown->font()).family(), QFontInfo(client->font()).family());
    QCOMPARE(QFontInfo(shown->font()).pixelSize(), QFontInfo(client->font()).pixelSize());
    const QStringList cut = cutCaptions(*shown);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

// At every scale each control of the window lies at its place at 100 % times the scale,
// within a pixel, inside its parent; the window fits the client area, its pictures and notes
// are drawn at their places' size rather than stretched; and going back to 100 % puts every
// control back exactly.
void LookTest::everyControlScales() {
    for (const int percent : kz::kDisplayScales) {
        const double f = percent / 100.0;
        WindowEnv env;
        env.load(kPuzzle, true);
        env.win->SetNotes(1, 0x1ff);
        env.trigger("mnShowClock");
        auto* client = env.child<QWidget>(QStringLiteral("client"));
        QHash<QWidget*, QRect> before;
        for (QWidget* w : client->findChildren<QWidget*>()) before.insert(w, w->geometry());
        const QSize window = env.win->size();
        auto* scale = env.win->findChild<kz::DisplayScale*>();
        scale->choose(percent);

        const auto near = [f](int scaled, int original) {
            return qAbs(scaled - original * f) <= 1.0;
        };
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QRect was = it.value();
            const QRect now = it.key()->geometry();
            const QString what = QStringLiteral("%1 at %2 %: %3 from %4")
                                     .arg(it.key()->objectName())
                                     .arg(percent)
                                     .arg(QDebug::toString(now), QDebug::toString(was));
            QVERIFY2(near(now.x(), was.x()) && near(now.y(), was.y()) &&
                         near(now.width(), was.width()) && near(now.height(), was.height()),
                     qPrintable(what));
            const QRect room = it.key()->parentWidget()->rect();
            QVERIFY2(room.contains(now) || !room.contains(was), qPrintable(what));
        }
        QVERIFY(near(client->width(), 413) && near(client->height(), 488 + 18));
        QCOMPARE(env.win->size(),
                 client->size() + QSize(0, env.win->menuBar()->sizeHint().height()));
        QCOMPARE(client->font().pointSizeF(), 9 * f);
        for (int k = 1; k <= 10; ++k) {
            const auto* item = env.child<QLabel>(QStringLiteral("imgCheckPai_%1").arg(k));
            QCOMPARE(item->pixmap().deviceIndependentSize().toSize(), item->size());
        }
        for (int n = 1; n <= kz::kCellCount; ++n) {
            if (env.win->board()[n].Value == 0) continue;
            QCOMPARE(env.tile(n)->pixmap().deviceIndependentSize().toSize(), env.tile(n)->size());
        }
        const auto* notes = static_cast<QLabel*>(env.back(1));
        QCOMPARE(notes->pixmap().deviceIndependentSize().toSize(), notes->size());

        scale->choose(100);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QCOMPARE(it.key()->geometry(), it.value());
        }
        QCOMPARE(env.win->size(), window);
    }
}

// A scale stored on a larger screen does not push the window past a smaller one (the test
// platform's screen is too small for 200 %): it starts at a smaller scale that fits, title bar
// included, and the choice stays stored for the larger screen.
void LookTest::storedScaleYieldsToASmallScreen() {
    const QByteArray line = "15,14,12,11,0,0,0,0,0,0,0,2,1,1,0,0,0,200,";
    WindowEnv env(line);
    const QSize room = env.win->screen()->availableGeometry().size();
    QVERIFY(room.height() < 1012);
    QVERIFY2(env.win->findChild<kz::DisplayScale*>()->percent() < 200 &&
                 env.win->width() <= room.width() && env.win->height() + 24 <= room.height(),
             qPrintable(QDebug::toString(env.win->size()) + QDebug::toString(room)));
    QVERIFY(!env.child<QAction>(QStringLiteral("mnScale_200"))->isEnabled());
    QFile settings(env.settingsPath());
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), line + "\r\n");
}

void LookTest::qtTextsAreJapanese() {
    QMessageBox box;
    kz::QtPort::setUpMessageBox(box, QStringLiteral("x"), UiPort::Buttons::OkCancel,
                                UiPort::Icon::None, QStringLiteral("Kazarinoset"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        const QString text = dialog.findChild<QLabel*>(QLatin1String(name))->text();
        QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))),
                 qPrintable(text));
    }
}

void LookTest::messageBoxesFitCaptionWithPlainButtons_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("buttons");
    QTest::newRow("title") << QStringLiteral("Kazarinoset") << int(UiPort::Buttons::Ok);
    QTest::newRow("start-up error")
        << QStringLiteral("Kazarinoset Form_Load Error") << int(UiPort::Buttons::OkCancel);
}

void LookTest::messageBoxesFitCaptionWithPlainButtons() {
    QFETCH(QString, caption);
    QFETCH(int, buttons);
    // The application owns the style it is given and deletes the one it replaces.
    const QString previous = QApplication::style()->name();
    QApplication::setStyle(new IconButtonStyle);
    {
        QMessageBox box;
        kz::QtPort::setUpMessageBox(box, QStringLiteral("短い"), UiPort::Buttons(buttons),
                                    UiPort::Icon::None, caption);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        for (QAbstractButton* button : box.buttons()) QVERIFY(button->icon().isNull());
        // Room for the caption in a bold title face half again as large, beside a window
        // icon and three title-bar buttons.
        QFont title = box.font();
        title.setBold(true);
        title.setPointSizeF(title.pointSizeF() * 1.2);
        QVERIFY2(box.width() >= QFontMetrics(title).horizontalAdvance(caption) + 4 * 24,
                 qPrintable(QString::number(box.width())));
    }
    QApplication::setStyle(previous);
}

void LookTest::paletteBorderRunsThroughCaption() {
    WindowEnv env;
    env.win->show();
    QVERIFY(QTest::qWaitForWindowExposed(env.win.get()));
    auto* box = env.child<QGroupBox>(QStringLiteral("Frame1"));
    const QRect selection = env.child<QWidget>(QStringLiteral("shpWaku"))->geometry();
    const QImage image = box->grab().toImage();
    const QColor background = box->palette().color(QPalette::Window);
    // Right of the caption: the first row that is not background is the top border.
    const int x = image.width() - 4;
    int border = -1;
    for (int y = 0; y < image.height() && border < 0; ++y) {
        if (image.pixelColor(x, y) != background) border = y;
    }
    QVERIFY2(border >= 0 && border < selection.top(),
             qPrintable(QStringLiteral("border at %1, selection frame at %2")
                            .arg(border)
                            .arg(selection.top())));
    // The caption interrupts the border: no border pixel in the middle of the caption's row.
    const int captionMiddle = box->fontMetrics().horizontalAdvance(box->title()) / 2;
    for (int dx = -3; dx <= 3; ++dx) {
        QCOMPARE(
            image.pixelColor(captionMiddle + dx, border) == box->palette().color(QPalette::Dark),
            false);
    }
}

void LookTest::framesAreCentred_data() {
    QTest::addColumn<QMargins>("frame");
    QTest::newRow("no frame") << QMargins();
    QTest::newRow("title bar and borders") << QMargins(1, 24, 1, 1);
    QTest::newRow("thick borders") << QMargins(4, 30, 4, 4);
}

void LookTest::framesAreCentred() {
    QFETCH(QMargins, frame);
    const QRect screen(0, 0, 1024, 768);
    const QSize client(413, 508);
    const QPoint at = kz::CentredFramePosition(screen, client, frame);
    const QRect outer(at, client.grownBy(frame));
    QVERIFY(qAbs(outer.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(outer.center().y() - screen.center().y()) <= 1);
}

void LookTest::gridShowsItsColours() {
    // Grid lines dark blue (1), blank cells light green (10): every role in its own colour.
    WindowEnv env("10,14,12,11,0,1,0,0,0,0,0,");
    env.win->SetCell(1, 5, true, kz::MarkNone);
    env.win->SetCell(2, 3, false, kz::MarkConflict);
    env.win->SetCell(3, 4, false, kz::MarkAnswer);
    env.win->ColorSetChange();
    env.win->show();
    QVERIFY(QTest::qWaitForWindowExposed(env.win.get()));
    const QImage image = env.win->grab().toImage();
    const auto at = [&](const QWidget* w, QPoint p) {
        return image.pixelColor(w->mapTo(env.win.get(), p));
    };
    // A corner of each square, clear of its tile and of the grid lines.
    const auto corner = [&](int n) { return at(env.back(n), QPoint(6, 6)); };
    QCOMPARE(corner(1), kLightYellow);
    QCOMPARE(corner(2), kLightRed);
    QCOMPARE(corner(3), kLightCyan);
    QCOMPARE(corner(4), QColor(0, 255, 0));
    const QColor darkBlue(0, 0, 128);
    QCOMPARE(at(env.child<QWidget>(QStringLiteral("linFrame_1")), QPoint(100, 0)), darkBlue);
    QCOMPARE(at(env.child<QWidget>(QStringLiteral("linFrame_13")), QPoint(1, 200)), darkBlue);
    // The selection frame: border in the grid colour, filled like a blank cell.
    const QWidget* frame = env.child<QWidget>(QStringLiteral("shpWaku"));
    QCOMPARE(at(frame, QPoint(0, frame->height() / 2)), darkBlue);
    QCOMPARE(at(frame, QPoint(2, 2)), QColor(0, 255, 0));
}

QTEST_MAIN(LookTest)
#include "look_test.moc"
