#include "ui/Drelvan.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "model/RunParameters.h"
#include "sim/GaussianRandom.h"
#include "ui/Dialogs.h"
#include "ui/FORM3.h"
#include "ui/PictureOutput.h"
#include "ui/PictureWidget.h"
#include "ui/ReleasePointPrompt.h"
#include "view/FlowAnimation.h"
#include "view/LakeMap.h"
#include "view/MapView.h"
#include "view/Palette.h"
#include "view/Picture.h"
#include "view/RunPicture.h"

namespace lakedrift {

namespace {

const char* const kCaption = "HORIZONTAL TRANSPORT IN LAKE TANGANYIKA";
const char* const kHelpFile = "Orvalith.hlp";
const char* const kGeometryMissing = "Topology data file not found ! Execution terminating... ";
const char* const kSavePrompt = "Enter bitmap image file name:";
const char* const kSaveTitle = "Save Image";
const char* const kPrintTitle = "Print";
const char* const kAboutTitle = "About This Program";
const char* const kAboutLines[] = {
    "PARTICLE TRACKING",
    " Windows Version 1.0",
    "Released at Lakeside, 1 June 2026",
    "LakeDrift project",
    "Written by the LakeDrift developers",
    "Tel./Fax: +000 000 0000",
    "E-mail: lakedrift@example.org",
};

constexpr double kWindowOfScreenHeight = 0.8;  // the window's side at start-up
constexpr int kScrollMinimum = 0;
constexpr int kScrollMaximum = 32767;
constexpr int kScrollSmallStep = 50;
constexpr int kScrollLargeStep = 500;
constexpr int kInitialPictureSide = 1;
constexpr int kExitNormal = 0;
constexpr int kExitFailed = 1;
constexpr int kMillisecondsPerSecond = 1000;

// The hourglass and the busy mark for the life of a run or an animation.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) {
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~BusyScope() {
    QApplication::restoreOverrideCursor();
    busy_ = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

// The window's icon: a lake with a drift track, in palette colours.
QIcon LakeIcon() {
  constexpr int kSide = 32;
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(QColor(0, 128, 128));
  QPainter painter(&pixmap);
  painter.setPen(QColor(0, 0, 0));
  painter.setBrush(QColor(0, 0, 255));
  painter.drawEllipse(QRect(10, 2, 12, 28));
  painter.setPen(QPen(QColor(255, 0, 0), 2));
  painter.drawLine(14, 8, 18, 22);
  return QIcon(pixmap);
}

bool IsNormalState(const QWidget& window) {
  return !(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

}  // namespace

Drelvan::Drelvan(ModelState& state, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      dialogs_(dialogs),
      surface_(kInitialPictureSide, kInitialPictureSide) {
  setWindowTitle(kCaption);
  setWindowIcon(LakeIcon());
  picture_ = new PictureWidget(surface_, this);
  picture_->setObjectName("Picture");
  setCentralWidget(picture_);
  hScroll1_ = MakeScrollBar(Qt::Horizontal, "HScroll1");
  vScroll1_ = MakeScrollBar(Qt::Vertical, "VScroll1");
  connect(hScroll1_, &QScrollBar::valueChanged, this, &Drelvan::HScroll1_Change);
  connect(vScroll1_, &QScrollBar::valueChanged, this, &Drelvan::VScroll1_Change);
  connect(picture_, &PictureWidget::Resized, this, &Drelvan::Form_Resize);
  connect(picture_, &PictureWidget::WheelTurned, this, &Drelvan::Picture_MouseWheel);
  connect(picture_, &PictureWidget::Dragged, this, &Drelvan::Picture_MouseDrag);
  connect(picture_, &PictureWidget::DoubleClicked, this, &Drelvan::Picture_DblClick);
  BuildMenus();
}

Drelvan::~Drelvan() = default;

QScrollBar* Drelvan::MakeScrollBar(Qt::Orientation orientation, const char* name) {
  auto* bar = new QScrollBar(orientation, picture_);
  bar->setObjectName(name);
  bar->setRange(kScrollMinimum, kScrollMaximum);
  bar->setSingleStep(kScrollSmallStep);
  bar->setPageStep(kScrollLargeStep);
  bar->setValue(kScrollMinimum);
  bar->setTracking(false);  // a dragged thumb acts when released
  return bar;
}

QAction* Drelvan::AddItem(QWidget* menu, const char* name, const char* caption, bool enabled,
                          void (Drelvan::*handler)()) {
  auto* item = new QAction(caption, this);
  item->setObjectName(name);
  item->setEnabled(enabled);
  connect(item, &QAction::triggered, this, handler);
  menu->addAction(item);
  return item;
}

void Drelvan::BuildMenus() {
  QMenu* run = menuBar()->addMenu("&Run");
  run->setObjectName("Run");
  connect(run, &QMenu::aboutToShow, this, &Drelvan::Run_Click);
  entParamValues_ =
      AddItem(run, "EntParamValues", "&Enter Parameters Values", true, &Drelvan::EntParamValues_Click);
  selectPoint_ = AddItem(run, "SelectPoint", "&Select Point", false, &Drelvan::SelectPoint_Click);
  animFlow_ = AddItem(run, "AnimFlow", "&View Flow Animation", false, &Drelvan::AnimFlow_Click);
  startSim_ = AddItem(run, "StartSim", "&Start Simulation", false, &Drelvan::StartSim_Click);
  AddItem(run, "Print", "&Print", true, &Drelvan::Print_Click);
  AddItem(run, "Exit", "&Exit", true, &Drelvan::Exit_Click);

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("ViewPic");
  AddItem(view, "ZoomIn", "Zoom&In", true, &Drelvan::ZoomIn_Click);
  AddItem(view, "ZoomOut", "Zoom&Out", true, &Drelvan::ZoomOut_Click);
  AddItem(view, "Fit_to_screen", "&Fit to screen", true, &Drelvan::Fit_to_screen_Click);

  // These two act as soon as they are chosen on the menu bar.
  AddItem(menuBar(), "SaveImage", "&Save  Image", true, &Drelvan::SaveImage_Click);
  AddItem(menuBar(), "About", "&About", true, &Drelvan::About_Click);
}

bool Drelvan::Form_Load() {
  helpFile_ = kHelpFile;
  surface_.SetBackColor(PaletteColour(kCyan));
  const Status geometry = ReadGeometry(state_);
  if (!geometry.ok()) {
    EndWithGeometryFailure(geometry);
    return false;
  }
  PlaceAtStartup();
  SetMapScale(surface_, state_);
  DrawMap(surface_, state_);
  state_.VectorsShown = 0;
  state_.Magnification = 1.0f;
  DrawMagnificationLabel(surface_, state_, false);
  SetParameterDefaults();
  state_.FlowFileName = FlowFileNameFor(state_.Region, state_.Season, state_.FlowType);
  ShowPicture();
  return true;
}

void Drelvan::EndWithGeometryFailure(const Status& status) {
  const std::string text = status.kind() == ErrorKind::FileMissing ? kGeometryMissing : status.message();
  dialogs_.MessageBox(this, MessageIcon::None, QApplication::applicationDisplayName().toStdString(), text);
  EndProgram(kExitFailed);
}

void Drelvan::PlaceAtStartup() {
  const QRect screen = this->screen()->geometry();
  const float ratio = static_cast<float>(screen.width()) / static_cast<float>(screen.height());
  const int width = static_cast<int>(screen.width() * kWindowOfScreenHeight / ratio);
  const int height = static_cast<int>(screen.height() * kWindowOfScreenHeight);
  PlaceWindow(width, height, (screen.width() - width) / 2, (screen.height() - height) / 2);
  // A hidden window hears of its new size only when shown; resize now.
  layout()->activate();
  loaded_ = true;
  Form_Resize();
}

void Drelvan::SetParameterDefaults() { ApplyRunParameters(DefaultRunParameters(), state_); }

void Drelvan::PlaceWindow(int width, int height, int left, int top) {
  // Width and height are the outer size, frame included once there is one.
  const QSize frame = frameGeometry().size() - size();
  resize(width - frame.width(), height - frame.height());
  move(left, top);
}

void Drelvan::Form_Resize() {
  if (!loaded_) return;
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const std::optional<ScrollBarLayout> bars =
      LayoutScrollBars(picture_->width(), picture_->height(), extent, extent);
  if (!bars) return;  // too small to lay out: wait for a usable size
  hScroll1_->setGeometry(bars->hLeft, bars->hTop, bars->hWidth, bars->hHeight);
  vScroll1_->setGeometry(bars->vLeft, bars->vTop, bars->vWidth, bars->vHeight);
  if (picture_->width() == surface_.PixelWidth() && picture_->height() == surface_.PixelHeight()) {
    return;  // the size did not change
  }
  surface_.SetPixelSize(picture_->width(), picture_->height());
  ResizeView(surface_, state_, CurrentPicture());
  ShowPicture();
}

void Drelvan::HScroll1_Change() {
  ScrollHorizontal(surface_, state_, hScroll1_->value(), hScroll1_->minimum(), hScroll1_->maximum(),
                   CurrentPicture());
  ShowPicture();
}

void Drelvan::VScroll1_Change() {
  ScrollVertical(surface_, state_, vScroll1_->value(), vScroll1_->minimum(), vScroll1_->maximum(),
                 CurrentPicture());
  ShowPicture();
}

void Drelvan::Run_Click() {}

void Drelvan::EntParamValues_Click() {
  if (!form3_) {
    form3_ = new FORM3(state_, this);
    connect(form3_, &FORM3::Continued, this, [this] {
      selectPoint_->setEnabled(true);
      animFlow_->setEnabled(true);
    });
  }
  form3_->show();
  form3_->raise();
  form3_->activateWindow();
}

void Drelvan::SelectPoint_Click() {
  const std::optional<ReleasePoint> point = AskReleasePoint(dialogs_, this, state_);
  if (point) MarkReleasePoint(*point);
}

void Drelvan::MarkReleasePoint(const ReleasePoint& point) {
  state_.ReleaseX = point.x;
  state_.ReleaseY = point.y;
  DrawReleaseMarker(surface_, state_);
  ShowPicture();
  startSim_->setEnabled(true);
}

void Drelvan::StartSim_Click() {
  if (busy_) return;  // one run or animation at a time
  Status status;
  bool refused = false;
  {
    const BusyScope busy(busy_);
    auto drawn = std::make_unique<DrawnRun>(state_, surface_, runSeed_ ? *runSeed_ : ClockSeed());
    SimulationRun& run = drawn->run;
    status = run.Start();
    refused = !run.Started();
    if (!refused) {
      result_.reset();  // the new run's picture replaces the last one
      while (run.HasNextStep()) {
        status = run.Step();
        if (!status.ok() || !YieldToWindows()) break;
      }
      run.End();
      result_ = std::move(drawn);
    }
  }
  if (ending_) return;
  ShowPicture();
  if (refused) {  // nothing was changed: the menus stay as they were
    dialogs_.MessageBox(this, MessageIcon::Exclamation, "Start Simulation", status.message());
    return;
  }
  entParamValues_->setEnabled(true);
  startSim_->setEnabled(false);
  animFlow_->setEnabled(true);
  if (!status.ok()) {
    dialogs_.MessageBox(this, MessageIcon::Exclamation, "Start Simulation", status.message());
  }
}

void Drelvan::AnimFlow_Click() {
  if (busy_) return;  // one run or animation at a time
  Status status;
  {
    const BusyScope busy(busy_);
    FlowAnimation animation(state_, surface_);
    status = animation.Start();
    if (status.ok()) result_.reset();  // an animation replaces a run's picture
    while (status.ok() && animation.HasNextFrame() && !ending_) {
      status = animation.ShowNextFrame();
      ShowPicture();
      if (status.ok()) WaitSeconds(state_.FramePeriod);
    }
    animation.End();
  }
  if (ending_) return;
  ShowPicture();
  if (!status.ok()) {
    dialogs_.MessageBox(this, MessageIcon::Exclamation, "View Flow Animation", status.message());
  }
}

void Drelvan::Print_Click() {
  QPrinter printer;
  if (!dialogs_.PrintDialog(this, printer)) return;
  if (const std::optional<std::string> error = PrintPicture(surface_.Image(), printer)) {
    dialogs_.MessageBox(this, MessageIcon::Exclamation, kPrintTitle,
                        "The picture could not be printed: " + *error + ".");
  }
}

void Drelvan::Exit_Click() { EndProgram(kExitNormal); }

void Drelvan::ZoomIn_Click() {
  ZoomIn(surface_, state_, CurrentPicture());
  ShowPicture();
}

void Drelvan::ZoomOut_Click() {
  ZoomOut(surface_, state_, CurrentPicture());
  ShowPicture();
}

void Drelvan::Picture_MouseWheel(QPointF pixel, int notches) {
  for (int i = 0; i < std::abs(notches); ++i)
    ZoomAboutPixel(surface_, state_, pixel.x(), pixel.y(), notches > 0, CurrentPicture());
  KeepScrollBarsInStep();
  ShowPicture();
}

void Drelvan::Picture_MouseDrag(double dx, double dy) {
  PanByPixels(surface_, state_, dx, dy, CurrentPicture());
  KeepScrollBarsInStep();
  ShowPicture();
}

void Drelvan::Picture_DblClick(QPointF pixel) {
  if (!selectPoint_->isEnabled()) return;
  double x = 0, y = 0;
  surface_.Transform().ToWorld(pixel.x(), pixel.y(), x, y);
  const ReleasePoint point{x, static_cast<float>(y)};
  if (AcceptReleasePoint(dialogs_, this, state_, point)) MarkReleasePoint(point);
}

void Drelvan::KeepScrollBarsInStep() {
  const QSignalBlocker quietH(hScroll1_), quietV(vScroll1_);
  hScroll1_->setValue(HorizontalScrollValue(surface_, state_, hScroll1_->minimum(), hScroll1_->maximum()));
  vScroll1_->setValue(VerticalScrollValue(surface_, state_, vScroll1_->minimum(), vScroll1_->maximum()));
}

PictureRedraw Drelvan::CurrentPicture() {
  if (!result_) return Redraw;
  return [run = &result_->run](Surface&, ModelState&) { run->RedrawResult(); };
}

void Drelvan::Fit_to_screen_Click() {
  if (!IsNormalState(*this)) return;
  const QRect screen = this->screen()->geometry();
  const float ratio = static_cast<float>(screen.width()) / static_cast<float>(screen.height());
  const int width = static_cast<int>(static_cast<float>(screen.width()) / ratio);
  const int height = screen.height();
  PlaceWindow(width, height, (screen.width() - width) / 2, (screen.height() - height) / 2);
}

void Drelvan::SaveImage_Click() {
  const std::optional<std::string> answer = dialogs_.InputBox(this, kSavePrompt, kSaveTitle);
  if (!answer) return;  // Cancel saves nothing
  const std::string fileName = BitmapFileName(*answer);
  if (const std::optional<std::string> error = SaveBitmap(surface_.Image(), fileName)) {
    dialogs_.MessageBox(this, MessageIcon::Exclamation, kSaveTitle,
                        "The picture could not be saved as \"" + fileName + "\": " + *error + ".");
  }
}

void Drelvan::About_Click() {
  std::string text;
  for (const char* line : kAboutLines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  dialogs_.MessageBox(this, MessageIcon::Information, kAboutTitle, text);
}

void Drelvan::closeEvent(QCloseEvent* event) {
  event->accept();
  EndProgram(kExitNormal);
}

void Drelvan::ShowPicture() { picture_->update(); }

bool Drelvan::YieldToWindows() {
  ShowPicture();
  QCoreApplication::processEvents();
  return !ending_;
}

void Drelvan::WaitSeconds(float seconds) {
  if (ending_) return;
  QEventLoop loop;
  // A precise timer: a coarse one may end the wait a little early.
  QTimer::singleShot(static_cast<int>(seconds * kMillisecondsPerSecond), Qt::PreciseTimer, &loop,
                     &QEventLoop::quit);
  waitLoop_ = &loop;
  loop.exec();
  waitLoop_ = nullptr;
}

void Drelvan::EndProgram(int exitCode) {
  if (ending_) return;
  ending_ = true;
  if (waitLoop_) waitLoop_->quit();
  if (form3_) form3_->close();
  close();
  emit ProgramEnded(exitCode);
}

}  // namespace lakedrift
