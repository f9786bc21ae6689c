#include "batch/RunImage.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <string>

#include "view/QtImageFile.h"
#include "view/QtImageSurface.h"

namespace lakedrift {
namespace {

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Fonts need a GUI application; a batch run has no screen, so it renders
// off screen.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  // The tool's standard error carries its own messages only: Qt's notes
  // about the session it starts without (no runtime folder, no screen)
  // mean nothing to its user.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "lakedrift-batch";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace

struct RunImage::Impl {
  // Batch pictures are written to files in the palette (a GIF holds only
  // palette colours): their text is drawn unsmoothed.
  explicit Impl(int size) : surface(size, size) { surface.SetTextSmoothing(false); }
  QtImageSurface surface;
};

Status RunImage::CheckName(const std::filesystem::path& path, const std::string& option) {
  const std::string ext = LowerExtension(path);
  if (ext != ".bmp" && ext != ".png")
    return Status::Fail(ErrorKind::BadValue,
                        option + ": expected a .bmp or .png file name, got '" + path.string() + "'");
  return Status::Ok();
}

RunImage::RunImage(int size) {
  EnsureGuiApplication();
  impl_ = std::make_unique<Impl>(size);
}

RunImage::~RunImage() = default;

Surface& RunImage::GetSurface() { return impl_->surface; }

const QImage& RunImage::Image() const { return impl_->surface.Image(); }

Status RunImage::Save(const std::filesystem::path& path) const {
  const char* format = LowerExtension(path) == ".png" ? "PNG" : "BMP";
  if (auto reason = SaveImageWhole(impl_->surface.Image(), path.string(), format))
    return Status::Fail(ErrorKind::ReadFailed,
                        "image " + path.string() + ": cannot be written (" + *reason + ")");
  return Status::Ok();
}

}  // namespace lakedrift
