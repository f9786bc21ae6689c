#include "ui/PictureWidget.h"

#include <QPaintEvent>
#include <QPainter>

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

}  // namespace lakedrift
