#pragma once
#include <optional>

#include "model/ModelState.h"

class QWidget;

namespace lakedrift {

class Dialogs;

// A release point as entered, km.
struct ReleasePoint {
  double x = 0;
  float y = 0;
};

// Asks for the two coordinates of a release point until they lie on the
// water: a point on land gets the refusal box and both questions again, a
// text that is not a number gets a short message and its question again.
// Nothing when the user cancels either question.
std::optional<ReleasePoint> AskReleasePoint(Dialogs& dialogs, QWidget* parent, const ModelState& state);

// True when the point lies on the water; otherwise shows the refusal box
// and answers false.
bool AcceptReleasePoint(Dialogs& dialogs, QWidget* parent, const ModelState& state,
                        const ReleasePoint& point);

}  // namespace lakedrift
