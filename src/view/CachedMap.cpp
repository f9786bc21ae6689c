#include "view/CachedMap.h"

#include "view/LakeMap.h"

namespace lakedrift {

void CachedMap::Draw(Surface& surface, const ModelState& state) {
  const Key key{surface.Transform(), surface.ForeColor(), surface.LineWidth()};
  if (!layer_ || !(key == key_)) {
    layer_ = surface.CreateOverlay(Surface::OverlayKind::Opaque);
    if (!layer_) {
      DrawMap(surface, state);
      return;
    }
    layer_->SetForeColor(surface.ForeColor());
    layer_->SetBackColor(surface.BackColor());
    layer_->SetFontSize(surface.FontSize());
    layer_->SetLineWidth(surface.LineWidth());
    DrawMap(*layer_, state);
    key_ = key;
    end_ = {layer_->ForeColor(),    layer_->BackColor(), layer_->FontSize(),
            layer_->GetLineStyle(), layer_->CurrentX(),  layer_->CurrentY()};
  }
  surface.DrawOverlay(*layer_);
  surface.SetForeColor(end_.foreColor);
  surface.SetBackColor(end_.backColor);
  surface.SetFontSize(end_.fontSize);
  surface.SetLineStyle(end_.lineStyle);
  surface.SetCurrent(end_.currentX, end_.currentY);
}

}  // namespace lakedrift
