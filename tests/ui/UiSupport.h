#pragma once
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <vector>

#include "support/TestPaths.h"
#include "ui/Dialogs.h"
#include "ui/Drelvan.h"
#include "ui/FORM3.h"
#include "view/ViewTransform.h"

namespace lakedrift::test {

// Dialogs that answer from a script and remember what they were asked.
struct ScriptedDialogs : Dialogs {
  std::deque<std::optional<std::string>> answers;  // the next input boxes' texts (nothing = Cancel)
  std::function<bool(QPrinter&)> print;            // the next print dialog: set the printer, print?
  std::vector<std::string> prompts;                // of the input boxes asked so far
  std::vector<std::string> messages;               // the texts of the message boxes shown so far

  // Answers with the next scripted text, Cancel when there is none.
  std::optional<std::string> InputBox(QWidget*, const std::string& prompt, const std::string&) override {
    prompts.push_back(prompt);
    std::optional<std::string> answer;
    if (!answers.empty()) answer = std::move(answers.front()), answers.pop_front();
    return answer;
  }
  // Records the message.
  void MessageBox(QWidget*, MessageIcon, const std::string&, const std::string& text) override {
    messages.push_back(text);
  }
  // Sets up the printer by the script, used once; Cancel when there is none.
  bool PrintDialog(QWidget*, QPrinter& printer) override {
    return print && std::exchange(print, {})(printer);
  }
};

// A fresh folder holding the small test lake under the file names the
// program opens (the flow file under each of `flowNames`), made the
// current folder.
std::filesystem::path EnterLakeFolder(const std::string& name,
                                      const std::vector<std::string>& flowNames = {"tanws.fld"},
                                      bool withGeometry = true);
// Open file handles of this process whose path ends with `fileName`.
int OpenHandlesTo(const std::string& fileName);
// Pixels of exactly `colour` within `radius` pixels of (x, y).
int CountNear(const QImage& image, double x, double y, int radius, QColor colour);
// Pixels of exactly `colour` in the whole image.
inline int CountColour(const QImage& image, QColor colour) { return CountNear(image, 0, 0, 1 << 14, colour); }

inline const QColor kDisc(0, 128, 0);
inline const QColor kTrack(255, 0, 0);

// The main window loaded and shown on the test lake (a 10 km square of
// water with an island from 4 to 6 km), with the start-up defaults.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();

  QAction* Item(const char* name) const { return window->findChild<QAction*>(name); }
  void Choose(const char* name) const { Item(name)->trigger(); }
  QScrollBar* Bar(const char* name) const { return window->findChild<QScrollBar*>(name); }
  QImage Picture() const { return window->Picture().Image(); }
  PixelPoint PixelOf(double x, double y) const { return window->Picture().Transform().ToPixel(x, y); }
  // Pixels of the release disc's colour within `radius` of (x, y) km, `below` pixels under it.
  int DiscPixels(double x, double y, int radius = 1, double below = 0) const {
    return CountNear(Picture(), PixelOf(x, y).x, PixelOf(x, y).y + below, radius, kDisc);
  }
  // Enter Parameters Values, then Continue with the values as they stand.
  void ParametersContinue() const {
    Choose("EntParamValues"), window->ParameterDialog()->findChild<QPushButton*>("Command2")->click();
  }
  // Select Point answered with (x, y).
  void Release(const std::string& x, const std::string& y) {
    dialogs.answers.insert(dialogs.answers.end(), {x, y}), Choose("SelectPoint");
  }
  // True when the outer shore is drawn where the view puts it in km.
  bool CoastShownInKm() const;
  // After a run or an animation, ended or failed: nothing busy, the arrow
  // pointer, the flow file closed, a finite current frame, the program
  // still running (else ended `ends` times, with status 0) and `messages`
  // messages shown in all.
  void ExpectIdle(int ends = 0, size_t messages = 0) const;

  std::filesystem::path lake;
  ModelState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<Drelvan> window;
  std::unique_ptr<QSignalSpy> ended;
  QImage afterLoad;  // the picture before the window was first shown
};

}  // namespace lakedrift::test
