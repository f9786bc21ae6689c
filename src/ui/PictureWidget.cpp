#include "ui/PictureWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace lakedrift {

PictureWidget::PictureWidget(const QtImageSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), surface_.Image(), event->rect());
}

void PictureWidget::resizeEvent(QResizeEvent* /*event*/) { emit Resized(); }

namespace {
constexpr int kEighthsPerNotch = 120;  // a wheel reports eighths of a degree; a notch is 15°
}  // namespace

void PictureWidget::wheelEvent(QWheelEvent* event) {
  // Fine-grained wheels and touch pads report parts of a notch: they add up.
  wheelEighths_ += event->angleDelta().y();
  const int notches = wheelEighths_ / kEighthsPerNotch;
  wheelEighths_ -= notches * kEighthsPerNotch;
  if (notches != 0) emit WheelTurned(event->position(), notches);
  event->accept();
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragFrom_ = event->position();
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragFrom_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPointF delta = event->position() - *dragFrom_;
  dragFrom_ = event->position();
  if (!delta.isNull()) emit Dragged(delta.x(), delta.y());
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragFrom_.reset();
}

void PictureWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit DoubleClicked(event->position());
}

}  // namespace lakedrift
