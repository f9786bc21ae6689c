#include "WindScenario.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lakedrift::datagen {

namespace {

constexpr double kHoursPerDay = 24.0;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kAirDensity = 1.2;  // kg/m³
constexpr double kDragCoefficient = 1.3e-3;

// Dry season: the south-easterly trades funnelled along the rift. The lake's
// axis runs toward about 340° (north-north-west), so the wind blows toward
// that bearing, strongest in the afternoon, with a slow swell over days.
constexpr double kTradeBearingDeg = 340.0;
constexpr double kTradeMeanSpeed = 6.0;
constexpr double kTradeDiurnalSpeed = 0.8;
constexpr double kTradePeakHour = 15.0;
constexpr double kTradeSynopticSpeed = 0.4;
constexpr double kTradeSynopticPeriodH = 89.0;
constexpr double kTradeDiurnalTurnDeg = 8.0;
// The lake–land breeze is strongest in the dry season, when the lake is
// warm against a dry, cloudless land by day and cold against it by night.
constexpr double kTradeBreeze = 1.8;

// The wind over the water outruns the wind over the land: about twice as
// strong, strongest in mid-lake. The scenario's wind is the mid-lake wind;
// at the shore it is this share of it, recovering over this distance.
constexpr double kShoreWindShare = 0.75;
constexpr double kSpeedUpKm = 5.0;

// Wet season: light north-easterlies (blowing toward about 225°) that
// wander with passing weather, under a land–lake breeze: onshore in the
// early afternoon, offshore before dawn.
constexpr double kWetBearingDeg = 225.0;
constexpr double kWetMeanSpeed = 1.6;
constexpr double kWetSpeedSwing = 0.7;
constexpr double kWetSpeedPeriodH = 31.0;
constexpr double kWetTurnDeg = 35.0;
constexpr double kWetTurnPeriodH = 53.0;
constexpr double kWetTurnPeriod2H = 17.0;
constexpr double kWetTurn2Deg = 15.0;
constexpr double kBreezeSpeed = 1.0;  // damped by cloud and rain
constexpr double kLakeBreezePeakHour = 14.0;

// The unit vector toward a compass bearing (clockwise from north).
Vec2 TowardBearing(double degrees) {
  const double a = degrees * kRadiansPerDegree;
  return {std::sin(a), std::cos(a)};
}

double Cycle(double hours, double period, double peakHour) {
  return std::cos(2.0 * std::numbers::pi * (hours - peakHour) / period);
}

}  // namespace

WindState WindScenario::At(int frame) const {
  const double hours = kFirstFrameHour + kHoursPerFrame * frame;  // since the first midnight
  WindState state;
  if (season_ == Season::Dry) {
    const double speed = kTradeMeanSpeed + kTradeDiurnalSpeed * Cycle(hours, kHoursPerDay, kTradePeakHour) +
                         kTradeSynopticSpeed * Cycle(hours, kTradeSynopticPeriodH, 0.0);
    const double bearing =
        kTradeBearingDeg + kTradeDiurnalTurnDeg * Cycle(hours, kHoursPerDay, kTradePeakHour - 6.0);
    state.midLake = speed * TowardBearing(bearing);
    state.breeze = kTradeBreeze * Cycle(hours, kHoursPerDay, kLakeBreezePeakHour);
  } else {
    const double speed = kWetMeanSpeed + kWetSpeedSwing * Cycle(hours, kWetSpeedPeriodH, 0.0);
    const double bearing = kWetBearingDeg + kWetTurnDeg * Cycle(hours, kWetTurnPeriodH, 0.0) +
                           kWetTurn2Deg * Cycle(hours, kWetTurnPeriod2H, 0.0);
    state.midLake = speed * TowardBearing(bearing);
    state.breeze = kBreezeSpeed * Cycle(hours, kHoursPerDay, kLakeBreezePeakHour);
  }
  return state;
}

double WindScenario::OverWaterShare(double distanceKm) {
  return kShoreWindShare +
         (1.0 - kShoreWindShare) * (1.0 - std::exp(-std::max(distanceKm, 0.0) / kSpeedUpKm));
}

Vec2 WindScenario::Stress(Vec2 wind) { return (kAirDensity * kDragCoefficient * Length(wind)) * wind; }

double WindScenario::Stress(double breeze) {
  return kAirDensity * kDragCoefficient * std::abs(breeze) * breeze;
}

}  // namespace lakedrift::datagen
