#pragma once
#include <optional>
#include <string>

class QImage;
class QPrinter;

namespace lakedrift {

// The file name a typed answer saves to: ".bmp" is appended unless the
// answer contains ".bmp" anywhere (case-sensitive).
std::string BitmapFileName(const std::string& answer);

// Writes a picture as a Windows bitmap, replacing an existing file only
// once the new one is whole; the reason when it cannot be written, the
// existing file then untouched.
std::optional<std::string> SaveBitmap(const QImage& picture, const std::string& fileName);

// Prints a picture on one page, as large as the page allows with its aspect
// kept; the reason when the printer fails.
std::optional<std::string> PrintPicture(const QImage& picture, QPrinter& printer);

}  // namespace lakedrift
