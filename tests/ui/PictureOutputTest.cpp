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
  EXPECT_EQ(BitmapFileName("lake"), "lake.bmp");
  EXPECT_EQ(BitmapFileName("lake.bmp"), "lake.bmp");
  EXPECT_EQ(BitmapFileName("LAKE.BMP"), "LAKE.BMP.bmp");
  EXPECT_EQ(BitmapFileName("a.bmp.old"), "a.bmp.old");
  EXPECT_EQ(BitmapFileName("lake.Bmp"), "lake.Bmp.bmp");
  EXPECT_EQ(BitmapFileName(""), ".bmp");
  EXPECT_EQ(BitmapFileName("dir/.bmpx"), "dir/.bmpx");
}

QImage Sample() {
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(QColor(0, 128, 128));
  image.setPixelColor(3, 4, QColor(255, 0, 0));
  return image;
}

TEST(SaveBitmapTest, WritesAWindowsBitmapAndReplacesAnOldFile) {
  const auto dir = test::FreshOutputDir("save_bitmap");
  const std::string name = (dir / "picture.bmp").string();
  test::WriteTextFile(name, std::string(100000, 'x'));  // larger than the bitmap
  EXPECT_FALSE(SaveBitmap(Sample(), name).has_value());

  QFile file(QString::fromStdString(name));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(2), QByteArray("BM"));
  EXPECT_LT(file.size(), 100000);  // truncated, not overwritten in place
  const QImage back(QString::fromStdString(name), "BMP");
  ASSERT_EQ(back.size(), QSize(40, 30));
  EXPECT_EQ(back.pixelColor(3, 4), QColor(255, 0, 0));
  EXPECT_EQ(back.pixelColor(10, 10), QColor(0, 128, 128));
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
