#pragma once
#include <QColor>
#include <QImage>
#include <filesystem>
#include <string>
#include <vector>

class QAction;
class QWidget;

namespace lakedrift::test {

// A fresh folder holding the small test lake under the file names the
// program opens, made the current folder for the life of the object.
class LakeFolder {
 public:
  // `flowNames` are the flow-file names the test lake's flow file is copied
  // to; without `withGeometry` the folder has no geometry file.
  LakeFolder(const std::string& name, const std::vector<std::string>& flowNames = {"tanws.fld"},
             bool withGeometry = true);
  ~LakeFolder();
  LakeFolder(const LakeFolder&) = delete;
  LakeFolder& operator=(const LakeFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// A menu item of a window by its name.
QAction* FindAction(const QWidget& window, const char* name);

// Open file handles of this process whose path ends with `fileName`.
int OpenHandlesTo(const std::string& fileName);

// Pixels of exactly `colour` within `radius` pixels of (x, y).
int CountNear(const QImage& image, double x, double y, int radius, QColor colour);
// Pixels of exactly `colour` in the whole image.
int CountColour(const QImage& image, QColor colour);

}  // namespace lakedrift::test
