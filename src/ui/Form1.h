#pragma once
#include <QColor>
#include <QWidget>
#include <memory>

#include "model/ModelState.h"

class QCheckBox;
class QLabel;

namespace lakedrift {

class Dialogs;
class Drelvan;
class WavePlayer;

// The start-up window "Startup": the region, wind scenario and flow field
// choices, the optional music and Continue, which opens the main window.
// It stays loaded, hidden, until the program ends.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // Creates the window and runs its load handler.
  Form1(ModelState& state, Dialogs& dialogs, QWidget* parent = nullptr);
  ~Form1() override;

  // Sizes and centres the window, writes the default choices, draws the
  // background colour and opens the music file without playing it.
  void Form_Load();
  // The option buttons: each writes its choice into the model state.
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();
  void Option5_Click();
  void Option6_Click();
  void Option7_Click();
  // "Play music": a tick shows the player.
  void Check1_Click();
  // The player finished a command: the box is cleared.
  void MMControl1_Done();
  // "Continue": hides this window and shows the main window.
  void Command1_Click();

  // The random background colour of this start.
  QColor BackgroundColour() const { return background_; }
  // The main window, once Continue has created it.
  Drelvan* MainWindow() const { return mainWindow_.get(); }

 signals:
  // Every window is closed and the program must end with this code.
  void ProgramEnded(int exitCode);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void EndProgram(int exitCode);

  ModelState& state_;
  Dialogs& dialogs_;
  QColor background_;
  QCheckBox* check1_ = nullptr;
  WavePlayer* mmControl1_ = nullptr;
  std::unique_ptr<Drelvan> mainWindow_;
  bool ending_ = false;
};

}  // namespace lakedrift
