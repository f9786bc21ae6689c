#include "ui/PictureOutput.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include "view/QtImageFile.h"

namespace lakedrift {

namespace {

const char* const kBitmapExtension = ".bmp";
const char* const kBitmapFormat = "bmp";

}  // namespace

std::string BitmapFileName(const std::string& answer) {
  if (answer.find(kBitmapExtension) != std::string::npos) return answer;
  return answer + kBitmapExtension;
}

std::optional<std::string> SaveBitmap(const QImage& picture, const std::string& fileName) {
  return SaveImageWhole(picture, fileName, kBitmapFormat);
}

std::optional<std::string> PrintPicture(const QImage& picture, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return "the printer could not be opened";
  const QRect page = painter.viewport();
  QSize size = picture.size();
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.drawImage(QRect(page.topLeft(), size), picture);
  painter.end();
  if (printer.printerState() == QPrinter::Error) return "the printer reported an error";
  return std::nullopt;
}

}  // namespace lakedrift
