#include "view/QtImageFile.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace lakedrift {

std::optional<std::string> SaveImageWhole(const QImage& picture, const std::string& fileName, const char* format) {
  QSaveFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  QImageWriter writer(&file, format);
  if (!writer.write(picture)) {
    // The device knows why a write failed; the writer often only says
    // "Unknown error".
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
    file.cancelWriting();
    return reason.toStdString();
  }
  if (!file.commit()) return file.errorString().toStdString();
  return std::nullopt;
}

}  // namespace lakedrift
