#pragma once
#include <gtest/gtest.h>
#include <netcdf.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "batch/BatchCommands.h"
#include "support/TestPaths.h"

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

// A parametrised case's name: its row's.
template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// The rows of a CSV file, each as its fields.
inline std::vector<std::vector<std::string>> ReadCsv(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    auto& row = rows.emplace_back();
    std::istringstream fields(line);
    for (std::string f; std::getline(fields, f, ',');) row.push_back(f);
  }
  return rows;
}

// A variable's id in an open NetCDF file: the file's own for none, -1 if absent.
inline int NcVar(int nc, const char* name) {
  int id = name ? -1 : NC_GLOBAL;
  if (name) nc_inq_varid(nc, name, &id);
  return id;
}

// A text attribute of a NetCDF variable (nullptr: of the file), empty without it.
inline std::string NcText(int nc, const char* var, const char* name) {
  std::size_t length = 0;
  if (nc_inq_attlen(nc, NcVar(nc, var), name, &length) != NC_NOERR) return {};
  std::string text(length, '\0');
  nc_get_att_text(nc, NcVar(nc, var), name, text.data());
  return text;
}

inline const std::string kLake = TestDataPath("testlake.inp").string();
inline const std::string kFlow = TestDataPath("testlake.fld").string();

// A command line of words: LAKE and FLOW stand for the test lake's files, RUN
// for "run" on them released at (3, 1) km, @NAME for the file NAME in `dir`.
inline std::vector<std::string> Words(std::string line, const std::filesystem::path& dir = {},
                                      const std::string& flow = kFlow) {
  if (line.starts_with("RUN "))
    line.replace(0, 3, "run --geometry LAKE --flow-file FLOW --season 1 --release 3 1");
  std::istringstream words(line);
  std::vector<std::string> args;
  for (std::string w; words >> w;)
    args.push_back(w == "LAKE" ? kLake : w == "FLOW" ? flow : w[0] == '@' ? (dir / w.substr(1)).string() : w);
  return args;
}

}  // namespace lakedrift::test
