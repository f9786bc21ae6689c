#include "ui/ScriptedDialogs.h"

namespace lakedrift::test {

std::optional<std::string> ScriptedDialogs::InputBox(QWidget* /*parent*/, const std::string& prompt,
                                                     const std::string& /*title*/) {
  prompts_.push_back(prompt);
  if (answers_.empty()) return std::nullopt;
  std::optional<std::string> answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedDialogs::MessageBox(QWidget* /*parent*/, MessageIcon icon, const std::string& title,
                                 const std::string& text) {
  messages_.push_back({icon, title, text});
}

bool ScriptedDialogs::PrintDialog(QWidget* /*parent*/, QPrinter& printer) {
  if (printAnswers_.empty()) return false;
  PrintAnswer answer = std::move(printAnswers_.front());
  printAnswers_.pop_front();
  if (answer.setUp) answer.setUp(printer);
  return answer.accept;
}

}  // namespace lakedrift::test
