// SPDX-License-Identifier: MIT
// The options dialog driven through its own widgets: what it shows, what OK stores and
// writes, and that Cancel leaves slots and file alone.
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "resources/pictures.h"
#include "settings/optionman.h"
#include "support/uitest.h"
#include "ui/dialogs/dialogwidgets.h"
#include "ui/dialogs/frmoption.h"
#include "ui/dialogs/palette.h"
#include "ui/main/clicklabel.h"

using kz::ColorCell;
using kz::PaletteColor;

namespace {

const QByteArray kDefaultLine = "15,14,12,11,0,0,0,0,0,0,0,\r\n";

QString indexed(const char* name, int i) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i);
}

}  // namespace

class OptionDialogTest : public QObject, private kz::test::DialogFixture<kz::frmOption> {
    Q_OBJECT

private:
    void click(const QString& name) {
        QWidget* widget = find<QWidget>(name);
        QVERIFY(widget != nullptr);
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    /// The swatch the marker frames, or -1.
    int markedSwatch() const {
        auto* marker = find<QWidget>(QStringLiteral("shpWaku"));
        if (marker == nullptr || !marker->isVisible()) return -1;
        for (int i = 0; i < 16; ++i) {
            if (find<QWidget>(indexed("lblSelColor", i))->geometry().center() ==
                marker->geometry().center())
                return i;
        }
        return -1;
    }
    QImage samplePicture(int i) const {
        return find<QLabel>(indexed("imgPai", i))->pixmap().toImage();
    }

private slots:
    void init() { initFixture(); }
    void cleanup() { cleanupFixture(); }

    void opensWithStoredDefaults() {
        open();
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("ｵﾌﾟｼｮﾝ設定"));
        QCOMPARE(m_dialog->size(), QSize(549, 304));
        QVERIFY(find<QRadioButton>("optAutoThink_0")->isChecked());
        QVERIFY(find<QRadioButton>("optSuitKind_0")->isChecked());
        QVERIFY(find<QRadioButton>("optBColor_0")->isChecked());
        QCOMPARE(markedSwatch(), 15);
        for (int i = 0; i < 16; ++i)
            QCOMPARE(find<ColorCell>(indexed("lblSelColor", i))->fill(), PaletteColor(i));

        const int fills[] = {15, 14, 12, 11};
        for (int i = 0; i < 4; ++i) {
            auto* cell = find<ColorCell>(indexed("lblBack", i));
            QCOMPARE(cell->fill(), PaletteColor(fills[i]));
            QCOMPARE(cell->outline(), QColor(Qt::black));
            QVERIFY(!samplePicture(i).isNull());
            QCOMPARE(samplePicture(i), kz::TilePicture(i + 1).toImage());
        }
        QCOMPARE(find<ColorCell>("linWaku")->fill(), QColor(Qt::black));

        // What is painted, not only what is held: light yellow inside, black edge.
        const QImage painted = find<QWidget>("lblBack_1")->grab().toImage();
        QCOMPARE(painted.pixelColor(4, 4), PaletteColor(14));
        QCOMPARE(painted.pixelColor(0, 0), QColor(Qt::black));
    }

