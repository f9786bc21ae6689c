#pragma once
#include <array>
#include <functional>
#include <string>

#include "model/ModelState.h"
#include "view/CachedMap.h"
#include "view/Surface.h"

namespace lakedrift {

// The radius of the release marker, as a fraction of the view's width.
inline constexpr float kReleaseMarkerFraction = 0.008f;

// The layers of every picture, bottom to top.
enum class Layer { Map, Vectors, Marker, Tracks, Label };
inline constexpr std::array kLayerOrder{Layer::Map, Layer::Vectors, Layer::Marker, Layer::Tracks,
                                        Layer::Label};

// What one picture is made of; a layer left empty is not drawn.
struct Picture {
  Surface& surface;
  ModelState& state;
  CachedMap* map = nullptr;  // the map of the view in force; DrawMap when none
  bool vectors = false;
  bool marker = false;
  std::function<void()> tracks = {};      // draws the tracks
  const std::string* labelBox = nullptr;  // the text whose extent the label's box covers
  const std::string* label = nullptr;
};

// Draws the layers of a picture in kLayerOrder.
void DrawPicture(const Picture& picture);

// The release marker: a solid green disc at the release point, its radius
// kReleaseMarkerFraction of the view's width.
void DrawReleaseMarker(Surface& surface, const ModelState& state);

}  // namespace lakedrift
