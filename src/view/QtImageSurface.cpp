#include "view/QtImageSurface.h"

#include <algorithm>
#include <cmath>

#include <QFontInfo>
#include <QPen>
#include <QStringList>

#include "view/PixelLineRasterizer.h"

namespace lakedrift {
namespace {

// Text is laid out at this resolution whatever the screen's.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr int kMinimumPixelSize = 1;
// 32-bit RGB: the format QPainter draws into fastest.
constexpr QImage::Format kImageFormat = QImage::Format_RGB32;
constexpr int kBytesPerPixel = 4;
// Lines this thin are drawn pixel by pixel.
constexpr int kThinLineWidth = 1;

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// How far from ViewTransform::ToPixel's quotient QuickPixels may place a
// point: its two roundings and the scale's are a few units in the last
// place, under 10⁻⁹ for any coordinate below a million pixels.
constexpr double kDoubt = 1e-9;

// Pixel positions by multiplication with the scale rather than division
// by the world window, within kDoubt of ToPixel's.
struct QuickPixels {
  explicit QuickPixels(const ViewTransform& v)
      : left(v.left),
        top(v.top),
        scaleX(v.pixelWidth / static_cast<double>(v.width)),
        scaleY(v.pixelHeight / static_cast<double>(v.height)) {}
  double X(double x) const { return (x - left) * scaleX; }
  double Y(double y) const { return (y - top) * scaleY; }
  double left, top, scaleX, scaleY;
};

// The pixel (0 … last) that every position within kDoubt of v rounds to,
// as the rasterizer rounds, when there is one and the positions lie in
// 0 … last; −1 otherwise.
int SurePixel(double v, double last) {
  if (!(v >= kDoubt && v <= last - kDoubt)) return -1;
  const int low = static_cast<int>(v + 0.5 - kDoubt), high = static_cast<int>(v + 0.5 + kDoubt);
  return low == high ? low : -1;
}

// The bold sans-serif face, preferred first; the style hint picks the
// system's sans-serif when none of them is installed. Glyphs are smoothed
// and placed at their design advances: hinting snaps each advance to whole
// pixels, which at 8 points spaces letters unevenly.
QFont MakeFont(float points) {
  QFont font;
  font.setFamilies(
      QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setBold(true);
  const int pixels = static_cast<int>(std::lround(points * kPixelsPerPoint));
  font.setPixelSize(std::max(kMinimumPixelSize, pixels));
  return font;
}

// Pixel positions land on whole pixels, as the window system rounds them.
double Snap(double pixel) { return std::floor(pixel + 0.5); }

}  // namespace

QtImageSurface::QtImageSurface(int width, int height) : QtImageSurface(width, height, Kind::Opaque) {}

QtImageSurface::QtImageSurface(int width, int height, Kind kind) : kind_(kind) {
  SetPixelSize(width, height);
}

std::unique_ptr<Surface> QtImageSurface::CreateOverlay(OverlayKind kind) const {
  auto overlay = std::make_unique<QtImageSurface>(PixelWidth(), PixelHeight(),
                                                  kind == OverlayKind::Opaque ? Kind::Opaque : Kind::Overlay);
  overlay->SetScale(ScaleLeft(), ScaleTop(), ScaleWidth(), ScaleHeight());
  overlay->SetLineStyle(GetLineStyle());
  overlay->SetLineWidth(LineWidth());
  overlay->SetTextSmoothing(smoothText_);
  return overlay;
}

void QtImageSurface::DrawOverlay(const Surface& overlay) {
  const auto* image = dynamic_cast<const QtImageSurface*>(&overlay);
  if (!image || image->inked_.isEmpty()) return;
  Painter().drawImage(image->inked_.topLeft(), image->Image(), image->inked_);
}

QtImageSurface::~QtImageSurface() { EndPainting(); }

const QImage& QtImageSurface::Image() const {
  EndPainting();
  // The caller may keep a shallow copy: the next direct write must detach.
  directPixels_ = nullptr;
  return image_;
}

QString QtImageSurface::FontFamily() const { return QFontInfo(MakeFont(FontSize())).family(); }

void QtImageSurface::SetTextSmoothing(bool smooth) {
  smoothText_ = smooth;
  EndPainting();
  metrics_.reset();
}

QPainter& QtImageSurface::Painter() const {
  if (!painter_) {
    directPixels_ = nullptr;
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, smoothText_);
  }
  return *painter_;
}

void QtImageSurface::EndPainting() const { painter_.reset(); }

QPen QtImageSurface::MakePen(Rgb colour) const {
  QPen pen(ToQColor(colour));
  pen.setWidth(std::max(kMinimumPixelSize, LineWidth()));
  pen.setStyle(GetLineStyle() == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  return pen;
}

QPointF QtImageSurface::ToPixel(float x, float y) const {
  const PixelPoint p = Transform().ToPixel(x, y);
  return QPointF(Snap(p.x), Snap(p.y));
}

void QtImageSurface::WidenInked(PixelPoint a, PixelPoint b, int width) {
  // Whole pixels around both ends, a line's width wider, inside the picture.
  const auto low = [](double v) { return std::isfinite(v) ? std::floor(std::max(v, -1e9)) : -1e9; };
  const auto high = [](double v) { return std::isfinite(v) ? std::ceil(std::min(v, 1e9)) : 1e9; };
  const double left = low(std::min(a.x, b.x)) - width, right = high(std::max(a.x, b.x)) + width;
  const double top = low(std::min(a.y, b.y)) - width, bottom = high(std::max(a.y, b.y)) + width;
  const QRect picture = image_.rect();
  const QRect box(QPoint(static_cast<int>(std::max(left, -1.0)), static_cast<int>(std::max(top, -1.0))),
                  QPoint(static_cast<int>(std::min(right, static_cast<double>(picture.right() + 1))),
                         static_cast<int>(std::min(bottom, static_cast<double>(picture.bottom() + 1)))));
  inked_ |= box & picture;
}

void QtImageSurface::Clear() {
  const QColor background = kind_ == Kind::Overlay ? QColor(Qt::transparent) : ToQColor(BackColor());
  if (kind_ == Kind::Overlay) inked_ = QRect();
  if (painter_) {
    painter_->fillRect(image_.rect(), background);
  } else {
    image_.fill(background);
    directPixels_ = nullptr;
  }
  MoveToOrigin();
}

void QtImageSurface::Line(float x1, float y1, float x2, float y2) {
  if (LineWidth() <= kThinLineWidth) {
    const Segment line{x1, y1, x2, y2};
    Lines({&line, 1});
    return;
  }
  if (kind_ == Kind::Overlay)
    MarkInked(Transform().ToPixel(x1, y1), Transform().ToPixel(x2, y2), LineWidth());
  QPainter& painter = Painter();
  painter.setPen(MakePen(ForeColor()));
  painter.drawLine(ToPixel(x1, y1), ToPixel(x2, y2));
  SetCurrent(x2, y2);
}

void QtImageSurface::Lines(std::span<const Segment> lines) {
  if (LineWidth() > kThinLineWidth || lines.empty()) return Surface::Lines(lines);
  // Thin lines go pixel by pixel: the rasterizer rounds to pixels after
  // clipping, which keeps far-away ends of a zoomed view exact.
  const ViewTransform view = Transform();
  EndPainting();
  // bits() checks for sharing on every call; between two uses of the
  // painter or of Image() the buffer stays the same.
  if (!directPixels_) directPixels_ = reinterpret_cast<uint32_t*>(image_.bits());
  const int stride = static_cast<int>(image_.bytesPerLine() / kBytesPerPixel);
  PixelLineRasterizer raster(directPixels_, image_.width(), image_.height(), stride);
  const Rgb c = ForeColor();
  const uint32_t colour = qRgb(c.r, c.g, c.b);
  const bool dotted = GetLineStyle() == LineStyle::Dotted;
  const bool overlay = kind_ == Kind::Overlay;
  const QuickPixels quick(view);
  const double right = image_.width() - 1, bottom = image_.height() - 1;
  for (const Segment& l : lines) {
    // Solid strokes whose ends surely round to pixels inside the picture
    // (nearly all) go straight to those pixels, without the divisions.
    if (!dotted) {
      const double ax = quick.X(l.x1), ay = quick.Y(l.y1), bx = quick.X(l.x2), by = quick.Y(l.y2);
      const int x1 = SurePixel(ax, right), y1 = SurePixel(ay, bottom);
      const int x2 = SurePixel(bx, right), y2 = SurePixel(by, bottom);
      if ((x1 | y1 | x2 | y2) >= 0) {
        // Ends no more than a pixel apart are the whole line.
        if (std::abs(x2 - x1) <= 1 && std::abs(y2 - y1) <= 1) {
          directPixels_[static_cast<long>(y1) * stride + x1] = colour;
          directPixels_[static_cast<long>(y2) * stride + x2] = colour;
        } else {
          raster.DrawSolid(x1, y1, x2, y2, colour);
        }
        // The pixels drawn stand for the ends: the inked area holds them.
        if (overlay) MarkInked({double(x1), double(y1)}, {double(x2), double(y2)}, 1);
        continue;
      }
    }
    const PixelPoint a = view.ToPixel(l.x1, l.y1), b = view.ToPixel(l.x2, l.y2);
    raster.Draw(a.x, a.y, b.x, b.y, colour, dotted);
    if (overlay) MarkInked(a, b, 1);
  }
  SetCurrent(lines.back().x2, lines.back().y2);
}

void QtImageSurface::FilledBox(float x1, float y1, float x2, float y2, Rgb colour) {
  if (kind_ == Kind::Overlay) inked_ = image_.rect();
  const QPointF a = ToPixel(x1, y1), b = ToPixel(x2, y2);
  const QRectF box(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                   QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
  // Both corners belong to the box.
  Painter().fillRect(box.toRect().adjusted(0, 0, 1, 1), ToQColor(colour));
  SetCurrent(x2, y2);
}

void QtImageSurface::Circle(float x, float y, float radius, Rgb border) {
  if (kind_ == Kind::Overlay) inked_ = image_.rect();
  QPainter& painter = Painter();
  painter.setPen(MakePen(border));
  if (GetFillStyle() == FillStyle::Solid) {
    painter.setBrush(ToQColor(FillColor()));
  } else {
    painter.setBrush(Qt::NoBrush);
  }
  // The radius is in x units and the circle stays round in pixels.
  const double pixels = static_cast<double>(radius) * PixelWidth() / std::fabs(ScaleWidth());
  painter.drawEllipse(ToPixel(x, y), pixels, pixels);
  painter.setBrush(Qt::NoBrush);
  SetCurrent(x, y);
}

const QFontMetricsF& QtImageSurface::Metrics() const {
  if (!metrics_ || fontSizeOfMetrics_ != FontSize()) {
    font_ = MakeFont(FontSize());
    if (!smoothText_) font_.setStyleStrategy(QFont::NoAntialias);
    metrics_ = std::make_unique<QFontMetricsF>(font_);
    fontSizeOfMetrics_ = FontSize();
  }
  return *metrics_;
}

void QtImageSurface::Print(const std::string& text) {
  if (kind_ == Kind::Overlay) inked_ = image_.rect();
  const QFontMetricsF& metrics = Metrics();
  QPainter& painter = Painter();
  painter.setFont(font_);
  painter.setPen(ToQColor(ForeColor()));
  const QPointF topLeft = ToPixel(CurrentX(), CurrentY());
  painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), QString::fromStdString(text));
  MoveToNextLine(TextHeight(text));
}

float QtImageSurface::TextWidth(const std::string& text) const {
  const double pixels = Metrics().horizontalAdvance(QString::fromStdString(text));
  return static_cast<float>(pixels * std::fabs(ScaleWidth()) / PixelWidth());
}

float QtImageSurface::TextHeight(const std::string&) const {
  return static_cast<float>(Metrics().height() * std::fabs(ScaleHeight()) / PixelHeight());
}

void QtImageSurface::OnPixelSizeChanged() {
  EndPainting();
  directPixels_ = nullptr;
  QImage resized(PixelWidth(), PixelHeight(),
                 kind_ == Kind::Overlay ? QImage::Format_ARGB32_Premultiplied : kImageFormat);
  resized.fill(kind_ == Kind::Overlay ? QColor(Qt::transparent) : ToQColor(BackColor()));
  inked_ = kind_ == Kind::Overlay ? QRect() : resized.rect();
  if (!image_.isNull()) {
    QPainter copy(&resized);
    copy.drawImage(0, 0, image_);
  }
  image_ = std::move(resized);
}

}  // namespace lakedrift
