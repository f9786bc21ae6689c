#include "view/RecordingSurface.h"

#include <cmath>

namespace lakedrift {
namespace {
constexpr float kPixelsPerPoint = 96.0f / 72.0f;
}  // namespace

RecordingSurface::State RecordingSurface::CurrentState() const {
  State s;
  s.foreColor = ForeColor();
  s.backColor = BackColor();
  s.fillColor = FillColor();
  s.fillStyle = GetFillStyle();
  s.lineStyle = GetLineStyle();
  s.lineWidth = LineWidth();
  s.fontSize = FontSize();
  s.scaleLeft = ScaleLeft();
  s.scaleTop = ScaleTop();
  s.scaleWidth = ScaleWidth();
  s.scaleHeight = ScaleHeight();
  return s;
}

RecordingSurface::Operation& RecordingSurface::Record(Kind kind) {
  Operation& op = operations_.emplace_back();
  op.kind = kind;
  op.state = CurrentState();
  return op;
}

void RecordingSurface::Clear() {
  Record(Kind::Clear);
  MoveToOrigin();
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2) {
  Operation& op = Record(Kind::Line);
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  op.colour = ForeColor();
  SetCurrent(x2, y2);
}

void RecordingSurface::FilledBox(float x1, float y1, float x2, float y2, Rgb colour) {
  Operation& op = Record(Kind::FilledBox);
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  op.colour = colour;
  SetCurrent(x2, y2);
}

void RecordingSurface::Circle(float x, float y, float radius, Rgb border) {
  Operation& op = Record(Kind::Circle);
  op.x1 = x, op.y1 = y, op.radius = radius;
  op.colour = border;
  SetCurrent(x, y);
}

void RecordingSurface::Print(const std::string& text) {
  Operation& op = Record(Kind::Print);
  op.x1 = CurrentX(), op.y1 = CurrentY();
  op.colour = ForeColor();
  op.text = text;
  MoveToNextLine(TextHeight(text));
}

float RecordingSurface::TextWidth(const std::string& text) const {
  const float pixels = static_cast<float>(text.size()) * kCharWidthPoints * FontSize() * kPixelsPerPoint;
  return pixels * std::fabs(ScaleWidth()) / static_cast<float>(PixelWidth());
}

float RecordingSurface::TextHeight(const std::string&) const {
  const float pixels = kLineHeightPoints * FontSize() * kPixelsPerPoint;
  return pixels * std::fabs(ScaleHeight()) / static_cast<float>(PixelHeight());
}

std::vector<RecordingSurface::Operation> RecordingSurface::OperationsOf(Kind kind) const {
  std::vector<Operation> result;
  for (const Operation& op : operations_)
    if (op.kind == kind) result.push_back(op);
  return result;
}

std::vector<std::string> RecordingSurface::PrintedTexts() const {
  std::vector<std::string> result;
  for (const Operation& op : operations_)
    if (op.kind == Kind::Print) result.push_back(op.text);
  return result;
}

}  // namespace lakedrift
