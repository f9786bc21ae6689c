// Feeds arbitrary text to the readers of typed numbers: file and option
// items, whole-text numbers, leading numbers, and the parameter dialog's
// rules, which must always store a value inside the row's valid range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/NumberFormat.h"
#include "model/ParameterRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto whole = lakedrift::ParseWholeNumber(text);
  const double leading = lakedrift::ParseLeadingNumber(text);
  if (whole && !std::isnan(*whole) && *whole != leading) __builtin_trap();
  // An item the strict reader takes is a whole-text number of the same value.
  const auto item = lakedrift::ParseNumberItem(text);
  if (item && (!std::isfinite(*item) || !whole || *whole != *item)) __builtin_trap();
  lakedrift::FormatGeneral(leading);
  lakedrift::FormatPrinted(leading, lakedrift::kSingleDigits);
  lakedrift::ModelState state;
  for (lakedrift::ParameterRow row : lakedrift::kParameterRows) lakedrift::ApplyRowText(state, row, text);
  const bool inRange = state.VectorScale > 0 && state.VectorScale <= 1 && state.FrameCount >= 1 &&
                       state.FrameCount <= 83 && state.FramePeriod >= 0.19f && state.FramePeriod <= 10.01f &&
                       state.ParticleCount >= 1 && state.ParticleCount <= 500 && state.DiffusionCoef >= 0 &&
                       state.DiffusionCoef <= 10;
  if (!inRange) __builtin_trap();
  return 0;
}
