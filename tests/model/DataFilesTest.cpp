#include "model/DataFiles.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/TestPaths.h"

namespace lakedrift {
namespace {

namespace fs = std::filesystem;

TEST(DataFilePath, CurrentFolderFirstThenTheDataFolderForBareNamesOnly) {
  const fs::path root = test::FreshOutputDir("data-file-path");
  const fs::path current = root / "current", data = root / "share";
  // What is looked up, whether it is in the current folder, in the data
  // folder, and whether the data folder's copy is the answer.
  const std::tuple<const char*, fs::path, bool, bool, bool> rows[] = {
      {"only in the current folder", "geomtan.inp", true, false, false},
      {"in both: the current folder wins", "tanws.fld", true, true, false},
      {"only in the data folder", "bougarab.wav", false, true, true},
      {"nowhere: named as given", "geommal.inp", false, false, false},
      {"a name with a folder is never looked up", "sub/geomzam.inp", false, true, false}};
  for (const auto& [what, name, inCurrent, inData, fromData] : rows) {
    if (inCurrent) test::WriteTextFile(current / name, "x");
    if (inData) test::WriteTextFile(data / name, "x");
    EXPECT_EQ(DataFilePath(name, current, data), fromData ? data / name : name) << what;
  }
  // An absolute path stays itself even when the data folder has its name.
  test::WriteTextFile(data / "startup.bmp", "x");
  EXPECT_EQ(DataFilePath(root / "startup.bmp", current, data), root / "startup.bmp");
  // Without a data folder nothing is looked up.
  EXPECT_EQ(DataFilePath("bougarab.wav", current, fs::path()), fs::path("bougarab.wav"));
}

}  // namespace
}  // namespace lakedrift
