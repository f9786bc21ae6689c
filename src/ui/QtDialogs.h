#pragma once
#include "ui/Dialogs.h"

namespace lakedrift {

// The boxes of the desktop program, on Qt's standard dialogs.
class QtDialogs : public Dialogs {
 public:
  // QInputDialog; Cancel gives nothing.
  std::optional<std::string> InputBox(QWidget* parent, const std::string& prompt,
                                      const std::string& title) override;
  // QMessageBox with the icon and an OK button.
  void MessageBox(QWidget* parent, MessageIcon icon, const std::string& title,
                  const std::string& text) override;
  // QPrintDialog.
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;
};

}  // namespace lakedrift
