// SPDX-License-Identifier: MIT
#include "ui/main/paletteview.h"

#include <QPixmap>

#include "resources/pictures.h"
#include "ui/main/clicklabel.h"
#include "ui/main/gridview.h"
#include "ui/main/scale.h"
#include "ui/main/twips.h"
#include "ui/main/wakushape.h"

namespace kz {

namespace {

constexpr int kPalettePitch = 480;
constexpr int kWakuWidth = 495;
constexpr int kWakuHeight = 615;

}  // namespace

PaletteView::PaletteView(QWidget* client, std::function<void(int)> clicked)
    : CaptionBox(QStringLiteral("この中の牌をｸﾘｯｸした後に、上のﾏｽをｸﾘｯｸしてください"), client) {
    setObjectName(QStringLiteral("Frame1"));
    setGeometry(px(120), px(6300), px(5295), px(915));

    // The frame first, so the items lie over it.
    m_frame = new WakuShape(this);
    m_frame->setObjectName(QStringLiteral("shpWaku"));
    m_frame->setGeometry(px(4680), px(240), px(kWakuWidth), px(kWakuHeight));

    for (int i = 1; i <= 10; ++i) {
        auto* item = new ClickLabel(this);
        item->setObjectName(QStringLiteral("imgCheckPai_%1").arg(i));
        item->setGeometry(px(180 + kPalettePitch * (i - 1)), px(300), px(kTileWidth),
                          px(kTileHeight));
        connect(item, &ClickLabel::clicked, this, [clicked, i] { clicked(i); });
        m_items[i] = item;
    }
}

void PaletteView::frame(int item) {
    const QRect box = DisplayScale::baseGeometry(*m_items[item]);
    // In twips: 10 right and down of the frame centred on the item.
    const double left = box.x() * 15.0 + 10 + (kTileWidth - kWakuWidth) / 2.0;
    const double top = box.y() * 15.0 + 10 + (kTileHeight - kWakuHeight) / 2.0;
    m_frame->move(ScaledLength(px(left), m_factor), ScaledLength(px(top), m_factor));
}

void PaletteView::draw(int base, bool noteForm) {
    for (int k = 1; k <= 10; ++k) {
        const QPixmap picture = TilePicture(base + k, m_factor);
        m_items[k]->setPixmap(noteForm ? GridView::noteForm(picture, picture.size()) : picture);
        m_items[k]->setProperty("picture", base + k);
    }
}

void PaletteView::setFrameColors(const QColor& fill, const QColor& border) {
    m_frame->setColors(fill, border);
}

}  // namespace kz
