// SPDX-License-Identifier: MIT
// Small widgets the windows share: clickable colour cells, the swatch marker, a text box
// that selects its whole text on focus, the captioned frame, the twips-to-pixels rule and
// the centring of windows.
#pragma once

#include <QColor>
#include <QGroupBox>
#include <QLineEdit>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QDialog;
class QRadioButton;

namespace kz {

/// The dialogs' layouts are kept in twips, as the forms were drawn; 15 twips = 1 pixel.
constexpr int TwipsToPx(int twips) {
    return twips / 15;
}
inline QRect TwipRect(int left, int top, int width, int height) {
    return QRect(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height));
}

/// Puts a window of its final size in the middle of its owner's screen (its own screen when
/// it has no owner) rather than over the owner, which the user may have moved anywhere. It is
/// the frame, title bar included, that is centred: its size is taken from the window itself
/// once shown, else from its owner's, and corrected when the window manager first reports
/// it. Call before the window is first shown.
void CentreOnScreen(QWidget& dialog);

/// Where a window of client size `client` inside a frame of `frame` margins goes so that the
/// frame is centred in `available`; the position is the frame's, as QWidget::move takes it.
QPoint CentredFramePosition(const QRect& available, const QSize& client, const QMargins& frame);

/// A captioned frame drawn as the forms draw theirs: the border runs through the middle of the
/// caption line, which interrupts it, so the controls placed inside the frame by the form's
/// coordinates lie inside the border. Without a caption the border runs along the top edge.
class CaptionBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
    /// Where the top border runs, in the box's own coordinates.
    int borderTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// Names, captions and sizes a dialog of fixed size with a title bar, system menu and close
/// box but no other buttons.
void setUpFixedDialog(QDialog& dialog, const char* name, const QString& title, int widthTwips,
                      int heightTwips);

/// The forms were laid out for the classic Japanese faces; where a substitute face is wider,
/// makes `w`'s font just small enough (but no smaller than 6 points) for `text` to fit
/// `room` pixels, so that none of it is cut off.
void ShrinkFontToFit(QWidget& w, const QString& text, int room);

/// The name of member `index` of a control array, "name_index".
QString indexedName(const char* name, int index);

/// A child control with its caption, object name and place on the form.
template <typename Control>
Control* makeNamed(QWidget* parent, const char* name, const QString& caption, QRect rect) {
    auto* control = new Control(caption, parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(rect);
    return control;
}

/// Member `index` of an option-button array; `group` knows it by that index, as the stored
/// setting does.
QRadioButton* makeOption(QButtonGroup* group, QWidget* parent, const char* name, int index,
                         const QString& caption, QRect rect);

/// A filled square with a one-pixel outline: a colour swatch, a sample cell or, with equal
/// fill and outline, a sample line.
class ColorCell : public QWidget {
    Q_OBJECT
public:
    explicit ColorCell(QWidget* parent = nullptr);
    void setFill(const QColor& colour);
    void setOutline(const QColor& colour);
    QColor fill() const { return m_fill; }
    QColor outline() const { return m_outline; }
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_fill = Qt::white;
    QColor m_outline = Qt::black;
    bool m_pressed = false;
};

/// The thick outline laid over the chosen swatch. It lets clicks through to the swatch
/// underneath, so the chosen colour can be clicked again.
class SwatchMarker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLineWidth = 3;
    explicit SwatchMarker(QWidget* parent = nullptr);
    /// Frames `target`, a sibling: the line straddles its edge so that it stays visible even
    /// on a black swatch against a dark frame.
    void frame(const QWidget& target);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// A text box that selects all of its text whenever it gains the focus, by whatever means,
/// so its content is ready to be replaced or copied.
class SelectAllLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace kz
