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
  struct Question {
    std::string prompt;
    std::string title;
  };

  // The next input box answers `text` (nothing = Cancel).
  void Answer(std::optional<std::string> text) { answers_.push_back(std::move(text)); }
  // The next print dialog answers `accept`, after `setUp` has set the printer.
  void AnswerPrint(bool accept, std::function<void(QPrinter&)> setUp = {}) {
    printAnswers_.push_back({accept, std::move(setUp)});
  }
  // Something to do when the next message box is shown.
  void OnNextMessage(std::function<void()> action) { messageActions_.push_back(std::move(action)); }

  std::optional<std::string> InputBox(QWidget* parent, const std::string& prompt,
                                      const std::string& title) override;
  void MessageBox(QWidget* parent, MessageIcon icon, const std::string& title,
                  const std::string& text) override;
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;

  const std::vector<Question>& Questions() const { return questions_; }
  const std::vector<Message>& Messages() const { return messages_; }
  int PrintDialogsShown() const { return printDialogs_; }
  // Input boxes asked after the script ran out (each answered Cancel).
  int Unscripted() const { return unscripted_; }
  // Answers not used yet.
  std::size_t AnswersLeft() const { return answers_.size(); }
  void ClearRecord() {
    questions_.clear();
    messages_.clear();
  }

 private:
  struct PrintAnswer {
    bool accept;
    std::function<void(QPrinter&)> setUp;
  };
  std::deque<std::optional<std::string>> answers_;
  std::deque<PrintAnswer> printAnswers_;
  std::deque<std::function<void()>> messageActions_;
  std::vector<Question> questions_;
  std::vector<Message> messages_;
  int printDialogs_ = 0;
  int unscripted_ = 0;
};

}  // namespace lakedrift::test
