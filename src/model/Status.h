#pragma once
#include <string>
#include <utility>

namespace lakedrift {

// What went wrong, for callers that must tell a missing file from a bad one.
enum class ErrorKind { None, FileMissing, Malformed, ReadFailed, ShortFile, BadValue };

// The outcome of an operation that can fail: OK, or a kind and a message for
// the user that names the file, the item and what was expected.
class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(); }
  static Status Fail(ErrorKind kind, std::string message) {
    Status s;
    s.kind_ = kind;
    s.message_ = std::move(message);
    return s;
  }
  bool ok() const { return kind_ == ErrorKind::None; }
  ErrorKind kind() const { return kind_; }
  const std::string& message() const { return message_; }

 private:
  ErrorKind kind_ = ErrorKind::None;
  std::string message_;
};

}  // namespace lakedrift
