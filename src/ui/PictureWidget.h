#pragma once
#include <QWidget>

#include "view/QtImageSurface.h"

namespace lakedrift {

// The main window's client area: it shows a persistent picture and only
// copies it when asked to paint. Children (the scroll bars) lie on top.
class PictureWidget : public QWidget {
  Q_OBJECT

 public:
  // Shows the picture of `surface`, which outlives the widget and is drawn
  // on by others.
  PictureWidget(const QtImageSurface& surface, QWidget* parent = nullptr);

 signals:
  // The client area changed size.
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const QtImageSurface& surface_;
};

}  // namespace lakedrift