    void choosingARoleMovesTheMarker_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("swatch");
        QTest::newRow("problem option") << "optBColor_1" << 14;
        QTest::newRow("conflict option") << "optBColor_2" << 12;
        QTest::newRow("answer option") << "optBColor_3" << 11;
        QTest::newRow("grid option") << "optBColor_4" << 0;
        QTest::newRow("answer sample cell") << "lblBack_3" << 11;
        QTest::newRow("problem sample picture") << "imgPai_1" << 14;
    }
    void choosingARoleMovesTheMarker() {
        QFETCH(QString, control);
        QFETCH(int, swatch);
        open();
        click(control);
        QCOMPARE(markedSwatch(), swatch);
        if (control.startsWith(QLatin1String("lblBack")) ||
            control.startsWith(QLatin1String("imgPai")))
            QVERIFY(
                find<QRadioButton>(indexed("optBColor", control.right(1).toInt()))->isChecked());
    }

    void gridEqualToBlankCellIsRefused() {
        open();
        click("optBColor_4");
        QCOMPARE(markedSwatch(), 0);
        click("lblSelColor_15");
        QCOMPARE(markedSwatch(), 15);
        QCOMPARE(find<ColorCell>("linWaku")->fill(), QColor(Qt::white));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(find<ColorCell>(indexed("lblBack", i))->outline(), QColor(Qt::white));
        // The cell backgrounds stay: only the grid role changed.
        QCOMPARE(find<ColorCell>("lblBack_1")->fill(), PaletteColor(14));

        click("cmdOK");
        QCOMPARE(m_port->messages.size(), 1);
        const auto& box = m_port->messages.first();
        QCOMPARE(box.text, QStringLiteral("空白ﾏｽの背景色と枠線の色を同じにすることはできません"));
        QCOMPARE(box.buttons, kz::UiPort::Buttons::Ok);
        QCOMPARE(box.icon, kz::UiPort::Icon::None);
        QCOMPARE(box.caption, QStringLiteral("Kazarinoset"));
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(settingsPath()));
        QCOMPARE(m_options->GetOption(kz::OptGridColor), 0);

        // Moving the grid off white again lets OK through.
        click("lblSelColor_8");
        click("cmdOK");
        QCOMPARE(m_port->messages.size(), 1);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(readSettings(), QByteArray("15,14,12,11,0,8,0,0,0,0,0,\r\n"));
    }

    void numeralsShowAtOnceButStoreOnlyOnOk() {
        open();
        click("optSuitKind_1");
        for (int i = 0; i < 4; ++i) QCOMPARE(samplePicture(i), kz::TilePicture(i + 11).toImage());
        QCOMPARE(m_options->GetOption(kz::OptImageKind), 0);
        QCOMPARE(m_options->ImageSetBase(), 0);
        click("optSuitKind_0");
        for (int i = 0; i < 4; ++i) QCOMPARE(samplePicture(i), kz::TilePicture(i + 1).toImage());
        click("optSuitKind_1");
        click("cmdOK");
        QCOMPARE(m_options->GetOption(kz::OptImageKind), 1);
        QCOMPARE(m_options->ImageSetBase(), 10);
    }

    void unavailableChoicesCannotBeMade() {
        open();
        for (const char* name :
             {"optSuitKind_2", "optSuitKind_3", "optHanmoto_1", "optHanmoto_2", "optHanmoto_3"}) {
            auto* button = find<QRadioButton>(name);
            QVERIFY(!button->isEnabled());
            click(name);
            QVERIFY2(!button->isChecked(), name);
        }
        QVERIFY(find<QRadioButton>("optSuitKind_0")->isChecked());
        QVERIFY(find<QRadioButton>("optHanmoto_0")->isChecked());
        QVERIFY(find<QRadioButton>("optHanmoto_0")->isEnabled());
    }

    void okStoresEveryRoleInItsSlot_data() {
        QTest::addColumn<QString>("role");
        QTest::addColumn<int>("swatch");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("unchanged") << "optBColor_0" << 15 << kDefaultLine;
        QTest::newRow("blank cell")
            << "optBColor_0" << 8 << QByteArray("8,14,12,11,0,0,0,0,0,0,0,\r\n");
        QTest::newRow("problem") << "optBColor_1" << 7
                                 << QByteArray("15,7,12,11,0,0,0,0,0,0,0,\r\n");
        QTest::newRow("conflict") << "lblBack_2" << 4
                                  << QByteArray("15,14,4,11,0,0,0,0,0,0,0,\r\n");
        QTest::newRow("answer") << "imgPai_3" << 2 << QByteArray("15,14,12,2,0,0,0,0,0,0,0,\r\n");
        QTest::newRow("grid goes to slot 5")
            << "optBColor_4" << 9 << QByteArray("15,14,12,11,0,9,0,0,0,0,0,\r\n");
        QTest::newRow("equal colours of other roles")
            << "optBColor_1" << 15 << QByteArray("15,15,12,11,0,0,0,0,0,0,0,\r\n");
    }
    void okStoresEveryRoleInItsSlot() {
        QFETCH(QString, role);
        QFETCH(int, swatch);
        QFETCH(QByteArray, line);
        open();
        click(role);
        click(indexed("lblSelColor", swatch));
        QCOMPARE(markedSwatch(), swatch);
        if (role != QLatin1String("optBColor_4")) {
            const int r = role.right(1).toInt();
            QCOMPARE(find<ColorCell>(indexed("lblBack", r))->fill(), PaletteColor(swatch));
        }
        click("cmdOK");
        QVERIFY(m_port->messages.isEmpty());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(readSettings(), line);
    }

    void okKeepsSlotsItDoesNotOffer() {
        // Automatic check on and numerals chosen; the create-variant slots and the spare
        // slot 10 go back to the file as they stood.
        writeSettings("15,14,12,11,0,0,2,3,4,0,77,\r\nsecond line\r\n");
        open();
        click("optAutoThink_1");
        click("optSuitKind_1");
        QTest::keyClick(m_dialog.get(), Qt::Key_Return);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(readSettings(), QByteArray("15,14,12,11,1,0,2,3,4,1,77,\r\n"));
    }

    void reopeningShowsStoredSettings() {
        writeSettings("1,2,3,4,1,5,0,0,0,1,0,\r\n");
        open();
        QVERIFY(find<QRadioButton>("optAutoThink_1")->isChecked());
        QVERIFY(find<QRadioButton>("optSuitKind_1")->isChecked());
        QCOMPARE(markedSwatch(), 1);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(find<ColorCell>(indexed("lblBack", i))->fill(), PaletteColor(i + 1));
            QCOMPARE(find<ColorCell>(indexed("lblBack", i))->outline(), PaletteColor(5));
            QCOMPARE(samplePicture(i), kz::TilePicture(i + 11).toImage());
        }
        QCOMPARE(find<ColorCell>("linWaku")->fill(), PaletteColor(5));
    }

    void closingWithoutOkStoresNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("escape key") << true;
    }
    void closingWithoutOkStoresNothing() {
        QFETCH(bool, escape);
        const QByteArray before = "15,14,12,11,0,0,1,1,3,0,0,\r\n";
        writeSettings(before);
        open();
        click("optBColor_2");
        click("lblSelColor_3");
        click("optAutoThink_1");
        click("optSuitKind_1");
        if (escape)
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        else
            click("cmdCancel");
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(readSettings(), before);
        QCOMPARE(m_options->GetOption(kz::OptConflictColor), 12);
        QCOMPARE(m_options->GetOption(kz::OptAutoCheck), 0);
        QCOMPARE(m_options->GetOption(kz::OptImageKind), 0);
        QCOMPARE(m_options->ImageSetBase(), 0);
        QVERIFY(m_port->messages.isEmpty());
    }
};

QTEST_MAIN(OptionDialogTest)
#include "dialogs_option_test.moc"
