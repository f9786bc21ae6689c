#pragma once
#include <array>
#include <string>
#include <string_view>

#include "model/ModelState.h"

namespace lakedrift {

// The rows of the parameter dialog, top to bottom.
enum class ParameterRow { VectorScale, FrameCount, AnimationSpeed, ParticleCount, DiffusionCoef };
inline constexpr int kParameterRowCount = 5;
inline constexpr std::array<ParameterRow, kParameterRowCount> kParameterRows = {
    ParameterRow::VectorScale, ParameterRow::FrameCount, ParameterRow::AnimationSpeed,
    ParameterRow::ParticleCount, ParameterRow::DiffusionCoef};

// How a row looks when the dialog is created.
struct ParameterRowDesign {
  int controlNumber;    // the digit of Text/HScroll/Label: 1, 2, 3, 4, 6
  const char* caption;  // the label above the row
  int minimum, maximum, smallStep, largeStep, initialPosition;  // the scroll bar
};

// The design of a row.
const ParameterRowDesign& RowDesign(ParameterRow row);

// The text a row's box shows before any change: the default of its
// variable (the speed, not the period, for the animation row).
std::string InitialText(ParameterRow row);

// Reads a typed text the way its row reads it and stores the value in the
// row's variable; a value outside the row's range, or a text that is not a
// number where a whole number is required, stores the row's replacement.
void ApplyRowText(ModelState& state, ParameterRow row, std::string_view text);

// Stores the value of a scroll position in the row's variable and returns
// the text the row's box shows for it (the speed, not the period, for the
// animation row).
std::string ApplyRowPosition(ModelState& state, ParameterRow row, int position);

}  // namespace lakedrift
