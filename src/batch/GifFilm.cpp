#include "batch/GifFilm.h"

#include <fcntl.h>
#include <gif_lib.h>

#include <unistd.h>
#include <QImage>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "model/AtomicFile.h"
#include "view/Palette.h"

namespace lakedrift {
namespace {

constexpr int kCentisecondsPerSecond = 100;
constexpr int kGifColourBits = 4;  // 16 colours
constexpr int kLoopForever = 0;
constexpr mode_t kFileMode = 0666;         // as the other outputs: the umask decides
constexpr unsigned char kDisposeNone = 1;  // the next frame is drawn whole over it

std::string GifReason(int code) {
  const char* text = GifErrorString(code);
  return text ? text : "GIF error " + std::to_string(code);
}

// The palette index of an exact palette colour, else of the nearest one.
GifByteType PaletteIndexOf(QRgb pixel) {
  int best = 0, bestDistance = INT_MAX;
  for (int i = 0; i < kPaletteSize; ++i) {
    const Rgb c = PaletteColour(i);
    const int dr = qRed(pixel) - c.r, dg = qGreen(pixel) - c.g, db = qBlue(pixel) - c.b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  return static_cast<GifByteType>(best);
}

// The smallest rectangle holding every pixel in which `image` differs from
// `previous` (same size and format); a single pixel when none differs, as
// every frame must hold one.
QRect ChangedRect(const QImage& image, const QImage& previous) {
  const int width = image.width();
  int left = width, right = -1, top = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* now = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const auto* before = reinterpret_cast<const QRgb*>(previous.constScanLine(y));
    if (std::equal(now, now + width, before)) continue;
    // Whole blocks first: most of a row around the change is as it was.
    constexpr int kBlock = 16;
    const auto blockSame = [&](int x) {
      return std::memcmp(now + x, before + x, kBlock * sizeof(QRgb)) == 0;
    };
    int first = 0, last = width - 1;
    while (first + kBlock <= width && blockSame(first)) first += kBlock;
    while (now[first] == before[first]) ++first;
    while (last + 1 - kBlock >= first && blockSame(last + 1 - kBlock)) last -= kBlock;
    while (now[last] == before[last]) --last;
    left = std::min(left, first), right = std::max(right, last);
    if (top < 0) top = y;
    bottom = y;
  }
  return top < 0 ? QRect(0, 0, 1, 1) : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

struct GifFilm::Impl {
  Impl(std::filesystem::path p, int w, int h, int f) : file(std::move(p)), width(w), height(h), fps(f) {}
  AtomicFile file;
  int width, height, fps;
  GifFileType* gif = nullptr;
  std::vector<GifByteType> row;
  QImage previous;  // the frame before, as the viewer shows it
  // Palette indices of the colours met, by their top four bits a channel;
  // a key of 0 (no opaque pixel has it) marks an empty entry.
  static constexpr int kCacheBits = 12;
  std::array<std::pair<QRgb, GifByteType>, 1u << kCacheBits> indices{};

  GifByteType IndexOf(QRgb pixel) {
    auto& entry = indices[((pixel >> 12) & 0xf00) | ((pixel >> 8) & 0xf0) | ((pixel >> 4) & 0xf)];
    if (entry.first != pixel) [[unlikely]]
      entry = {pixel, PaletteIndexOf(pixel)};
    return entry.second;
  }

  Status Failed(const std::string& what, int code) const {
    return Status::Fail(ErrorKind::ReadFailed, "film " + file.FinalPath().string() + ": cannot be written (" +
                                                   what + ": " + GifReason(code) + ")");
  }
};

Status GifFilm::CheckName(const std::filesystem::path& path, const std::string& option) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext != ".gif")
    return Status::Fail(ErrorKind::BadValue,
                        option + ": expected a .gif file name, got '" + path.string() + "'");
  return Status::Ok();
}

GifFilm::GifFilm(std::filesystem::path path, int width, int height, int framesPerSecond)
    : impl_(std::make_unique<Impl>(std::move(path), width, height, framesPerSecond)) {}

GifFilm::~GifFilm() {
  int code = 0;
  if (impl_->gif) EGifCloseFile(impl_->gif, &code);  // a film never finished: its temporary file goes
}

Status GifFilm::Open() {
  int code = 0;
  // Opened here rather than by the library, which would make the file
  // readable by its owner only.
  const int fd =
      open(impl_->file.TemporaryPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kFileMode);
  if (fd < 0)
    return Status::Fail(ErrorKind::ReadFailed, "film " + impl_->file.FinalPath().string() +
                                                   ": cannot be written (" + SystemReason() + ")");
  impl_->gif = EGifOpenFileHandle(fd, &code);
  if (!impl_->gif) return close(fd), impl_->Failed("open", code);
  EGifSetGifVersion(impl_->gif, true);
  GifColorType colours[kPaletteSize];
  for (int i = 0; i < kPaletteSize; ++i) {
    const Rgb c = PaletteColour(i);
    colours[i] = {c.r, c.g, c.b};
  }
  ColorMapObject* map = GifMakeMapObject(kPaletteSize, colours);
  const int put =
      EGifPutScreenDesc(impl_->gif, impl_->width, impl_->height, kGifColourBits, kBrightWhite, map);
  GifFreeMapObject(map);
  if (put == GIF_ERROR) return impl_->Failed("header", impl_->gif->Error);
  // The application block that makes viewers loop the film.
  const unsigned char netscape[] = "NETSCAPE2.0";
  const unsigned char loop[] = {1, kLoopForever & 0xff, kLoopForever >> 8};
  if (EGifPutExtensionLeader(impl_->gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(impl_->gif, sizeof netscape - 1, netscape) == GIF_ERROR ||
      EGifPutExtensionBlock(impl_->gif, sizeof loop, loop) == GIF_ERROR ||
      EGifPutExtensionTrailer(impl_->gif) == GIF_ERROR)
    return impl_->Failed("loop block", impl_->gif->Error);
  impl_->row.resize(static_cast<std::size_t>(impl_->width));
  return Status::Ok();
}

Status GifFilm::AddFrame(const QImage& frame) { return Encode(frame, ++frames_); }

Status GifFilm::Encode(const QImage& frame, int number) {
  const QImage image = frame.convertToFormat(QImage::Format_RGB32);
  // Each frame after the first holds only the rectangle that changed; the
  // viewer keeps the rest of the frame before (kDisposeNone).
  const QRect rect = number == 1 ? image.rect() : ChangedRect(image, impl_->previous);
  GraphicsControlBlock control{};
  control.DisposalMode = kDisposeNone;
  control.DelayTime = static_cast<int>(std::lround(static_cast<double>(kCentisecondsPerSecond) / impl_->fps));
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  const std::size_t length = EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(impl_->gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
          GIF_ERROR ||
      EGifPutImageDesc(impl_->gif, rect.left(), rect.top(), rect.width(), rect.height(), false, nullptr) ==
          GIF_ERROR)
    return impl_->Failed("frame " + std::to_string(number), impl_->gif->Error);
  GifByteType* row = impl_->row.data();
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y)) + rect.left();
    for (int x = 0; x < rect.width(); ++x) row[x] = impl_->IndexOf(pixels[x]);
    if (EGifPutLine(impl_->gif, row, rect.width()) == GIF_ERROR)
      return impl_->Failed("frame " + std::to_string(number), impl_->gif->Error);
  }
  impl_->previous = image;
  return Status::Ok();
}

Status GifFilm::Finish() {
  int code = 0;
  GifFileType* gif = std::exchange(impl_->gif, nullptr);
  if (EGifCloseFile(gif, &code) == GIF_ERROR) return impl_->Failed("close", code);
  return impl_->file.Commit();
}

}  // namespace lakedrift
