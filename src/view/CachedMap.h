#pragma once
#include <memory>

#include "model/ModelState.h"
#include "view/Surface.h"
#include "view/ViewTransform.h"

namespace lakedrift {

// The lake map drawn once per view and laid over the picture at every
// redraw after that: the same pixels and the same drawing state as DrawMap,
// for callers that redraw the map many times in one view (a run, an
// animation). On a surface without overlays it simply calls DrawMap.
class CachedMap {
 public:
  // Does what DrawMap(surface, state) does. The state's geometry and title
  // must not change between calls.
  void Draw(Surface& surface, const ModelState& state);

 private:
  // What the map's picture depends on besides the geometry: the view, the
  // fore colour in force (it colours the grid when the title is not drawn)
  // and the line width.
  struct Key {
    ViewTransform view;
    Rgb foreColor;
    int lineWidth = 0;
    bool operator==(const Key&) const = default;
  };
  // The drawing state DrawMap leaves behind.
  struct EndState {
    Rgb foreColor, backColor;
    float fontSize = 0;
    LineStyle lineStyle = LineStyle::Solid;
    float currentX = 0, currentY = 0;
  };

  std::unique_ptr<Surface> layer_;
  Key key_;
  EndState end_;
};

}  // namespace lakedrift
