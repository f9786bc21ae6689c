#include "ui/ParameterRules.h"

#include <cstdint>
#include <optional>

#include "model/NumberFormat.h"

namespace lakedrift {

namespace {

constexpr std::array<ParameterRowDesign, kParameterRowCount> kDesigns = {{
    {1, "Vector's scaling factor:", "0.25", 0, 100, 1, 10, 0},
    {2, "Number of frames:", "83", 1, 83, 1, 10, 1},
    {3, "Animation Speed (Frame/Sec):", "1", 0, 100, 1, 10, 0},
    {4, "Number of particles:", "50", 1, 500, 1, 10, 1},
    {6, "Horizontal diffusion coefficient (sq.m/s):", "0.1", 0, 1000, 1, 100, 0},
}};

// Valid ranges and the values stored in their place.
constexpr double kVectorScaleMax = 1.0;
constexpr double kVectorScaleDefault = 0.25;
constexpr double kFrameCountMin = 1, kFrameCountMax = 83;
constexpr int16_t kFrameCountDefault = 83;
constexpr float kSpeedMin = 0.1f, kSpeedMax = 5.0f;
constexpr float kPeriodDefault = 1.0f;
constexpr double kParticleCountMin = 1, kParticleCountMax = 500;
constexpr double kParticleCountDefault = 50;
constexpr double kDiffusionMin = kMinDiffusionCoef, kDiffusionMax = kMaxDiffusionCoef;
constexpr double kDiffusionDefault = 0.1;

// Scroll positions to values.
constexpr double kHundredth = 0.01;
constexpr double kSpeedAtZero = 0.1, kSpeedAtFull = 5.0;
constexpr int kSpeedDigits = kSingleDigits;
constexpr int kWholeDigits = kDoubleDigits;

void ApplyVectorScale(ModelState& state, std::string_view text) {
  const std::optional<double> read = ParseWholeNumber(text);
  const double value = read ? static_cast<double>(static_cast<float>(*read)) : 0.0;
  state.VectorScale = (read && value > 0 && value <= kVectorScaleMax) ? value : kVectorScaleDefault;
}

void ApplyFrameCount(ModelState& state, std::string_view text) {
  const double value = RoundHalfEven(ParseLeadingNumber(text));
  state.FrameCount = (value >= kFrameCountMin && value <= kFrameCountMax)
                         ? static_cast<int16_t>(value)
                         : kFrameCountDefault;
}

void ApplyAnimationSpeed(ModelState& state, std::string_view text) {
  const std::optional<double> read = ParseWholeNumber(text);
  const float speed = read ? static_cast<float>(*read) : 0.0f;
  state.FramePeriod = (read && speed >= kSpeedMin && speed <= kSpeedMax) ? 1.0f / speed
                                                                        : kPeriodDefault;
}

void ApplyParticleCount(ModelState& state, std::string_view text) {
  const double value = ParseLeadingNumber(text);
  state.ParticleCount = (value >= kParticleCountMin && value <= kParticleCountMax)
                            ? value
                            : kParticleCountDefault;
}

void ApplyDiffusionCoef(ModelState& state, std::string_view text) {
  const double value = ParseLeadingNumber(text);
  state.DiffusionCoef = (value >= kDiffusionMin && value <= kDiffusionMax) ? value
                                                                           : kDiffusionDefault;
}

}  // namespace

const ParameterRowDesign& RowDesign(ParameterRow row) {
  return kDesigns[static_cast<std::size_t>(row)];
}

void ApplyRowText(ModelState& state, ParameterRow row, std::string_view text) {
  switch (row) {
    case ParameterRow::VectorScale:
      return ApplyVectorScale(state, text);
    case ParameterRow::FrameCount:
      return ApplyFrameCount(state, text);
    case ParameterRow::AnimationSpeed:
      return ApplyAnimationSpeed(state, text);
    case ParameterRow::ParticleCount:
      return ApplyParticleCount(state, text);
    case ParameterRow::DiffusionCoef:
      return ApplyDiffusionCoef(state, text);
  }
}

std::string ApplyRowPosition(ModelState& state, ParameterRow row, int position) {
  switch (row) {
    case ParameterRow::VectorScale:
      state.VectorScale = position * kHundredth;
      return FormatGeneral(state.VectorScale, kWholeDigits);
    case ParameterRow::FrameCount:
      state.FrameCount = static_cast<int16_t>(position);
      return std::to_string(position);
    case ParameterRow::AnimationSpeed: {
      const auto speed =
          static_cast<float>(kSpeedAtZero + (kSpeedAtFull - kSpeedAtZero) * kHundredth * position);
      state.FramePeriod = 1.0f / speed;
      return FormatGeneral(speed, kSpeedDigits);
    }
    case ParameterRow::ParticleCount:
      state.ParticleCount = position;
      return std::to_string(position);
    case ParameterRow::DiffusionCoef:
      state.DiffusionCoef = position * kHundredth;
      return FormatGeneral(state.DiffusionCoef, kWholeDigits);
  }
  return {};
}

}  // namespace lakedrift
