#pragma once
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSignalSpy>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/ModelState.h"
#include "ui/Drelvan.h"
#include "ui/ScriptedDialogs.h"
#include "view/ViewTransform.h"

class QAction;
class QScrollBar;

namespace lakedrift::test {

// A fresh folder holding the small test lake under the file names the
// program opens, made the current folder for the life of the object.
class LakeFolder {
 public:
  // `flowNames` are the names the test lake's flow file is copied to;
  // without `withGeometry` the folder has no geometry file.
  explicit LakeFolder(const std::string& name, const std::vector<std::string>& flowNames = {"tanws.fld"},
                      bool withGeometry = true);
  ~LakeFolder();
  LakeFolder(const LakeFolder&) = delete;
  LakeFolder& operator=(const LakeFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Open file handles of this process whose path ends with `fileName`.
int OpenHandlesTo(const std::string& fileName);
// Pixels of exactly `colour` within `radius` pixels of (x, y).
int CountNear(const QImage& image, double x, double y, int radius, QColor colour);
// Pixels of exactly `colour` in the whole image.
int CountColour(const QImage& image, QColor colour);

inline const QColor kCoast(0, 0, 0);
inline const QColor kDisc(0, 128, 0);
inline const QColor kTrack(255, 0, 0);

// The main window loaded and shown on the test lake (a 10 km square of
// water with an island from 4 to 6 km), with the start-up defaults.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();

  QAction* Item(const char* name) const;
  void Choose(const char* name) const;
  QScrollBar* Bar(const char* name) const;
  QImage Picture() const { return window->Picture().Image(); }
  PixelPoint PixelOf(double x, double y) const { return window->Picture().Transform().ToPixel(x, y); }
  // Enter Parameters Values, then Continue with the values as they stand.
  void ParametersContinue() const;
  // Select Point answered with (x, y).
  void Release(const std::string& x, const std::string& y);
  // True when the outer shore is drawn where the view puts it in km.
  bool CoastShownInKm() const;
  // After a run or an animation, ended or failed: nothing busy, the arrow
  // pointer, the flow file closed, the coast in km as loaded, a finite
  // current frame and the program still running.
  void ExpectIdle() const;

  LakeFolder lake;
  ModelState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<Drelvan> window;
  std::unique_ptr<QSignalSpy> ended;
  QImage afterLoad;  // the picture before the window was first shown
  Array1<double> coastX;
  Array1<float> coastY;
};

}  // namespace lakedrift::test
