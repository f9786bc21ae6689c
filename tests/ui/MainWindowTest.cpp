#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "ui/UiSupport.h"
#include "view/MapView.h"

namespace lakedrift {
namespace {

using MainWindowTest = test::WindowTest;
using test::CountColour;
using test::CountNear;
using test::kDisc;
using test::kTrack;

const QColor kLabelBox(0, 255, 0);
const char* const kRefusal = "Release Point is not in the lake, Repeat enter, please... ";
constexpr double kDiscFraction = 0.008;  // of the view's width, the disc's radius
constexpr int kScrollRange = 32767;

// Placed as a centred square of 0.8 of the screen height; the first show
// keeps the picture the load drew, label and all. Fit to screen makes a
// centred square of the screen height.
TEST_F(MainWindowTest, PlacementFirstPictureAndFitToScreen) {
  QApplication::processEvents();
  EXPECT_EQ(Picture(), afterLoad);
  EXPECT_EQ(Picture().size(), window->centralWidget()->size());
  const QRect screen = window->screen()->geometry();
  const int side = static_cast<int>(screen.height() * 0.8);
  EXPECT_EQ(window->size(), QSize(side, side));
  EXPECT_EQ(window->frameGeometry().topLeft(), QPoint((screen.width() - side) / 2, (screen.height() - side) / 2));

  Choose("Fit_to_screen");
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().height() == screen.height(); }));
  EXPECT_EQ(window->frameGeometry().width(), screen.height());
  EXPECT_EQ(window->frameGeometry().left(), (screen.width() - screen.height()) / 2);
}

TEST_F(MainWindowTest, MenuStatesFromLoadToRunEnd) {
  auto enabled = [this](std::initializer_list<const char*> names) {
    QStringList on;
    for (const char* name : names) on << (Item(name)->isEnabled() ? "on" : "off");
    return on.join(' ');
  };
  const auto items = {"EntParamValues", "SelectPoint", "AnimFlow", "StartSim"};
  EXPECT_EQ(enabled(items), "on off off off");
  ParametersContinue();
  EXPECT_EQ(enabled(items), "on on on off");
  Release("3", "3");
  EXPECT_EQ(enabled(items), "on on on on");
  state.ParticleCount = 5;
  Choose("StartSim");
  EXPECT_EQ(enabled(items), "on on on off");
  ExpectIdle();
  EXPECT_TRUE(dialogs.Messages().empty());
  Choose("About");
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0].icon, MessageIcon::Information);
}

// Asked again after land, after a text that is no number, and on the
// southern edge; the northern edge is water. A later Cancel keeps the point.
TEST_F(MainWindowTest, ReleasePointIsAskedUntilItLiesOnTheWater) {
  ParametersContinue();
  const QImage before = Picture();
  for (const char* answer : {"5", "5", "five", "5", "0", " 5 ", "10"}) dialogs.Answer(answer);
  Choose("SelectPoint");
  EXPECT_EQ(dialogs.AnswersLeft(), 0u);
  EXPECT_EQ(dialogs.Prompts().size(), 7u);
  ASSERT_EQ(dialogs.Messages().size(), 3u);
  EXPECT_EQ(dialogs.Messages()[0].text, kRefusal);
  EXPECT_NE(dialogs.Messages()[1].text, kRefusal);  // the not-a-number message
  EXPECT_EQ(dialogs.Messages()[2].text, kRefusal);
  EXPECT_EQ(state.ReleaseX, 5.0);
  EXPECT_EQ(state.ReleaseY, 10.0f);
  EXPECT_TRUE(Item("StartSim")->isEnabled());
  const PixelPoint centre = PixelOf(5, 10);
  const double radius = kDiscFraction * Picture().width();
  EXPECT_GT(CountNear(Picture(), centre.x, centre.y, 1, kDisc), 0);
  EXPECT_EQ(CountNear(before, centre.x, centre.y, 1, kDisc), 0);
  EXPECT_EQ(CountNear(Picture(), centre.x, centre.y + radius + 3, 1, kDisc), 0);

  const QImage withPoint = Picture();
  dialogs.Answer("3");
  dialogs.Answer(std::nullopt);
  Choose("SelectPoint");
  EXPECT_EQ(state.ReleaseX, 5.0);
  EXPECT_EQ(Picture(), withPoint);
  EXPECT_EQ(dialogs.Messages().size(), 3u);
}

// A double-click on the water sets the release point once Select Point is
// available; on land it is refused as the boxes refuse it.
TEST_F(MainWindowTest, DoubleClickSetsTheReleasePointOnTheWater) {
  auto doubleClick = [&](double x, double y) {
    const PixelPoint p = PixelOf(x, y);
    QTest::mouseDClick(window->centralWidget(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(static_cast<int>(p.x), static_cast<int>(p.y)));
  };
  doubleClick(3, 3);
  EXPECT_EQ(state.ReleaseX, 0.0);
  ParametersContinue();
  doubleClick(5, 5);  // the island
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0].text, kRefusal);
  EXPECT_FALSE(Item("StartSim")->isEnabled());
  doubleClick(3, 7);
  EXPECT_NEAR(state.ReleaseX, 3.0, 0.05);
  EXPECT_NEAR(state.ReleaseY, 7.0f, 0.05);
  EXPECT_TRUE(Item("StartSim")->isEnabled());
  EXPECT_GT(CountNear(Picture(), PixelOf(state.ReleaseX, state.ReleaseY).x,
                      PixelOf(state.ReleaseX, state.ReleaseY).y, 1, kDisc),
            0);
  EXPECT_TRUE(dialogs.Prompts().empty());
}

