#pragma once
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <optional>

#include <memory>

#include "model/ModelState.h"
#include "model/Status.h"
#include "view/MapView.h"
#include "view/QtImageSurface.h"

class QAction;
class QEventLoop;
class QScrollBar;

namespace lakedrift {

class Dialogs;
class FORM3;
class PictureWidget;
struct DrawnRun;
struct ReleasePoint;

// The main window "HORIZONTAL TRANSPORT IN LAKE TANGANYIKA": the picture of
// the lake with its two scroll bars and every command in the menu bar.
class Drelvan : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window, its menus and scroll bars; Form_Load fills it.
  Drelvan(ModelState& state, Dialogs& dialogs, QWidget* parent = nullptr);
  ~Drelvan() override;

  // Reads the geometry, sizes and centres the window, draws the map and sets
  // the parameter defaults. False when the program has ended instead.
  bool Form_Load();
  // The client area changed size: bars laid out, full view redrawn.
  void Form_Resize();
  // The scroll bars moved.
  void HScroll1_Change();
  void VScroll1_Change();

  // The menu commands.
  void Run_Click();
  void EntParamValues_Click();
  void SelectPoint_Click();
  void AnimFlow_Click();
  void StartSim_Click();
  void Print_Click();
  void Exit_Click();
  void ZoomIn_Click();
  void ZoomOut_Click();
  void Fit_to_screen_Click();
  void SaveImage_Click();
  void About_Click();

  // The mouse over the picture: the wheel zooms by 2 about the pointer, a
  // drag with the left button pans, and a double-click on the water sets
  // the release point while Select Point is available.
  void Picture_MouseWheel(QPointF pixel, int notches);
  void Picture_MouseDrag(double dx, double dy);
  void Picture_DblClick(QPointF pixel);

  // The picture as drawn so far.
  const QtImageSurface& Picture() const { return surface_; }
  // The parameter dialog, once it has been opened.
  FORM3* ParameterDialog() const { return form3_; }
  // The application's help file.
  const QString& HelpFile() const { return helpFile_; }
  // True while a simulation run or an animation plays.
  bool IsBusy() const { return busy_; }
  // Seeds every later run with `seed` instead of the clock, so that a run
  // can be repeated exactly.
  void SetRunSeed(uint64_t seed) { runSeed_ = seed; }

 signals:
  // Every window is closed and the program must end with this code.
  void ProgramEnded(int exitCode);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddItem(QWidget* menu, const char* name, const char* caption, bool enabled,
                   void (Drelvan::*handler)());
  QScrollBar* MakeScrollBar(Qt::Orientation orientation, const char* name);
  void EndWithGeometryFailure(const Status& status);
  void PlaceAtStartup();
  void SetParameterDefaults();
  void PlaceWindow(int width, int height, int left, int top);
  void ShowPicture();
  // What every redraw of the view draws: the finished run's picture until
  // the next run or animation starts, the map and vectors otherwise.
  PictureRedraw CurrentPicture();
  // Puts the scroll bars where the view now stands, without moving it.
  void KeepScrollBarsInStep();
  void MarkReleasePoint(const ReleasePoint& point);
  bool YieldToWindows();
  void WaitSeconds(float seconds);
  void EndProgram(int exitCode);

  ModelState& state_;
  Dialogs& dialogs_;
  QtImageSurface surface_;
  PictureWidget* picture_ = nullptr;
  QScrollBar* hScroll1_ = nullptr;
  QScrollBar* vScroll1_ = nullptr;
  QAction* entParamValues_ = nullptr;
  QAction* selectPoint_ = nullptr;
  QAction* animFlow_ = nullptr;
  QAction* startSim_ = nullptr;
  FORM3* form3_ = nullptr;
  std::unique_ptr<DrawnRun> result_;  // the last run, while its picture stays
  QEventLoop* waitLoop_ = nullptr;
  QString helpFile_;
  bool loaded_ = false;
  bool busy_ = false;
  bool ending_ = false;
  std::optional<uint64_t> runSeed_;
};

}  // namespace lakedrift
