#include "ui/UiSupport.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>

#include "support/TestPaths.h"
#include "ui/FORM3.h"

namespace lakedrift::test {

namespace {

constexpr double kShoreSampleKm = 0.25;
constexpr double kLakeSideKm = 10.0;
constexpr int kMinShoreSamples = 4;

// Suite and case, usable as a folder name (a table's rows hold a '/').
std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name) c = c == '/' ? '_' : c;
  return name;
}

}  // namespace

LakeFolder::LakeFolder(const std::string& name, const std::vector<std::string>& flowNames, bool withGeometry)
    : path_(FreshOutputDir(name)), previous_(std::filesystem::current_path()) {
  if (withGeometry) std::filesystem::copy_file(TestDataPath("testlake.inp"), path_ / "geomtan.inp");
  for (const std::string& flow : flowNames) std::filesystem::copy_file(TestDataPath("testlake.fld"), path_ / flow);
  std::filesystem::current_path(path_);
}

LakeFolder::~LakeFolder() { std::filesystem::current_path(previous_); }

int OpenHandlesTo(const std::string& fileName) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
    if (!error && target.filename() == fileName) ++count;
  }
  return count;
}

int CountNear(const QImage& image, double x, double y, int radius, QColor colour) {
  int count = 0;
  const int cx = static_cast<int>(std::lround(x));
  const int cy = static_cast<int>(std::lround(y));
  for (int py = cy - radius; py <= cy + radius; ++py) {
    for (int px = cx - radius; px <= cx + radius; ++px) {
      if (image.valid(px, py) && image.pixelColor(px, py).rgb() == colour.rgb()) ++count;
    }
  }
  return count;
}

int CountColour(const QImage& image, QColor colour) {
  return CountNear(image, image.width() / 2.0, image.height() / 2.0, std::max(image.width(), image.height()),
                   colour);
}

WindowTest::WindowTest() : lake(CurrentTestName()) {
  state.Region = state.Season = state.FlowType = 1;
  state.RegionTitle = "LAKE TANGANYIKA";
  window = std::make_unique<Drelvan>(state, dialogs);
  ended = std::make_unique<QSignalSpy>(window.get(), &Drelvan::ProgramEnded);
  EXPECT_TRUE(window->Form_Load());
  afterLoad = Picture();
  coastX = state.BoundaryX;
  coastY = state.BoundaryY;
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

QAction* WindowTest::Item(const char* name) const { return window->findChild<QAction*>(name); }

void WindowTest::Choose(const char* name) const { Item(name)->trigger(); }

QScrollBar* WindowTest::Bar(const char* name) const { return window->findChild<QScrollBar*>(name); }

void WindowTest::ParametersContinue() const {
  Choose("EntParamValues");
  window->ParameterDialog()->findChild<QPushButton*>("Command2")->click();
}

void WindowTest::Release(const std::string& x, const std::string& y) {
  dialogs.Answer(x);
  dialogs.Answer(y);
  Choose("SelectPoint");
}

bool WindowTest::CoastShownInKm() const {
  const QImage image = Picture();
  int inside = 0, drawn = 0;
  auto sample = [&](double x, double y) {
    const PixelPoint p = PixelOf(x, y);
    if (p.x < 1 || p.y < 1 || p.x > image.width() - 2 || p.y > image.height() - 2) return;
    ++inside;
    if (CountNear(image, p.x, p.y, 1, kCoast) > 0) ++drawn;
  };
  for (double t = kShoreSampleKm; t < kLakeSideKm; t += kShoreSampleKm) {
    sample(t, 0), sample(t, kLakeSideKm), sample(0, t), sample(kLakeSideKm, t);
  }
  return inside >= kMinShoreSamples && 2 * drawn >= inside;
}

void WindowTest::ExpectIdle() const {
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(OpenHandlesTo(state.FlowFileName), 0);
  EXPECT_TRUE(state.BoundaryX == coastX && state.BoundaryY == coastY) << "the coast is no longer in km";
  ASSERT_TRUE(state.NodeU.Empty() || state.NodeU.Count() == state.NodeCount);
  for (int n = 1; n <= state.NodeU.Count(); ++n) {
    ASSERT_TRUE(std::isfinite(state.NodeU(n)) && std::isfinite(state.NodeV(n))) << "node " << n;
  }
  EXPECT_EQ(ended->count(), 0);
}

}  // namespace lakedrift::test