// The wheel zooms by 2 a notch about the pointer and a left drag pans; both keep
// the scroll bars in step with the view.
TEST_F(MainWindowTest, WheelZoomsAboutThePointerAndDragPans) {
  QWidget* picture = window->centralWidget();
  const QPointF at(picture->width() * 0.7, picture->height() * 0.7);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  window->Picture().Transform().ToWorld(at.x(), at.y(), x0, y0);
  // Two notches: by 4, to a view narrower than the scrolled range.
  QWheelEvent wheel(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(picture, &wheel);
  EXPECT_EQ(state.Magnification, 4.0f);
  window->Picture().Transform().ToWorld(at.x(), at.y(), x1, y1);
  EXPECT_NEAR(x1, x0, 1e-3);
  EXPECT_NEAR(y1, y0, 1e-3);
  EXPECT_GT(CountColour(Picture(), kLabelBox), 0);  // the magnification label
  auto barsInStep = [&] {
    EXPECT_EQ(Bar("HScroll1")->value(), HorizontalScrollValue(window->Picture(), state, 0, kScrollRange));
    EXPECT_EQ(Bar("VScroll1")->value(), VerticalScrollValue(window->Picture(), state, 0, kScrollRange));
  };
  barsInStep();
  EXPECT_GT(Bar("HScroll1")->value(), 0);  // the bars left their minimum
  EXPECT_GT(Bar("VScroll1")->value(), 0);
  const float left = window->Picture().ScaleLeft();
  const QPoint from(200, 200), to(260, 230);
  QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, from);
  QMouseEvent move(QEvent::MouseMove, to, picture->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(picture, &move);
  QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, to);
  EXPECT_FLOAT_EQ(window->Picture().ScaleLeft(),
                  left - 60.0f * window->Picture().ScaleWidth() / static_cast<float>(window->Picture().PixelWidth()));
  barsInStep();
}

// A finished run's picture comes back at every redraw of the view, until
// an animation (or the next run) starts.
TEST_F(MainWindowTest, FinishedRunStaysThroughZoomAndResizeUntilAnAnimation) {
  const QColor runLabelBox(192, 192, 192);
  ParametersContinue();
  Release("3", "3");
  state.ParticleCount = 5;  // too few tracks to hide the disc
  Choose("StartSim");
  const int tracks = CountColour(Picture(), kTrack);
  ASSERT_GT(tracks, 20);
  auto showsTheRun = [&](const char* when) {
    SCOPED_TRACE(when);
    const PixelPoint release = PixelOf(3, 3);
    const int discRadius = static_cast<int>(kDiscFraction * Picture().width()) + 1;
    EXPECT_GT(CountNear(Picture(), release.x, release.y, discRadius, kDisc), 0);
    EXPECT_GT(CountColour(Picture(), kTrack), 20);
    EXPECT_GT(CountColour(Picture(), runLabelBox), 0);
  };
  Choose("ZoomIn");
  Choose("ZoomOut");  // the view of the run again: the same tracks
  EXPECT_EQ(CountColour(Picture(), kTrack), tracks);
  showsTheRun("zoomed in and out");
  const PixelPoint release = PixelOf(3, 3);
  QWheelEvent wheel(QPointF(release.x, release.y), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(window->centralWidget(), &wheel);
  showsTheRun("zoomed in about the release point");
  window->resize(520, 480);
  QApplication::processEvents();
  showsTheRun("resized");
  Bar("VScroll1")->setValue(200);
  showsTheRun("scrolled");

  state.FrameCount = 1;
  state.FramePeriod = 0.01f;
  Choose("AnimFlow");
  Choose("ZoomOut");  // a view that holds the whole lake: no track is left
  EXPECT_EQ(CountColour(Picture(), kTrack), 0);
}

// Save Image writes the picture under the typed name; a failed write names
// the file and leaves nothing; Cancel writes nothing.
TEST_F(MainWindowTest, SaveImageWritesThePictureOrSaysWhy) {
  const auto& dir = lake.Path();
  for (std::optional<std::string> answer : {std::optional<std::string>("map"), std::optional<std::string>(),
                                            std::optional<std::string>("no-such-folder/map")}) {
    dialogs.Answer(answer);
    Choose("SaveImage");
  }
  const QImage saved(QString::fromStdString((dir / "map.bmp").string()), "BMP");
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), Picture().convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);  // geometry, flow, map.bmp
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_NE(dialogs.Messages()[0].text.find("no-such-folder/map.bmp"), std::string::npos);
}

// Print sends the picture to the printer the dialog set up; Cancel prints
// nothing; a failed print is reported.
TEST_F(MainWindowTest, PrintSendsThePictureOrSaysWhy) {
  const auto pdf = lake.Path() / "picture.pdf";
  auto toFile = [](std::filesystem::path path) {
    return [path](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(path.string()));
    };
  };
  dialogs.AnswerPrint(false, toFile(pdf));
  Choose("Print");
  EXPECT_FALSE(std::filesystem::exists(pdf));
  dialogs.AnswerPrint(true, toFile(pdf));
  Choose("Print");
  QFile file(QString::fromStdString(pdf.string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(5), QByteArray("%PDF-"));
  EXPECT_TRUE(dialogs.Messages().empty());
  dialogs.AnswerPrint(true, toFile(lake.Path() / "none" / "p.pdf"));
  Choose("Print");
  EXPECT_EQ(dialogs.Messages().size(), 1u);
}

}  // namespace
}  // namespace lakedrift
