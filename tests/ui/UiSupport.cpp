#include "ui/UiSupport.h"

#include <algorithm>
#include <cmath>

namespace lakedrift::test {

std::filesystem::path EnterLakeFolder(const std::string& name, const std::vector<std::string>& flowNames,
                                      bool withGeometry) {
  const std::filesystem::path path = FreshOutputDir(name);
  if (withGeometry) std::filesystem::copy_file(TestDataPath("testlake.inp"), path / "geomtan.inp");
  for (const std::string& flow : flowNames)
    std::filesystem::copy_file(TestDataPath("testlake.fld"), path / flow);
  std::filesystem::current_path(path);
  return path;
}

int OpenHandlesTo(const std::string& fileName) {
  return static_cast<int>(
      std::ranges::count_if(std::filesystem::directory_iterator("/proc/self/fd"), [&](auto& fd) {
        std::error_code error;
        return std::filesystem::read_symlink(fd.path(), error).filename() == fileName && !error;
      }));
}

int CountNear(const QImage& image, double x, double y, int radius, QColor colour) {
  const QRect box = QRect(static_cast<int>(std::lround(x)) - radius,
                          static_cast<int>(std::lround(y)) - radius, 2 * radius + 1, 2 * radius + 1) &
                    image.rect();
  int count = 0;
  for (int py = box.top(); py <= box.bottom(); ++py)
    for (int px = box.left(); px <= box.right(); ++px) count += image.pixel(px, py) == colour.rgb();
  return count;
}

WindowTest::WindowTest() {
  // A folder named after the suite and case (a table's rows hold a '/').
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  lake = EnterLakeFolder(
      QString("%1_%2").arg(info->test_suite_name(), info->name()).replace('/', '_').toStdString());
  state.Region = state.Season = state.FlowType = 1, state.RegionTitle = "LAKE TANGANYIKA";
  window = std::make_unique<Drelvan>(state, dialogs);
  ended = std::make_unique<QSignalSpy>(window.get(), &Drelvan::ProgramEnded);
  EXPECT_TRUE(window->Form_Load());
  afterLoad = Picture();
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

bool WindowTest::CoastShownInKm() const {
  constexpr double kShoreSampleKm = 0.25, kLakeSideKm = 10.0;
  constexpr int kMinShoreSamples = 4;
  const QImage image = Picture();
  int inside = 0, drawn = 0;
  auto sample = [&](double x, double y) {
    const PixelPoint p = PixelOf(x, y);
    if (!QRectF(1, 1, image.width() - 3, image.height() - 3).contains(p.x, p.y)) return;
    ++inside, drawn += CountNear(image, p.x, p.y, 1, Qt::black) > 0;
  };
  for (double t = kShoreSampleKm; t < kLakeSideKm; t += kShoreSampleKm)
    sample(t, 0), sample(t, kLakeSideKm), sample(0, t), sample(kLakeSideKm, t);
  return inside >= kMinShoreSamples && 2 * drawn >= inside;
}

void WindowTest::ExpectIdle(int ends, size_t messages) const {
  EXPECT_TRUE(!window->IsBusy() && QApplication::overrideCursor() == nullptr) << "busy, or a busy pointer";
  EXPECT_EQ(OpenHandlesTo(state.FlowFileName), 0);
  ASSERT_TRUE(std::isfinite(state.MaxSpeed) &&
              (state.NodeU.Empty() || state.NodeU.Count() == state.NodeCount));
  for (int n = 1; n <= state.NodeU.Count(); ++n)
    ASSERT_TRUE(std::isfinite(state.NodeU(n)) && std::isfinite(state.NodeV(n))) << "node " << n;
  EXPECT_EQ(*ended, QList<QVariantList>(ends, {0})) << "not ended " << ends << " times, with status 0";
  EXPECT_EQ(dialogs.messages.size(), messages) << (dialogs.messages.empty() ? "" : dialogs.messages.back());
}

}  // namespace lakedrift::test
