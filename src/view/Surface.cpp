#include "view/Surface.h"

namespace lakedrift {
namespace {
// Twips per pixel on the fixed 96-DPI surface: 1440 / 96.
constexpr float kTwipsPerPixel = 15.0f;
}  // namespace

void Surface::SetScale(float left, float top, float width, float height) {
  scaleLeft_ = left;
  scaleTop_ = top;
  scaleWidth_ = width;
  scaleHeight_ = height;
}

void Surface::SetScaleMode(ScaleMode mode) {
  if (mode == scaleMode_) return;
  if (mode == ScaleMode::Twips) {
    userLeft_ = scaleLeft_, userTop_ = scaleTop_;
    userWidth_ = scaleWidth_, userHeight_ = scaleHeight_;
    SetScale(0, 0, pixelWidth_ * kTwipsPerPixel, pixelHeight_ * kTwipsPerPixel);
  } else {
    SetScale(userLeft_, userTop_, userWidth_, userHeight_);
  }
  scaleMode_ = mode;
}

ViewTransform Surface::Transform() const {
  return ViewTransform{scaleLeft_, scaleTop_, scaleWidth_, scaleHeight_, pixelWidth_, pixelHeight_};
}

void Surface::SetPixelSize(int width, int height) {
  pixelWidth_ = width > 0 ? width : 1;
  pixelHeight_ = height > 0 ? height : 1;
  OnPixelSizeChanged();
}

}  // namespace lakedrift
