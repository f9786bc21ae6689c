#pragma once
#include <filesystem>
#include <memory>

#include "model/Status.h"

class QImage;

namespace lakedrift {

// An animated, looping GIF in the 16-colour palette, written one frame at a
// time as the frames are drawn: only the frame before is held, and each
// frame stores only the rectangle in which it differs from that one. The
// file appears whole at Finish or not at all.
class GifFilm {
 public:
  // Fails when the extension is not .gif.
  static Status CheckName(const std::filesystem::path& path, const std::string& option);
  GifFilm(std::filesystem::path path, int width, int height, int framesPerSecond);
  ~GifFilm();
  // Starts the file under a temporary name.
  Status Open();
  // Encodes `frame`; a pixel outside the palette takes the nearest palette
  // colour.
  Status AddFrame(const QImage& frame);
  // Completes the file and gives it its name.
  Status Finish();
  int Frames() const { return frames_; }

 private:
  struct Impl;
  Status Encode(const QImage& frame, int number);

  std::unique_ptr<Impl> impl_;
  int frames_ = 0;
};

}  // namespace lakedrift
