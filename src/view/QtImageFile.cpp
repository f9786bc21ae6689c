#include "view/QtImageFile.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace lakedrift {

std::optional<std::string> SaveImageWhole(const QImage& picture, const std::string& fileName,
                                          const char* format) {
  // Encoding and writing apart: a failed write then reports the system's
  // reason, where an image writer on a file only says "Unknown error".
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) return writer.errorString().toStdString();
  QSaveFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  // A write cut short says why only when tried again, and closing the file
  // on commit forgets why a write failed: the bytes go out and are flushed
  // here, before the commit.
  qint64 written = 0;
  for (qint64 n = 0; written < encoded.size(); written += n)
    if ((n = file.write(encoded.constData() + written, encoded.size() - written)) <= 0) break;
  if (written != encoded.size() || !file.flush()) {
    const std::string reason = file.errorString().toStdString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString().toStdString();
  return std::nullopt;
}

}  // namespace lakedrift
