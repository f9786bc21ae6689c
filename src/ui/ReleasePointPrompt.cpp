#include "ui/ReleasePointPrompt.h"

#include <string>

#include "model/NumberFormat.h"
#include "model/PointInLake.h"
#include "ui/Dialogs.h"

namespace lakedrift {

namespace {

const char* const kTitle = "Release Point";
const char* const kPromptX = "Enter X-Coordinate of Release Point in the lake in km";
const char* const kPromptY = "Enter Y-Coordinate of Release Point in the lake in km";
const char* const kRefusal = "Release Point is not in the lake, Repeat enter, please... ";
const char* const kRefusalTitle = "Release point";
const char* const kNotANumber = "Please enter a number, for example 25.5";

// One coordinate: asked until the text is a number; nothing on Cancel.
std::optional<double> AskCoordinate(Dialogs& dialogs, QWidget* parent, const char* prompt) {
  for (;;) {
    const std::optional<std::string> text = dialogs.InputBox(parent, prompt, kTitle);
    if (!text) return std::nullopt;
    if (const std::optional<double> value = ParseWholeNumber(*text)) return value;
    dialogs.MessageBox(parent, MessageIcon::Exclamation, kTitle, kNotANumber);
  }
}

}  // namespace

std::optional<ReleasePoint> AskReleasePoint(Dialogs& dialogs, QWidget* parent, const ModelState& state) {
  for (;;) {
    const std::optional<double> x = AskCoordinate(dialogs, parent, kPromptX);
    if (!x) return std::nullopt;
    const std::optional<double> y = AskCoordinate(dialogs, parent, kPromptY);
    if (!y) return std::nullopt;
    const ReleasePoint point{*x, static_cast<float>(*y)};
    if (AcceptReleasePoint(dialogs, parent, state, point)) return point;
  }
}

bool AcceptReleasePoint(Dialogs& dialogs, QWidget* parent, const ModelState& state,
                        const ReleasePoint& point) {
  if (PointInLake(state, point.x, point.y) != 0) return true;
  dialogs.MessageBox(parent, MessageIcon::Exclamation, kRefusalTitle, kRefusal);
  return false;
}

}  // namespace lakedrift
