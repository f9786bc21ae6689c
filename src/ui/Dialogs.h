#pragma once
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace lakedrift {

// The icon a message box shows.
enum class MessageIcon { None, Information, Exclamation, Critical };

// The modal boxes the windows ask the user with. The program shows real
// ones; tests answer from a script.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // An input box with a prompt and a title and no default text: the typed
  // text, or nothing when the user cancels.
  virtual std::optional<std::string> InputBox(QWidget* parent, const std::string& prompt,
                                              const std::string& title) = 0;
  // A message box with one OK button.
  virtual void MessageBox(QWidget* parent, MessageIcon icon, const std::string& title,
                          const std::string& text) = 0;
  // The print dialog on `printer`: true when the user chose to print.
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
};

}  // namespace lakedrift
