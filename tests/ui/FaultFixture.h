#pragma once
#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "model/ModelState.h"
#include "ui/Drelvan.h"
#include "ui/ScriptedDialogs.h"
#include "ui/UiSupport.h"
#include "ui/Watchdog.h"

class QAction;
class QScrollBar;

namespace lakedrift::test {

// The main window on the test lake (a 10 km square with an island from 4
// to 6 km), used roughly: commands in the middle of runs and animations,
// damaged flow files, odd geometry and release points. Every test must end
// within a time limit.
class FaultFixture : public ::testing::Test {
 protected:
  FaultFixture();

  // Creates, loads and shows the main window on the folder's files.
  void OpenWindow();
  QAction* Item(const char* name) const;
  void Choose(const char* name) const;
  QScrollBar* Bar(const char* name) const;
  QWidget* Client() const { return window->centralWidget(); }
  QImage Picture() const { return window->Picture().Image(); }
  // Enter Parameters Values, then Continue with the values as they stand.
  void ParametersContinue() const;
  // Select Point answered with (x, y); true when the point was accepted.
  bool Release(const std::string& x, const std::string& y);
  // Types `text` into a row of the open parameter dialog ("Text4", …).
  void TypeParameter(const char* row, const QString& text) const;

  // True when the outer shore is drawn where the view puts it in km: at
  // least half of the shore points inside the picture have a coast pixel.
  bool CoastShownInKm() const;
  // The flow file's state after a run or an animation, ended or failed:
  // nothing busy, the arrow pointer, the file closed, the coast in km as
  // loaded and a finite current frame, if any.
  void ExpectIdle() const;
  // ExpectIdle and the menus of a run's end.
  void ExpectRunEnded() const;

  // Damages the folder's flow file: cut inside frame `frame` (0-based)
  // after `bytesIntoFrame` bytes, or a value of a node (1-based) replaced.
  void CutFlowFile(int frame, int bytesIntoFrame) const;
  void PoisonFlowFile(int frame, int node, bool isU, float value) const;
  // Puts the test lake's flow file back.
  void RestoreFlowFile() const;
  std::filesystem::path FlowPath() const { return lake.Path() / state.FlowFileName; }

  Watchdog watchdog;
  LakeFolder lake;
  ModelState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<Drelvan> window;
  std::unique_ptr<QSignalSpy> ended;
  Array1<double> coastX;  // the coast as loaded, km
  Array1<float> coastY;
};

}  // namespace lakedrift::test
