#include "ui/FaultFixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <fstream>

#include "support/TestPaths.h"
#include "ui/FORM3.h"

namespace lakedrift::test {

namespace {

constexpr std::chrono::seconds kTestTimeLimit{120};
constexpr int kBytesPerValue = 4;
constexpr double kShoreSampleKm = 0.25;
constexpr double kLakeSideKm = 10.0;
constexpr int kMinShoreSamples = 4;
const QColor kCoast(0, 0, 0);

std::string CurrentTestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

}  // namespace

FaultFixture::FaultFixture()
    : watchdog(kTestTimeLimit, "fault test " + CurrentTestName()), lake("fault_" + CurrentTestName()) {
  state.Region = 1;
  state.Season = 1;
  state.FlowType = 1;
  state.RegionTitle = "LAKE TANGANYIKA";
}

void FaultFixture::OpenWindow() {
  window = std::make_unique<Drelvan>(state, dialogs);
  ended = std::make_unique<QSignalSpy>(window.get(), &Drelvan::ProgramEnded);
  ASSERT_TRUE(window->Form_Load());
  coastX = state.BoundaryX;
  coastY = state.BoundaryY;
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

QAction* FaultFixture::Item(const char* name) const { return FindAction(*window, name); }

void FaultFixture::Choose(const char* name) const { Item(name)->trigger(); }

QScrollBar* FaultFixture::Bar(const char* name) const { return window->findChild<QScrollBar*>(name); }

void FaultFixture::ParametersContinue() const {
  Choose("EntParamValues");
  window->ParameterDialog()->findChild<QPushButton*>("Command2")->click();
}

bool FaultFixture::Release(const std::string& x, const std::string& y) {
  const double before = state.ReleaseX;
  const float beforeY = state.ReleaseY;
  state.ReleaseX = std::nan("");  // tells an accepted point from the old one
  dialogs.Answer(x);
  dialogs.Answer(y);
  Choose("SelectPoint");
  const bool accepted = !std::isnan(state.ReleaseX);
  if (!accepted) {
    state.ReleaseX = before;
    state.ReleaseY = beforeY;
  }
  return accepted;
}

void FaultFixture::TypeParameter(const char* row, const QString& text) const {
  auto* box = window->ParameterDialog()->findChild<QLineEdit*>(row);
  box->selectAll();
  QTest::keyClicks(box, text);
}

bool FaultFixture::CoastShownInKm() const {
  const QImage image = Picture();
  const ViewTransform view = window->Picture().Transform();
  int inside = 0, drawn = 0;
  auto sample = [&](double x, double y) {
    const PixelPoint p = view.ToPixel(x, y);
    if (p.x < 1 || p.y < 1 || p.x > image.width() - 2 || p.y > image.height() - 2) return;
    ++inside;
    if (CountNear(image, p.x, p.y, 1, kCoast) > 0) ++drawn;
  };
  for (double t = kShoreSampleKm; t < kLakeSideKm; t += kShoreSampleKm) {
    sample(t, 0);
    sample(t, kLakeSideKm);
    sample(0, t);
    sample(kLakeSideKm, t);
  }
  return inside >= kMinShoreSamples && 2 * drawn >= inside;
}

void FaultFixture::ExpectIdle() const {
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(OpenHandlesTo(state.FlowFileName), 0);
  EXPECT_TRUE(state.BoundaryX == coastX) << "the coast is no longer in km";
  EXPECT_TRUE(state.BoundaryY == coastY) << "the coast is no longer in km";
  // No frame at all until a run or an animation has read one.
  ASSERT_TRUE(state.NodeU.Empty() || state.NodeU.Count() == state.NodeCount);
  for (int n = 1; n <= state.NodeU.Count(); ++n) {
    ASSERT_TRUE(std::isfinite(state.NodeU(n)) && std::isfinite(state.NodeV(n))) << "node " << n;
  }
  EXPECT_EQ(ended->count(), 0);
}

void FaultFixture::ExpectRunEnded() const {
  ExpectIdle();
  EXPECT_FALSE(Item("StartSim")->isEnabled());
  EXPECT_TRUE(Item("EntParamValues")->isEnabled());
  EXPECT_TRUE(Item("AnimFlow")->isEnabled());
  EXPECT_TRUE(Item("SelectPoint")->isEnabled());
}

void FaultFixture::CutFlowFile(int frame, int bytesIntoFrame) const {
  const auto frameBytes = static_cast<std::uintmax_t>(2 * kBytesPerValue * state.NodeCount);
  std::filesystem::resize_file(FlowPath(), frameBytes * static_cast<std::uintmax_t>(frame) +
                                               static_cast<std::uintmax_t>(bytesIntoFrame));
}

void FaultFixture::PoisonFlowFile(int frame, int node, bool isU, float value) const {
  const std::streamoff frameBytes = 2LL * kBytesPerValue * state.NodeCount;
  const std::streamoff half = isU ? 0 : static_cast<std::streamoff>(kBytesPerValue) * state.NodeCount;
  std::fstream file(FlowPath(), std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(frameBytes * frame + half + static_cast<std::streamoff>(kBytesPerValue) * (node - 1));
  file.write(reinterpret_cast<const char*>(&value), sizeof value);
  ASSERT_TRUE(file.good());
}

void FaultFixture::RestoreFlowFile() const {
  std::filesystem::copy_file(TestDataPath("testlake.fld"), FlowPath(),
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace lakedrift::test
