#include "ui/Form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "model/DataFiles.h"
#include "model/Region.h"
#include "sim/GaussianRandom.h"
#include "ui/Drelvan.h"
#include "ui/StartupColour.h"
#include "ui/WavePlayer.h"

namespace lakedrift {

namespace {

constexpr double kWidthOfScreen = 0.85;
constexpr double kHeightOfScreen = 0.8;
constexpr int kPictureWidth = 230;
constexpr int kPictureHeight = 145;
constexpr double kDesignFontPoints = 7.8;
const char* const kPictureResource = ":/startup.bmp";  // stored with the window
const char* const kMusicFile = "bougarab.wav";

// A frame of option buttons; the first is selected. Frames keep the
// system colour whatever the window's background.
QGroupBox* MakeFrame(QWidget* parent, const char* name, const char* caption,
                     std::initializer_list<QRadioButton*> options) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(name);
  frame->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(frame);
  for (QRadioButton* option : options) layout->addWidget(option);
  (*options.begin())->setChecked(true);
  return frame;
}

}  // namespace

Form1::Form1(ModelState& state, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs) {
  setWindowTitle("Startup");
  QFont font = this->font();
  font.setBold(true);
  font.setPointSizeF(kDesignFontPoints);
  setFont(font);
  BuildControls();
  Form_Load();
}

Form1::~Form1() = default;

void Form1::BuildControls() {
  auto option = [this](const char* name, const char* caption, void (Form1::*handler)()) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(name);
    connect(button, &QRadioButton::clicked, this, handler);
    return button;
  };
  QGroupBox* frame1 = MakeFrame(this, "Frame1", "Select lake region",
                                {option("Option1", "Lake Tanganyika", &Form1::Option1_Click),
                                 option("Option2", "River Malagarasi region", &Form1::Option2_Click),
                                 option("Option3", "River Lufubu region", &Form1::Option3_Click)});
  QGroupBox* frame2 = MakeFrame(this, "Frame2", "Select time : wind scenario",
                                {option("Option4", "Wet season (2-8.04.1997)", &Form1::Option4_Click),
                                 option("Option5", "Dry season (22-28.08.1997)", &Form1::Option5_Click)});
  QGroupBox* frame3 = MakeFrame(this, "Frame3", "Select flow field",
                                {option("Option6", "Surface flow", &Form1::Option6_Click),
                                 option("Option7", "Depth-averaged", &Form1::Option7_Click)});

  auto* image1 = new QLabel(this);
  image1->setObjectName("Image1");
  image1->setFixedSize(kPictureWidth, kPictureHeight);
  image1->setPixmap(QPixmap(kPictureResource));

  check1_ = new QCheckBox("Play music", this);
  check1_->setObjectName("Check1");
  check1_->setAutoFillBackground(true);
  connect(check1_, &QCheckBox::stateChanged, this, &Form1::Check1_Click);

  auto* command1 = new QPushButton("Continue", this);
  command1->setObjectName("Command1");
  // Reached with Tab, pressed with Enter as well as with the space bar.
  command1->setAutoDefault(true);
  connect(command1, &QPushButton::clicked, this, &Form1::Command1_Click);

  mmControl1_ = new WavePlayer(this);
  mmControl1_->setObjectName("MMControl1");
  connect(mmControl1_, &WavePlayer::Done, this, &Form1::MMControl1_Done);

  // The controls keep their places at the top left; extra room stays empty.
  auto* design = new QGridLayout;
  design->addWidget(frame1, 0, 0, 2, 1);
  design->addWidget(frame2, 0, 1);
  design->addWidget(frame3, 1, 1);
  design->addWidget(image1, 2, 0, 2, 1);
  design->addWidget(check1_, 2, 1);
  design->addWidget(command1, 3, 1);
  design->addWidget(mmControl1_, 4, 0);
  auto* outer = new QGridLayout(this);
  outer->addLayout(design, 0, 0);
  outer->setRowStretch(1, 1);
  outer->setColumnStretch(1, 1);

  // Tab runs region → season → flow → music → Continue (arrow keys move
  // within a group), and the region group has the focus at start.
  QList<QWidget*> chain;
  for (QGroupBox* frame : {frame1, frame2, frame3})
    for (QRadioButton* button : frame->findChildren<QRadioButton*>()) chain << button;
  chain << check1_ << command1;
  for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
  chain.front()->setFocus();
}

void Form1::Form_Load() {
  const QRect screen = this->screen()->geometry();
  resize(static_cast<int>(kWidthOfScreen * screen.width()),
         static_cast<int>(kHeightOfScreen * screen.height()));

  ChooseRegion(state_, 1);
  state_.Season = 1;
  state_.FlowType = 1;

  const Rgb colour = RandomStartupColour(ClockSeed());
  background_ = QColor(colour.r, colour.g, colour.b);

  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
  }

  mmControl1_->setVisible(false);
  mmControl1_->Open(QString::fromStdString(DataFilePath(kMusicFile).string()));
}

void Form1::Option1_Click() { ChooseRegion(state_, 1); }

void Form1::Option2_Click() { ChooseRegion(state_, 2); }

void Form1::Option3_Click() { ChooseRegion(state_, 3); }

void Form1::Option4_Click() { state_.Season = 1; }

void Form1::Option5_Click() { state_.Season = 2; }

void Form1::Option6_Click() { state_.FlowType = 1; }

void Form1::Option7_Click() { state_.FlowType = 2; }

void Form1::Check1_Click() {
  if (check1_->isChecked()) mmControl1_->setVisible(true);
}

void Form1::MMControl1_Done() { check1_->setChecked(false); }

void Form1::Command1_Click() {
  hide();
  if (!mainWindow_) {
    mainWindow_ = std::make_unique<Drelvan>(state_, dialogs_);
    connect(mainWindow_.get(), &Drelvan::ProgramEnded, this, &Form1::EndProgram);
    if (!mainWindow_->Form_Load()) return;
  }
  mainWindow_->show();
}

void Form1::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
}

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  // Before Continue this is the only window: closing it ends the program.
  if (!ending_) EndProgram(0);
}

void Form1::EndProgram(int exitCode) {
  if (ending_) return;
  ending_ = true;
  close();
  emit ProgramEnded(exitCode);
}

}  // namespace lakedrift
