#pragma once
#include <QPointF>
#include <QWidget>
#include <optional>

#include "view/QtImageSurface.h"

namespace lakedrift {

// The main window's client area: it shows a persistent picture and only
// copies it when asked to paint. Children (the scroll bars) lie on top.
// It passes the mouse on as map viewers use it: the wheel, a drag with the
// left button and a double-click, at picture pixels.
class PictureWidget : public QWidget {
  Q_OBJECT

 public:
  // Shows the picture of `surface`, which outlives the widget and is drawn
  // on by others.
  PictureWidget(const QtImageSurface& surface, QWidget* parent = nullptr);

 signals:
  // The client area changed size.
  void Resized();
  // The wheel turned by `notches` (positive away from the user) over a pixel.
  void WheelTurned(QPointF pixel, int notches);
  // The left button dragged the picture by (dx, dy) pixels since the last report.
  void Dragged(double dx, double dy);
  // The left button was double-clicked over a pixel.
  void DoubleClicked(QPointF pixel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  const QtImageSurface& surface_;
  std::optional<QPointF> dragFrom_;  // where the left button last dragged from
  int wheelEighths_ = 0;             // wheel turn not yet a whole notch
};

}  // namespace lakedrift
