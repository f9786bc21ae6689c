#include "view/TimeLabel.h"

#include <cmath>

namespace lakedrift {
namespace {
constexpr float kLabelDepthFraction = 0.9f;  // of the view's height, from its top
}  // namespace

void DrawTimeLabel(Surface& surface, const std::string& previousText, const std::string& text) {
  const float x = surface.ScaleLeft();
  const float y = surface.ScaleTop() - std::fabs(surface.ScaleHeight()) * kLabelDepthFraction;
  surface.SetCurrent(x, y);
  surface.FilledBox(x, y, x + surface.TextWidth(previousText),
                    surface.BelowBy(y, surface.TextHeight(previousText)), PaletteColour(kLightGrey));
  surface.SetCurrent(x, y);
  surface.Print(text);
}

}  // namespace lakedrift
