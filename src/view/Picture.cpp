#include "view/Picture.h"

#include "view/LakeMap.h"
#include "view/Palette.h"
#include "view/TimeLabel.h"
#include "view/VelocityVectors.h"

namespace lakedrift {

void DrawPicture(const Picture& p) {
  for (const Layer layer : kLayerOrder) {
    switch (layer) {
      case Layer::Map:
        if (p.map)
          p.map->Draw(p.surface, p.state);
        else
          DrawMap(p.surface, p.state);
        break;
      case Layer::Vectors:
        if (p.vectors) DrawVectors(p.surface, p.state);
        break;
      case Layer::Marker:
        if (p.marker) DrawReleaseMarker(p.surface, p.state);
        break;
      case Layer::Tracks:
        if (p.tracks) p.tracks();
        break;
      case Layer::Label:
        if (p.label) DrawTimeLabel(p.surface, p.labelBox ? *p.labelBox : *p.label, *p.label);
        break;
    }
  }
}

void DrawReleaseMarker(Surface& surface, const ModelState& state) {
  surface.SetFillStyle(FillStyle::Solid);
  surface.SetFillColor(PaletteColour(kGreen));
  surface.Circle(static_cast<float>(state.ReleaseX), state.ReleaseY,
                 kReleaseMarkerFraction * surface.ScaleWidth(), PaletteColour(kGreen));
}

}  // namespace lakedrift
