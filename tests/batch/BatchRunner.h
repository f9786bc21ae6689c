#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "batch/BatchCommands.h"

namespace lakedrift::test {

// What one lakedrift-batch command answered.
struct BatchResult {
  int status;
  std::string out, err;
};

// Runs a lakedrift-batch command in this process with `input` on its
// standard input.
inline BatchResult Batch(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunBatch(args, in, out, err, false);
  return {status, out.str(), err.str()};
}

// The whole content of a file, empty when there is none.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Runs a lakedrift-batch command line of words separated by spaces.
inline BatchResult BatchLine(const std::string& line, const std::string& input = "") {
  std::istringstream words(line);
  std::vector<std::string> args;
  for (std::string word; words >> word;) args.push_back(word);
  return Batch(args, input);
}

}  // namespace lakedrift::test
