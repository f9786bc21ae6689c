#include "ui/UiSupport.h"

#include <QPrinter>
#include <fstream>

#include "support/FileSizeLimit.h"
#include "ui/PictureOutput.h"
#include "view/MapView.h"

namespace lakedrift {
namespace {

using namespace test;
using MainWindowTest = WindowTest;
using Strings = std::vector<std::string>;

const char* const kRefusal = "Release Point is not in the lake, Repeat enter, please... ";
const char* const kNotANumber = "Please enter a number, for example 25.5";
constexpr double kDiscFraction = 0.008;  // of the view's width, the disc's radius
constexpr int kScrollRange = 32767;

// The first show keeps the picture the load drew, label and all. Fit to
// screen makes a centred square of the screen height.
TEST_F(MainWindowTest, PlacementFirstPictureAndFitToScreen) {
  QApplication::processEvents();
  EXPECT_EQ(Picture(), afterLoad);
  const QRect screen = window->screen()->geometry(),
              fit((screen.width() - screen.height()) / 2, 0, screen.height(), screen.height());
  Choose("Fit_to_screen");
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == fit; })) << "not fit to the screen";
}

// A double-click does nothing before Select Point is available, then sets
// the point on the water; on land it is refused as the boxes refuse it.
// The boxes ask again after land, after a text that is no number, and on
// the southern edge; the northern edge is water. A later Cancel keeps the
// point. The menus offer each command once what it needs is set, and a run
// greys Start Simulation.
TEST_F(MainWindowTest, ReleasePointIsAskedOrClickedUntilItLiesOnTheWater) {
  auto enabled = [this] {
    QString on;
    for (const char* name : {"EntParamValues", "SelectPoint", "AnimFlow", "StartSim"})
      on += Item(name)->isEnabled() ? '1' : '0';
    return on;
  };
  auto doubleClick = [&](double x, double y) {
    const PixelPoint p = PixelOf(x, y);
    QTest::mouseDClick(window->centralWidget(), Qt::LeftButton, {}, QPointF(p.x, p.y).toPoint());
  };
  doubleClick(3, 3);
  EXPECT_EQ(std::pair(state.ReleaseX, enabled()), std::pair(0.0, QString("1000")));
  ParametersContinue();
  doubleClick(5, 5);  // the island
  EXPECT_EQ(std::pair(dialogs.messages, enabled()), std::pair(Strings{kRefusal}, QString("1110")));
  doubleClick(3, 7);
  EXPECT_TRUE(std::abs(state.ReleaseX - 3) < 0.05 && std::abs(state.ReleaseY - 7) < 0.05);
  EXPECT_EQ(std::pair(DiscPixels(state.ReleaseX, state.ReleaseY) > 0, enabled()),
            std::pair(true, QString("1111")));

  dialogs.answers = {"5", "5", "five", "5", "0", " 5 ", "10"}, Choose("SelectPoint");
  EXPECT_EQ(dialogs.prompts.size(), 7u) << "a double-click asked, or the boxes asked too often";
  EXPECT_EQ(dialogs.messages, (Strings{kRefusal, kRefusal, kNotANumber, kRefusal}));
  EXPECT_EQ(std::pair(state.ReleaseX, state.ReleaseY), std::pair(5.0, 10.0f));
  EXPECT_TRUE(DiscPixels(5, 10) > 0 && DiscPixels(5, 10, 1, kDiscFraction * Picture().width() + 3) == 0)
      << "no disc, or one too large";

  const QImage withPoint = Picture();
  dialogs.answers = {"3", std::nullopt}, Choose("SelectPoint");
  EXPECT_TRUE(state.ReleaseX == 5.0 && Picture() == withPoint && dialogs.messages.size() == 4u)
      << "a cancelled point changed the point, the picture or the messages";
  state.ParticleCount = 5, Choose("StartSim");
  EXPECT_EQ(enabled(), "1110");
  ExpectIdle(0, 4);
  Choose("About");
  EXPECT_EQ(dialogs.messages.size(), 5u) << "About showed no message";
}

