#include "model/ParameterRules.h"

#include <cstdint>
#include <optional>

#include "model/NumberFormat.h"
#include "model/RunParameters.h"

namespace lakedrift {

namespace {

constexpr std::array<ParameterRowDesign, kParameterRowCount> kDesigns = {{
    {1, "Vector's scaling factor:", 0, 100, 1, 10, 0},
    {2, "Number of frames:", 1, 83, 1, 10, 1},
    {3, "Animation Speed (Frame/Sec):", 0, 100, 1, 10, 0},
    {4, "Number of particles:", 1, 500, 1, 10, 1},
    {6, "Horizontal diffusion coefficient (sq.m/s):", 0, 1000, 1, 100, 0},
}};

// Valid ranges; a value outside its range is replaced by the default.
constexpr double kVectorScaleMax = 1.0;
constexpr double kFrameCountMin = 1, kFrameCountMax = 83;
constexpr float kSpeedMin = 0.1f, kSpeedMax = 5.0f;
constexpr double kParticleCountMin = 1, kParticleCountMax = 500;
constexpr double kDiffusionMin = kMinDiffusionCoef, kDiffusionMax = kMaxDiffusionCoef;

// Scroll positions to values.
constexpr double kHundredth = 0.01;
constexpr double kSpeedAtZero = 0.1, kSpeedAtFull = 5.0;
constexpr int kSpeedDigits = kSingleDigits;
constexpr int kWholeDigits = kDoubleDigits;

void ApplyVectorScale(ModelState& state, std::string_view text) {
  const std::optional<double> read = ParseWholeNumber(text);
  const double value = read ? static_cast<double>(static_cast<float>(*read)) : 0.0;
  state.VectorScale =
      (read && value > 0 && value <= kVectorScaleMax) ? value : DefaultRunParameters().VectorScale;
}

void ApplyFrameCount(ModelState& state, std::string_view text) {
  const double value = RoundHalfEven(ParseLeadingNumber(text));
  state.FrameCount = (value >= kFrameCountMin && value <= kFrameCountMax) ? static_cast<int16_t>(value)
                                                                          : DefaultRunParameters().FrameCount;
}

void ApplyAnimationSpeed(ModelState& state, std::string_view text) {
  const std::optional<double> read = ParseWholeNumber(text);
  const float speed = read ? static_cast<float>(*read) : 0.0f;
  state.FramePeriod =
      (read && speed >= kSpeedMin && speed <= kSpeedMax) ? 1.0f / speed : DefaultRunParameters().FramePeriod;
}

void ApplyParticleCount(ModelState& state, std::string_view text) {
  const double value = ParseLeadingNumber(text);
  state.ParticleCount = (value >= kParticleCountMin && value <= kParticleCountMax)
                            ? value
                            : DefaultRunParameters().ParticleCount;
}

void ApplyDiffusionCoef(ModelState& state, std::string_view text) {
  const double value = ParseLeadingNumber(text);
  state.DiffusionCoef =
      (value >= kDiffusionMin && value <= kDiffusionMax) ? value : DefaultRunParameters().DiffusionCoef;
}

}  // namespace

const ParameterRowDesign& RowDesign(ParameterRow row) { return kDesigns[static_cast<std::size_t>(row)]; }

std::string InitialText(ParameterRow row) {
  const RunParameters defaults = DefaultRunParameters();
  switch (row) {
    case ParameterRow::VectorScale:
      return FormatGeneral(defaults.VectorScale, kWholeDigits);
    case ParameterRow::FrameCount:
      return FormatGeneral(defaults.FrameCount, kWholeDigits);
    case ParameterRow::AnimationSpeed:
      return FormatGeneral(1.0f / defaults.FramePeriod, kSpeedDigits);
    case ParameterRow::ParticleCount:
      return FormatGeneral(defaults.ParticleCount, kWholeDigits);
    case ParameterRow::DiffusionCoef:
      return FormatGeneral(defaults.DiffusionCoef, kWholeDigits);
  }
  return {};
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
