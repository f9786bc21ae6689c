#pragma once
#include <optional>
#include <string>

class QImage;

namespace lakedrift {

// Writes a picture in `format` ("BMP", "PNG") whole or not at all: an
// existing file of that name is replaced only once the new one is complete
// on the disk, and is left untouched when the write fails. The system's
// reason when it cannot be written.
std::optional<std::string> SaveImageWhole(const QImage& picture, const std::string& fileName,
                                          const char* format);

}  // namespace lakedrift
