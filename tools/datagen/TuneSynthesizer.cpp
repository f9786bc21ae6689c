#include "TuneSynthesizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "BinaryWriter.h"

namespace lakedrift::datagen {

namespace {

constexpr double kBeatSeconds = 0.55;  // about 109 beats a minute
constexpr double kTuningHz = 440.0;    // the A above middle C
constexpr double kSemitonesPerOctave = 12.0;
constexpr double kPluckDecayPerS = 3.2;
constexpr double kBassDecayPerS = 1.4;
constexpr double kMelodyLevel = 0.32;
constexpr double kBassLevel = 0.22;
constexpr double kAttackS = 0.004;  // a soft onset, no click
constexpr double kRingOutS = 1.5;   // the last notes die away
constexpr int kRepeats = 2;
constexpr int kBitsPerSample = 16;
constexpr int kChannels = 1;
constexpr double kFullScale = 32767.0;
constexpr int kFmtChunkSize = 16;
constexpr int kPcmFormat = 1;
constexpr int kRiffHeaderBytes = 36;

struct Note {
  int semitone;  // from A4; unused for a rest
  double beats;
  bool rest;
};

// A major pentatonic on C: C D E G A, gentle steps and a return home.
const std::vector<Note> kMelody = {
    {-9, 1, false}, {-7, 1, false}, {-5, 1, false}, {-2, 1, false},  //
    {0, 2, false},  {-2, 1, false}, {-5, 1, false},                  //
    {-7, 1, false}, {-5, 1, false}, {-2, 1, false}, {0, 1, false},   //
    {3, 3, false},  {0, 1, true},                                    //
    {3, 1, false},  {0, 1, false},  {-2, 1, false}, {0, 1, false},   //
    {-5, 2, false}, {-7, 1, false}, {-5, 1, false},                  //
    {-2, 1, false}, {-5, 1, false}, {-7, 1, false}, {-5, 1, false},  //
    {-9, 3, false}, {0, 1, true},
};
// One bass note a bar (four beats): C, A, F, G, C, A, G, C.
const std::vector<int> kBassLine = {-33, -36, -40, -38, -33, -36, -38, -33};
constexpr double kBeatsPerBar = 4.0;

double Frequency(int semitone) { return kTuningHz * std::pow(2.0, semitone / kSemitonesPerOctave); }

// Adds one decaying note with a few inharmonic partials, as a struck tine has.
void AddNote(std::vector<double>& mix, double startS, double frequency, double level, double decay) {
  struct Partial {
    double ratio, gain, decayFactor;
  };
  static constexpr Partial kPartials[] = {{1.0, 1.0, 1.0}, {2.0, 0.25, 1.8}, {5.4, 0.08, 4.0}};
  const auto first = static_cast<std::size_t>(startS * TuneSynthesizer::kSampleRate);
  const std::size_t length = std::min(mix.size() - std::min(first, mix.size()),
                                      static_cast<std::size_t>(6.0 / decay * TuneSynthesizer::kSampleRate));
  for (std::size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / TuneSynthesizer::kSampleRate;
    const double onset = std::min(1.0, t / kAttackS);
    double value = 0.0;
    for (const Partial& p : kPartials) {
      value += p.gain * std::exp(-decay * p.decayFactor * t) *
               std::sin(2.0 * std::numbers::pi * frequency * p.ratio * t);
    }
    mix[first + i] += level * onset * value;
  }
}

}  // namespace

void TuneSynthesizer::Write(const std::filesystem::path& path) {
  double phraseBeats = 0.0;
  for (const Note& n : kMelody) phraseBeats += n.beats;
  const double totalS = kRepeats * phraseBeats * kBeatSeconds + kRingOutS;
  std::vector<double> mix(static_cast<std::size_t>(totalS * kSampleRate), 0.0);

  for (int repeat = 0; repeat < kRepeats; ++repeat) {
    const double phraseStart = repeat * phraseBeats * kBeatSeconds;
    double beat = 0.0;
    for (const Note& n : kMelody) {
      if (!n.rest) {
        AddNote(mix, phraseStart + beat * kBeatSeconds, Frequency(n.semitone), kMelodyLevel, kPluckDecayPerS);
      }
      beat += n.beats;
    }
    for (std::size_t bar = 0; bar < kBassLine.size(); ++bar) {
      AddNote(mix, phraseStart + static_cast<double>(bar) * kBeatsPerBar * kBeatSeconds,
              Frequency(kBassLine[bar]), kBassLevel, kBassDecayPerS);
    }
  }

  const double peak = std::max(1e-9, *std::max_element(mix.begin(), mix.end(), [](double a, double b) {
                                 return std::abs(a) < std::abs(b);
                               }));
  const double gain = std::min(1.0, 0.9 / std::abs(peak));

  const auto dataBytes = static_cast<std::uint32_t>(mix.size() * sizeof(std::int16_t));
  BinaryWriter out;
  out.Text("RIFF");
  out.UInt32(kRiffHeaderBytes + dataBytes);
  out.Text("WAVE");
  out.Text("fmt ");
  out.UInt32(kFmtChunkSize);
  out.UInt16(kPcmFormat);
  out.UInt16(kChannels);
  out.UInt32(kSampleRate);
  out.UInt32(kSampleRate * kChannels * kBitsPerSample / 8);
  out.UInt16(kChannels * kBitsPerSample / 8);
  out.UInt16(kBitsPerSample);
  out.Text("data");
  out.UInt32(dataBytes);
  for (const double v : mix) {
    out.Int16(static_cast<std::int16_t>(std::lround(std::clamp(v * gain, -1.0, 1.0) * kFullScale)));
  }
  out.Save(path);
}

}  // namespace lakedrift::datagen
