#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "model/Status.h"
#include "view/Surface.h"

class QImage;

namespace lakedrift {

// The picture of a batch run: a QImage-backed surface of size × size pixels
// that is saved at the end as BMP or PNG by the file's extension.
class RunImage {
 public:
  // Fails when the extension is neither .bmp nor .png.
  static Status CheckName(const std::filesystem::path& path, const std::string& option);
  explicit RunImage(int size);
  ~RunImage();
  Surface& GetSurface();
  // The picture as drawn so far.
  const QImage& Image() const;
  // Writes the picture whole or not at all.
  Status Save(const std::filesystem::path& path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lakedrift
