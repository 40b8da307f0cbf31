// SPDX-License-Identifier: MIT
// Laying built widgets out again at a scale, and the main window's choice of scale.
#include "ui/main/scale.h"

#include <QAction>
#include <QActionGroup>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "settings/optionman.h"
#include "ui/main/gridview.h"

namespace kz {

namespace {

// What a widget looked like at 100 %, kept on the widget itself the first time it is scaled.
constexpr char kBaseGeometry[] = "kzBaseGeometry";
constexpr char kBaseFixedSize[] = "kzBaseFixedSize";
constexpr char kBaseFont[] = "kzBaseFont";
constexpr char kFontInherited[] = "kzFontInherited";
constexpr char kPlacesItself[] = "kzPlacesItself";
constexpr char kWindowScale[] = "kzDisplayScale";
// Before a window is first shown its title bar is unknown; a generous guess keeps a scale
// that would push the window off the screen from being offered.
constexpr int kTitleBarGuess = 32;

int scaled(int v, double factor) {
    return static_cast<int>(std::lround(v * factor));
}

bool isFixed(const QWidget& w) {
    return w.minimumSize() == w.maximumSize();
}

/// Keeps what `w` looks like at 100 %, unless kept before. The root keeps its place, and its
/// size unless `fixRoot`.
void remember(QWidget& w, bool isRoot, bool fixRoot) {
    if (!w.property(kBaseFont).isValid() && (isRoot || w.testAttribute(Qt::WA_SetFont))) {
        w.setProperty(kBaseFont, w.font());
        w.setProperty(kFontInherited, !w.testAttribute(Qt::WA_SetFont));
    }
    if ((!isRoot || fixRoot) && !w.property(kBaseFixedSize).isValid() && isFixed(w)) {
        w.setProperty(kBaseFixedSize, w.minimumSize());
    }
    if (!isRoot && !w.property(kBaseGeometry).isValid()) {
        w.setProperty(kBaseGeometry, w.geometry());
    }
}

void applyFont(QWidget& w, double factor) {
    const QVariant base = w.property(kBaseFont);
    if (!base.isValid()) return;
    if (factor == 1.0 && w.property(kFontInherited).toBool()) {
        // Back to whatever the widget would have without the scale.
        w.setFont(QFont());
        return;
    }
    QFont font = base.value<QFont>();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * factor);
    } else {
        font.setPixelSize(std::max(1, scaled(font.pixelSize(), factor)));
    }
    w.setFont(font);
}

void applyGeometry(QWidget& w, double factor, bool isRoot) {
    if (const QVariant fixed = w.property(kBaseFixedSize); fixed.isValid()) {
        const QSize size = fixed.toSize();
        w.setFixedSize(scaled(size.width(), factor), scaled(size.height(), factor));
    }
    if (isRoot || w.property(kPlacesItself).toBool()) return;
    // A layout places the children of its widget; their fonts are enough.
    if (w.parentWidget() != nullptr && w.parentWidget()->layout() != nullptr) return;
    const QRect target = ScaledRect(w.property(kBaseGeometry).toRect(), factor);
    if (w.geometry() != target) w.setGeometry(target);
}

/// `root` and its descendants up to the windows inside it.
void collect(QWidget& root, std::vector<QWidget*>& out) {
    out.push_back(&root);
    for (QObject* child : root.children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w != nullptr && !w->isWindow()) collect(*w, out);
    }
}

}  // namespace

int ScaledLength(int length, double factor) {
    return scaled(length, factor);
}

