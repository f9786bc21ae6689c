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
    SetScale(0, 0, static_cast<float>(pixelWidth_) * kTwipsPerPixel,
             static_cast<float>(pixelHeight_) * kTwipsPerPixel);
  } else {
    SetScale(userLeft_, userTop_, userWidth_, userHeight_);
  }
  scaleMode_ = mode;
}

ViewTransform Surface::Transform() const {
  return ViewTransform{scaleLeft_, scaleTop_, scaleWidth_, scaleHeight_, pixelWidth_, pixelHeight_};
}

bool Surface::IsVisible(double x, double y) const {
  const float right = scaleLeft_ + scaleWidth_;
  const float bottom = scaleTop_ + scaleHeight_;
  return scaleLeft_ <= x && x <= right && bottom <= y && y <= scaleTop_;
}

float Surface::BelowBy(float y, float height) const { return scaleHeight_ < 0 ? y - height : y + height; }

void Surface::MoveToNextLine(float lineHeight) { SetCurrent(scaleLeft_, BelowBy(currentY_, lineHeight)); }

void Surface::SetPixelSize(int width, int height) {
  pixelWidth_ = width > 0 ? width : 1;
  pixelHeight_ = height > 0 ? height : 1;
  OnPixelSizeChanged();
}

}  // namespace lakedrift
