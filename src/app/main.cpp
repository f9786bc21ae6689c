#include <QApplication>

#include "model/ModelState.h"
#include "ui/Form1.h"
#include "ui/QtDialogs.h"

// The desktop program: the start-up window first, the main window after it.
int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Also the title of boxes that have none of their own.
  QApplication::setApplicationName("LakeDrift");
  // The program ends through its own Exit, not when a window happens to close.
  QApplication::setQuitOnLastWindowClosed(false);

  lakedrift::ModelState state;
  lakedrift::QtDialogs dialogs;
  lakedrift::Form1 startup(state, dialogs);
  QObject::connect(&startup, &lakedrift::Form1::ProgramEnded, &app,
                   [](int exitCode) { QCoreApplication::exit(exitCode); });
  startup.show();
  return QApplication::exec();
}
