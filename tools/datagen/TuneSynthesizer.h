#pragma once
#include <filesystem>

namespace lakedrift::datagen {

// The start-up window's music: a short, gentle tune in a pentatonic scale,
// played by a plucked, thumb-piano-like voice over a soft bass, written as
// a 16-bit mono PCM wave file.
class TuneSynthesizer {
 public:
  // Synthesises the tune and writes the wave file.
  static void Write(const std::filesystem::path& path);
  // Samples per second of the file.
  static constexpr int kSampleRate = 22050;
};

}  // namespace lakedrift::datagen
