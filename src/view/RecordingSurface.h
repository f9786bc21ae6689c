#pragma once
#include <string>
#include <vector>

#include "view/Surface.h"

namespace lakedrift {

// A surface that draws nothing and remembers every operation in order with
// its arguments and the drawing state in force, so that a test can ask
// what a picture is made of. Text is measured by a fixed metric: every
// character kCharWidthPoints wide and a line kLineHeightPoints tall per point
// of font size, at 96 pixels per inch.
class RecordingSurface : public Surface {
 public:
  enum class Kind { Clear, Line, FilledBox, Circle, Print };

  // The drawing state an operation was made with.
  struct State {
    Rgb foreColor, backColor, fillColor;
    FillStyle fillStyle = FillStyle::Transparent;
    LineStyle lineStyle = LineStyle::Solid;
    int lineWidth = 0;
    float fontSize = 0;
    float scaleLeft = 0, scaleTop = 0, scaleWidth = 0, scaleHeight = 0;
  };

  // One operation: the points of a line or box (x1, y1)-(x2, y2), a circle's
  // centre in (x1, y1) with its radius, a print's position in (x1, y1).
  struct Operation {
    Kind kind = Kind::Clear;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float radius = 0;
    Rgb colour;  // a box's fill or a circle's border
    std::string text;
    State state;
  };

  static constexpr float kCharWidthPoints = 0.5f;
  static constexpr float kLineHeightPoints = 1.25f;

  RecordingSurface(int width, int height) { SetPixelSize(width, height); }

  void Clear() override;
  void Line(float x1, float y1, float x2, float y2) override;
  void FilledBox(float x1, float y1, float x2, float y2, Rgb colour) override;
  void Circle(float x, float y, float radius, Rgb border) override;
  void Print(const std::string& text) override;
  float TextWidth(const std::string& text) const override;
  float TextHeight(const std::string& text) const override;

  // Everything recorded since construction or the last Forget.
  const std::vector<Operation>& Operations() const { return operations_; }
  // The recorded operations of one kind, in order.
  std::vector<Operation> OperationsOf(Kind kind) const;
  // The texts printed, in order.
  std::vector<std::string> PrintedTexts() const;
  void Forget() { operations_.clear(); }

 private:
  State CurrentState() const;
  Operation& Record(Kind kind);

  std::vector<Operation> operations_;
};

}  // namespace lakedrift