// A finished run's picture comes back at every redraw of the view, until
// an animation (or the next run) starts. The wheel zooms by 2 a notch about
// the pointer and a left drag pans; both keep the scroll bars in step.
TEST_F(MainWindowTest, FinishedRunStaysThroughWheelDragResizeAndScrollUntilAnAnimation) {
  ParametersContinue();
  Release("3", "3");
  state.ParticleCount = 5, Choose("StartSim");  // too few tracks to hide the disc
  const int tracks = CountColour(Picture(), kTrack);
  ASSERT_GT(tracks, 20);
  auto showsTheRun = [&](const char* when) {
    EXPECT_TRUE(DiscPixels(3, 3, static_cast<int>(kDiscFraction * Picture().width()) + 1) > 0 &&
                CountColour(Picture(), kTrack) > 20 && CountColour(Picture(), QColor(192, 192, 192)) > 0)
        << when << ": no disc, tracks or run label";
  };
  for (const char* zoom : {"ZoomIn", "ZoomOut"}) Choose(zoom);  // the view of the run again: the same tracks
  EXPECT_EQ(CountColour(Picture(), kTrack), tracks);
  showsTheRun("zoomed in and out");

  QWidget* picture = window->centralWidget();
  const QtImageSurface& view = window->Picture();
  const QPointF at(PixelOf(3.5, 3.5).x, PixelOf(3.5, 3.5).y);
  auto worldAt = [&] {
    double x = 0, y = 0;
    view.Transform().ToWorld(at.x(), at.y(), x, y);
    return QPointF(x, y);
  };
  auto barsInStep = [&] {
    return std::pair(Bar("HScroll1")->value(), Bar("VScroll1")->value()) ==
           std::pair(HorizontalScrollValue(view, state, 0, kScrollRange),
                     VerticalScrollValue(view, state, 0, kScrollRange));
  };
  const QPointF before = worldAt();
  QWheelEvent wheel(at, picture->mapToGlobal(at), {}, {0, 2 * 120}, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase,
                    false);  // two notches: by 4, to a view narrower than the scrolled range
  QApplication::sendEvent(picture, &wheel);
  EXPECT_EQ(state.Magnification, 4.0f);
  EXPECT_TRUE((worldAt() - before).manhattanLength() < 1e-3 && barsInStep())
      << "the point moved, or the bars did not";
  showsTheRun("zoomed in about a point");
  const float left = view.ScaleLeft();
  const QPoint from(200, 200), to(260, 230);
  QTest::mousePress(picture, Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, to, picture->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(picture, &move);
  QTest::mouseRelease(picture, Qt::LeftButton, {}, to);
  EXPECT_FLOAT_EQ(view.ScaleLeft(), left - 60.0f * view.ScaleWidth() / static_cast<float>(view.PixelWidth()));
  EXPECT_TRUE(barsInStep()) << "the bars did not follow the drag";
  showsTheRun("dragged");
  window->resize(520, 480);
  QApplication::processEvents();
  showsTheRun("resized");
  Bar("VScroll1")->setValue(Bar("VScroll1")->value() + 200);
  showsTheRun("scrolled");
  state.FrameCount = 1, state.FramePeriod = 0.01f;
  Choose("AnimFlow");
  Choose("ZoomOut");  // a view that holds the whole lake: no track is left
  EXPECT_EQ(CountColour(Picture(), kTrack), 0);
}

// Save Image replaces an older, larger file by a Windows bitmap of the
// picture under the typed name; a failed write (to a missing folder, or
// stopped after 1 KiB as on a full disk) names the file or says why, keeps
// the older file byte for byte and leaves nothing else; Cancel writes
// nothing. Print sends the picture to the printer the dialog set up; Cancel
// prints nothing; a failed print is reported.
TEST_F(MainWindowTest, SaveImageAndPrintWriteThePictureOrSayWhy) {
  const auto map = lake / "map.bmp";
  const size_t oldSize = 1 << 22;  // larger than any picture's bitmap
  WriteTextFile(map, std::string(oldSize, 'x'));
  auto contents = [&] {
    return (std::ostringstream() << std::ifstream(map, std::ios::binary).rdbuf()).str();
  };
  dialogs.answers = {"map", std::nullopt, "no-such-folder/map", "map"};
  for (int i = 0; i < 3; ++i) Choose("SaveImage");
  const std::string saved = contents();
  EXPECT_TRUE(saved.starts_with("BM") && saved.size() < oldSize)
      << "not a Windows bitmap, or written over the old";
  EXPECT_EQ(QImage(QString::fromStdString(map.string()), "BMP").convertToFormat(QImage::Format_RGB32),
            Picture().convertToFormat(QImage::Format_RGB32));
  std::optional<FileSizeLimit> full(std::in_place, 1024);  // a full disk
  Choose("SaveImage");
  full.reset();
  EXPECT_TRUE(contents() == saved) << "the saved picture changed";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(lake), {}), 3);  // geometry, flow, map.bmp
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_TRUE(dialogs.messages[0].find("no-such-folder/map.bmp") != std::string::npos &&
              dialogs.messages[1].find("too large") != std::string::npos)
      << dialogs.messages[0] << " / " << dialogs.messages[1];

  // Cancelled, printed, and to a folder that does not exist.
  for (auto [name, accept] :
       {std::pair("cancelled.pdf", false), {"picture.pdf", true}, {"none/p.pdf", true}}) {
    dialogs.print = [path = lake / name, accept = accept](QPrinter& printer) {
      printer.setOutputFileName(QString::fromStdString(path.string()));  // a .pdf name prints to a PDF file
      return accept;
    };
    Choose("Print");
  }
  QFile file(QString::fromStdString((lake / "picture.pdf").string()));
  EXPECT_TRUE(!std::filesystem::exists(lake / "cancelled.pdf") && file.open(QIODevice::ReadOnly) &&
              file.read(5) == "%PDF-")
      << "printed when cancelled, or not printed";
  EXPECT_TRUE(dialogs.messages.size() == 3 &&
              dialogs.messages[2].starts_with("The picture could not be printed: "))
      << dialogs.messages.back();
}

TEST(BitmapFileNameTest, AppendsExtensionUnlessLowerCaseBmpAppearsAnywhere) {
  // clang-format off
  for (auto [typed, file] : {std::pair("lake", "lake.bmp"), {"lake.bmp", "lake.bmp"}, {"LAKE.BMP", "LAKE.BMP.bmp"},
                             {"a.bmp.old", "a.bmp.old"}, {"lake.Bmp", "lake.Bmp.bmp"}, {"", ".bmp"}, {"dir/.bmpx", "dir/.bmpx"}})
    // clang-format on
    EXPECT_EQ(BitmapFileName(typed), file);
}

}  // namespace
}  // namespace lakedrift
