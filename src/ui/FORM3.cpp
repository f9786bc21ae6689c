#include "ui/FORM3.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lakedrift {

namespace {

constexpr int kTextStretch = 1;
constexpr int kScrollStretch = 3;       // the bar is about three times the box
constexpr int kFirstSimulationRow = 3;  // rows 0..2 in the first frame
constexpr int kDialogWidth = 520;

QString ControlName(const char* kind, int number) {
  return QString::fromLatin1(kind) + QString::number(number);
}

}  // namespace

FORM3::FORM3(ModelState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setWindowTitle("Select parameters");
  setModal(false);
  auto* drawing = new QGroupBox("Drawing and animation parameters", this);
  drawing->setObjectName("Frame1");
  auto* simulation = new QGroupBox("Simulation parameters", this);
  simulation->setObjectName("Frame2");
  auto* drawingLayout = new QVBoxLayout(drawing);
  auto* simulationLayout = new QVBoxLayout(simulation);

  int index = 0;
  for (ParameterRow row : kParameterRows) {
    Row& controls = RowOf(row) = MakeRow(row);
    QVBoxLayout* frame = index < kFirstSimulationRow ? drawingLayout : simulationLayout;
    frame->addWidget(controls.label);
    auto* line = new QHBoxLayout;
    line->addWidget(controls.text, kTextStretch);
    line->addWidget(controls.scroll, kScrollStretch);
    frame->addLayout(line);
    ++index;
  }

  auto* command2 = new QPushButton("Continue", this);
  command2->setObjectName("Command2");
  command2->setAutoDefault(false);
  connect(command2, &QPushButton::clicked, this, &FORM3::Command2_Click);

  auto* frames = new QVBoxLayout;
  frames->addWidget(drawing);
  frames->addWidget(simulation);
  auto* layout = new QGridLayout(this);
  layout->addLayout(frames, 0, 0);
  layout->addWidget(command2, 0, 1, Qt::AlignVCenter);
  resize(kDialogWidth, sizeHint().height());
}

FORM3::Row FORM3::MakeRow(ParameterRow row) {
  const ParameterRowDesign& design = RowDesign(row);
  Row controls;
  controls.label = new QLabel(design.caption, this);
  controls.label->setObjectName(ControlName("Label", design.controlNumber));
  controls.text = new QLineEdit(QString::fromStdString(InitialText(row)), this);
  controls.text->setObjectName(ControlName("Text", design.controlNumber));
  controls.scroll = new QScrollBar(Qt::Horizontal, this);
  controls.scroll->setObjectName(ControlName("HScroll", design.controlNumber));
  controls.scroll->setRange(design.minimum, design.maximum);
  controls.scroll->setSingleStep(design.smallStep);
  controls.scroll->setPageStep(design.largeStep);
  controls.scroll->setValue(design.initialPosition);
  controls.scroll->setTracking(false);  // a dragged thumb acts when released
  connect(controls.scroll, &QScrollBar::valueChanged, this, [this, row] { ScrollChange(row); });
  connect(controls.text, &QLineEdit::textChanged, this, [this, row] { TextChange(row); });
  return controls;
}

void FORM3::ScrollChange(ParameterRow row) {
  Row& controls = RowOf(row);
  const std::string text = ApplyRowPosition(state_, row, controls.scroll->value());
  {
    // The text change below runs whether or not the text differs.
    const QSignalBlocker blocker(controls.text);
    controls.text->setText(QString::fromStdString(text));
  }
  TextChange(row);
}

void FORM3::TextChange(ParameterRow row) { ApplyRowText(state_, row, RowOf(row).text->text().toStdString()); }

void FORM3::Command2_Click() {
  hide();
  emit Continued();
}

}  // namespace lakedrift
