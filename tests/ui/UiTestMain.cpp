#include <gtest/gtest.h>

#include <QApplication>

// The window tests need one application object for the whole program, a
// platform without a screen and a fixed text resolution.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_FONT_DPI", "96");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName("LakeDrift");
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