QRect ScaledRect(const QRect& rect, double factor) {
    const QPoint topLeft(scaled(rect.x(), factor), scaled(rect.y(), factor));
    const QPoint end(scaled(rect.x() + rect.width(), factor),
                     scaled(rect.y() + rect.height(), factor));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

void PlaceItself(QWidget& w) {
    w.setProperty(kPlacesItself, true);
}

void ScaleWidgets(QWidget& root, double factor, bool fixRoot) {
    std::vector<QWidget*> widgets;
    collect(root, widgets);
    // Everything is remembered before anything changes: a child's font read after its
    // parent's had grown would already be scaled.
    for (QWidget* w : widgets) remember(*w, w == &root, fixRoot);
    for (QWidget* w : widgets) {
        applyFont(*w, factor);
        applyGeometry(*w, factor, w == &root);
    }
}

double WindowScale(const QWidget* window) {
    const QVariant factor = window != nullptr ? window->property(kWindowScale) : QVariant();
    return factor.isValid() ? factor.toDouble() : 1.0;
}

void FollowWindowScale(QWidget& dialog, const QWidget* owner) {
    const double factor = WindowScale(owner != nullptr ? owner->window() : nullptr);
    if (factor != 1.0 || dialog.property(kBaseFont).isValid()) ScaleWidgets(dialog, factor, true);
}

// ---- DisplayScale

DisplayScale::DisplayScale(QWidget& window, QWidget& client, GridView& grid, OptionMan& options,
                           AppliedFn applied)
    : QObject(&window),
      m_window(window),
      m_client(client),
      m_grid(grid),
      m_options(options),
      m_applied(std::move(applied)) {
    setObjectName(QStringLiteral("displayScale"));
}

void DisplayScale::fillMenu(QMenu* menu) {
    m_items = new QActionGroup(this);
    m_items->setExclusive(true);
    for (std::size_t i = 0; i < kDisplayScales.size(); ++i) {
        const int percent = kDisplayScales[i];
        QAction* item = menu->addAction(QStringLiteral("%1%(&%2)").arg(percent).arg(i + 1));
        item->setObjectName(QStringLiteral("mnScale_%1").arg(percent));
        item->setCheckable(true);
        item->setData(percent);
        m_items->addAction(item);
        connect(item, &QAction::triggered, this, [this, percent] { choose(percent); });
    }
    // The screen may have changed since the last look.
    connect(menu, &QMenu::aboutToShow, this, [this] { syncMenu(); });
    syncMenu();
}

void DisplayScale::applyStored() {
    int percent = m_options.GetExtra(ExtDisplayScale);
    for (auto it = kDisplayScales.rbegin(); it != kDisplayScales.rend(); ++it) {
        if (*it <= percent && (fits(*it) || *it == kDisplayScales.front())) {
            percent = *it;
            break;
        }
    }
    apply(percent);
}

void DisplayScale::choose(int percent) {
    apply(percent);
    m_options.SetExtra(ExtDisplayScale, static_cast<std::int16_t>(percent));
    // A failed write only loses the choice for the next run.
    (void)m_options.SaveOptions();
    // A window grown past the screen's edge comes back inside it, title bar first.
    const QScreen* screen = m_window.screen();
    if (!m_window.isVisible() || screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QRect frame = m_window.frameGeometry();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top()) m_window.move(x, y);
}

QRect DisplayScale::baseGeometry(const QWidget& w) {
    const QVariant base = w.property(kBaseGeometry);
    return base.isValid() ? base.toRect() : w.geometry();
}

void DisplayScale::apply(int percent) {
    if (percent == m_percent) {
        syncMenu();
        return;
    }
    m_percent = percent;
    m_window.setProperty(kWindowScale, factor());
    ScaleWidgets(m_client, factor(), false);
    m_grid.setScale(factor());
    if (m_applied) m_applied();
    // Which scales fit is judged from the window's size, known once the window has it.
    syncMenu();
}

bool DisplayScale::fits(int percent) const {
    const QScreen* screen = m_window.screen();
    if (screen == nullptr) return true;
    QSize frame = m_window.frameGeometry().size() - m_window.size();
    if (frame.height() <= 0) frame = QSize(0, kTitleBarGuess);
    const QSize size = m_window.size() * (static_cast<double>(percent) / m_percent) + frame;
    const QSize room = screen->availableGeometry().size();
    return size.width() <= room.width() && size.height() <= room.height();
}

void DisplayScale::syncMenu() {
    if (m_items == nullptr) return;
    for (QAction* item : m_items->actions()) {
        const int percent = item->data().toInt();
        item->setChecked(percent == m_percent);
        item->setEnabled(percent == m_percent || fits(percent));
    }
}

}  // namespace kz
