#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace lakedrift::test {

// Dialogs that answer from a script and remember what they were asked.
class ScriptedDialogs : public Dialogs {
 public:
  struct Message {
    MessageIcon icon;
    std::string title;
    std::string text;
  };

  // The next input box answers `text` (nothing = Cancel).
  void Answer(std::optional<std::string> text) { answers_.push_back(std::move(text)); }
  // The next print dialog answers `accept`, after `setUp` has set the printer.
  void AnswerPrint(bool accept, std::function<void(QPrinter&)> setUp = {}) {
    printAnswers_.push_back({accept, std::move(setUp)});
  }

  std::optional<std::string> InputBox(QWidget* parent, const std::string& prompt,
                                      const std::string& title) override;
  void MessageBox(QWidget* parent, MessageIcon icon, const std::string& title,
                  const std::string& text) override;
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;

  // The prompts of the input boxes asked so far.
  const std::vector<std::string>& Prompts() const { return prompts_; }
  const std::vector<Message>& Messages() const { return messages_; }
  // Answers not used yet.
  std::size_t AnswersLeft() const { return answers_.size(); }

 private:
  struct PrintAnswer {
    bool accept;
    std::function<void(QPrinter&)> setUp;
  };
  std::deque<std::optional<std::string>> answers_;
  std::deque<PrintAnswer> printAnswers_;
  std::vector<std::string> prompts_;
  std::vector<Message> messages_;
};

}  // namespace lakedrift::test
