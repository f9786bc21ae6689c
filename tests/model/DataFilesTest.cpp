#include "model/DataFiles.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"

namespace lakedrift {
namespace {

namespace fs = std::filesystem;

// Which folder holds the file, and what the lookup must answer.
struct LookupRow {
  const char* what;
  fs::path name;
  bool inCurrent, inData, fromData;  // where it is; whether the data folder's copy is the answer
};

TEST(DataFilePath, CurrentFolderFirstThenTheDataFolderForBareNamesOnly) {
  const fs::path root = test::FreshOutputDir("data-file-path");
  const fs::path current = root / "current", data = root / "share";
  const LookupRow rows[] = {
      {"only in the current folder", "geomtan.inp", true, false, false},
      {"in both: the current folder wins", "tanws.fld", true, true, false},
      {"only in the data folder", "bougarab.wav", false, true, true},
      {"nowhere: named as given", "geommal.inp", false, false, false},
      {"a name with a folder is never looked up", "sub/geomzam.inp", false, true, false}};
  for (const LookupRow& row : rows) {
    if (row.inCurrent) test::WriteTextFile(current / row.name, "x");
    if (row.inData) test::WriteTextFile(data / row.name, "x");
    const fs::path expected = row.fromData ? data / row.name : row.name;
    EXPECT_EQ(DataFilePath(row.name, current, data), expected) << row.what;
  }
  // An absolute path stays itself even when the data folder has its name.
  test::WriteTextFile(data / "startup.bmp", "x");
  EXPECT_EQ(DataFilePath(root / "startup.bmp", current, data), root / "startup.bmp");
  // Without a data folder nothing is looked up.
  EXPECT_EQ(DataFilePath("bougarab.wav", current, fs::path()), fs::path("bougarab.wav"));
}

}  // namespace
}  // namespace lakedrift
