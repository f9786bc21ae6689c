#include "ui/UiSupport.h"

#include <QAction>
#include <QWidget>
#include <cmath>

#include "support/TestPaths.h"

namespace lakedrift::test {

LakeFolder::LakeFolder(const std::string& name, const std::vector<std::string>& flowNames, bool withGeometry)
    : path_(FreshOutputDir(name)), previous_(std::filesystem::current_path()) {
  if (withGeometry) {
    std::filesystem::copy_file(TestDataPath("testlake.inp"), path_ / "geomtan.inp");
  }
  for (const std::string& flow : flowNames) {
    std::filesystem::copy_file(TestDataPath("testlake.fld"), path_ / flow);
  }
  std::filesystem::current_path(path_);
}

LakeFolder::~LakeFolder() { std::filesystem::current_path(previous_); }

QAction* FindAction(const QWidget& window, const char* name) { return window.findChild<QAction*>(name); }

int OpenHandlesTo(const std::string& fileName) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
    if (!error && target.filename() == fileName) ++count;
  }
  return count;
}

int CountNear(const QImage& image, double x, double y, int radius, QColor colour) {
  int count = 0;
  const int cx = static_cast<int>(std::lround(x));
  const int cy = static_cast<int>(std::lround(y));
  for (int py = cy - radius; py <= cy + radius; ++py) {
    for (int px = cx - radius; px <= cx + radius; ++px) {
      if (image.valid(px, py) && image.pixelColor(px, py).rgb() == colour.rgb()) ++count;
    }
  }
  return count;
}

int CountColour(const QImage& image, QColor colour) {
  return CountNear(image, image.width() / 2.0, image.height() / 2.0, std::max(image.width(), image.height()),
                   colour);
}

}  // namespace lakedrift::test
