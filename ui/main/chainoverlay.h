// SPDX-License-Identifier: MIT
// The links of a hint's chain, drawn as lines over the grid between the candidates they join:
// a strong link solid, a weak one dashed, a link that needs earlier facts besides its own
// dotted in another colour, each with a small arrow where it leads. Clicks pass through to the
// cells beneath.
#pragma once

#include <QPointF>
#include <QWidget>
#include <vector>

namespace kz {

class ChainOverlay : public QWidget {
    Q_OBJECT
public:
    struct Segment {
        QPointF from;  ///< the centre of the candidate the link leaves, in this widget
        QPointF to;
        bool strong = false;
        bool dynamic = false;  ///< holds only together with other facts
    };

    explicit ChainOverlay(QWidget* parent);

    /// The links to draw, and `radius` (the candidates' size) to keep their digits clear; no
    /// segments hides the overlay.
    void setSegments(std::vector<Segment> segments, double radius, double width);
    const std::vector<Segment>& segments() const { return m_segments; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Segment> m_segments;
    double m_radius = 0;
    double m_width = 1;
};

}  // namespace kz
