#pragma once
#include <QDialog>
#include <array>

#include "model/ModelState.h"
#include "model/ParameterRules.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace lakedrift {

// The parameter dialog "Select parameters": five rows of label, text box and
// scroll bar, each change written into the model state at once. Non-modal;
// Continue hides it and announces it, the close box only hides it.
class FORM3 : public QDialog {
  Q_OBJECT

 public:
  // Builds the dialog with the design values, whatever the state holds.
  FORM3(ModelState& state, QWidget* parent = nullptr);

  // Continue: hides the dialog, then announces it.
  void Command2_Click();
  // Scroll-bar changes of rows 1 to 5.
  void HScroll1_Change() { ScrollChange(ParameterRow::VectorScale); }
  void HScroll2_Change() { ScrollChange(ParameterRow::FrameCount); }
  void HScroll3_Change() { ScrollChange(ParameterRow::AnimationSpeed); }
  void HScroll4_Change() { ScrollChange(ParameterRow::ParticleCount); }
  void HScroll6_Change() { ScrollChange(ParameterRow::DiffusionCoef); }
  // Text changes of rows 1 to 5.
  void Text1_Change() { TextChange(ParameterRow::VectorScale); }
  void Text2_Change() { TextChange(ParameterRow::FrameCount); }
  void Text3_Change() { TextChange(ParameterRow::AnimationSpeed); }
  void Text4_Change() { TextChange(ParameterRow::ParticleCount); }
  void Text6_Change() { TextChange(ParameterRow::DiffusionCoef); }

 signals:
  // Continue was pressed.
  void Continued();

 private:
  struct Row {
    QLabel* label = nullptr;
    QLineEdit* text = nullptr;
    QScrollBar* scroll = nullptr;
  };

  Row MakeRow(ParameterRow row);
  void ScrollChange(ParameterRow row);
  void TextChange(ParameterRow row);
  Row& RowOf(ParameterRow row) { return rows_[static_cast<std::size_t>(row)]; }

  ModelState& state_;
  std::array<Row, kParameterRowCount> rows_;
};

}  // namespace lakedrift
