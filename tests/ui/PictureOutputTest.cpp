#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <fstream>
#include <iterator>

#include "support/FileSizeLimit.h"
#include "support/TestPaths.h"
#include "ui/PictureOutput.h"

namespace lakedrift {
namespace {

TEST(BitmapFileNameTest, AppendsExtensionUnlessLowerCaseBmpAppearsAnywhere) {
  for (auto [typed, file] : {std::pair("lake", "lake.bmp"), {"lake.bmp", "lake.bmp"}, {"LAKE.BMP", "LAKE.BMP.bmp"},
                              {"a.bmp.old", "a.bmp.old"}, {"lake.Bmp", "lake.Bmp.bmp"}, {"", ".bmp"}, {"dir/.bmpx", "dir/.bmpx"}})
    EXPECT_EQ(BitmapFileName(typed), file);
}

TEST(SaveBitmapTest, WritesAWindowsBitmapAndReplacesAnOldFile) {
  const auto dir = test::FreshOutputDir("save_bitmap");
  const std::string name = (dir / "picture.bmp").string();
  test::WriteTextFile(name, std::string(100000, 'x'));  // larger than the bitmap
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(QColor(0, 128, 128));
  image.setPixelColor(3, 4, QColor(255, 0, 0));
  EXPECT_FALSE(SaveBitmap(image, name).has_value());
  QFile file(QString::fromStdString(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.read(2) == "BM") << "not a Windows bitmap";
  EXPECT_LT(file.size(), 100000);  // truncated, not overwritten in place
  EXPECT_EQ(QImage(QString::fromStdString(name), "BMP").convertToFormat(QImage::Format_RGB32), image);
}

TEST(SaveBitmapTest, FailedWriteKeepsTheExistingFileAndSaysWhy) {
  // A write that stops after 1 KiB, as on a full disk: the existing picture
  // of that name survives byte for byte and nothing else is left behind.
  const auto dir = test::FreshOutputDir("save_bitmap_full");
  const auto name = dir / "picture.bmp";
  const std::string old(20000, 'o');
  test::WriteTextFile(name, old);
  std::optional<std::string> error;
  {
    const test::FileSizeLimit full(1024);
    error = SaveBitmap(QImage(200, 200, QImage::Format_RGB32), name.string());
  }
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("too large"), std::string::npos) << *error;
  std::ifstream in(name, std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == old) << "the existing picture changed";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

}  // namespace
}  // namespace lakedrift
