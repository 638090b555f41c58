// The area selection's rubber band: a dotted rectangle that inverts what lies under it,
// following the mouse from where the button went down; on release the area it spans is the
// selection.
#pragma once

#include <QPoint>
#include <QRect>

class QPainter;

namespace viewer {

class RubberBand {
  public:
    /// A press at `point` starts a new band; the old band's area (grown by a pixel) is
    /// returned for repainting.
    QRect press(QPoint point);
    /// Follows the mouse; false when the point did not change.
    bool move(QPoint point);
    /// Ends the band; unless it ends where it started, its area becomes the selection.
    void release(QPoint point);
    /// Selects `area` as a whole, shown as a band.
    void selectArea(const QRect& area);
    /// Forgets the selection and the band.
    void clear();

    bool isActive() const { return active_; }
    /// The selected area, the far edges outside it; empty when nothing is selected.
    QRect selection() const { return selection_; }
    /// Draws the band, if any, over what `painter` painted.
    void paint(QPainter& painter) const;

  private:
    bool active_ = false;
    QPoint start_;
    QPoint last_;
    QRect shown_;
    QRect selection_;
};

}  // namespace viewer
