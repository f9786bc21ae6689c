#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/GeometryReader.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

using test::FreshOutputDir;
using test::TestDataPath;

// A two-triangle lake: the unit square split along its diagonal, one ring
// (counts, elements, nodes, boundary points).
// clang-format off
const char* kTwoTriangles =
    "1\n4\n4 2 3 4\n" "1 1 2 3 0 0 2\n2 1 3 4 1 0 0\n" "1 0 0\n2 1 0\n3 1 1\n4 0 1\n" "1 1 0 0\n2 2 1 0\n3 3 1 1\n4 4 0 1\n";
// clang-format on

// What follows the last boundary point: the grid's PROJ string on a line of
// its own after the word georef, anything else left unread. Items split
// over lines, by commas, tabs and CR LF read the same.
TEST(GeometryText, ItemsReadTheSameHoweverSplitAndTheGeorefIsKeptOnlyRightAfterThem) {
  std::string odd = kTwoTriangles;
  std::replace(odd.begin(), odd.end(), ' ', ',');
  odd.replace(odd.find("1,1,2,3"), 7, "1\n1,\t2\r\n3");
  // clang-format off
  const std::pair<const char*, const char*> rows[] = {  // the text after the points, the string kept
      {"", ""},
      {"georef +proj=tmerc +lon_0=30 +x_0=99402.7 +units=km\n", "+proj=tmerc +lon_0=30 +x_0=99402.7 +units=km"},
      // Commas inside the string belong to it; blanks at either end do not.
      {"\n  georef \t +towgs84=0,0,0 +units=km  \r\nrest 1 2\n", "+towgs84=0,0,0 +units=km"},
      {"georef +proj=utm +zone=35", "+proj=utm +zone=35"},  // at the end, without a line break
      // The word alone on its line, a longer word, other text, after another item.
      {"georef\n+proj=utm\n", ""}, {"georeference +proj=utm\n", ""}, {"made by hand, 2 May\n", ""},
      {"7 georef +proj=utm\n", ""}};
  // clang-format on
  for (const auto& [trailer, georef] : rows) {
    ModelState state, split;
    state.Georef = "left from an earlier file";
    const Status s = ReadGeometryText(state, std::string(kTwoTriangles) + trailer, "lake.inp");
    EXPECT_EQ(std::tuple(s.message(), state.Georef, state.BoundaryY(4)), std::tuple("", georef, 1.0f))
        << "after \"" << trailer << '"';
    EXPECT_EQ(ReadGeometryText(split, odd + trailer, "odd.inp").message(), "") << "split, then " << trailer;
    EXPECT_EQ(std::tie(state.ElemNode, state.ElemNeighbour, state.NodeX, state.BoundaryY, state.Georef),
              std::tie(split.ElemNode, split.ElemNeighbour, split.NodeX, split.BoundaryY, split.Georef))
        << "split, then " << trailer;
  }
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// Faults: a field of the test lake read wrong; a malformed file read or
// partly taken, its item or file not named; a missing file not reported as
// missing.
TEST(GeometryFile, IsReadOrIfMalformedOrMissingRefusedNamingTheItemOrFileLeavingTheStateAlone) {
  const std::string two = kTwoTriangles;
  // clang-format off
  const std::pair<std::string, const char*> rows[] = {  // the text, what the message names
      {"", "ring count"}, {"1\n4\n4 2\n", "third count"},
      {two.substr(0, two.find("2 1 3 4")), "element record 2, element number"},
      {two.substr(0, two.find("4 4 0 1")), "boundary-point record 4, point number"},
      {Replace(two, "2 1 0\n", "2 24km 0\n"), "node record 2, x: expected a number, found \"24km\" on line 7"},
      {Replace(two, "1\n4\n", "0\n4\n"), "ring count"}, {Replace(two, "4 2 3 4", "40000 2 3 4"), "node count"},
      {Replace(two, "4 2 3 4", "4 2.5 3 4"), "element count"},
      {Replace(two, "1 1 2 3 0", "1 1 2 5 0"), "element record 1, node of vertex 3: expected a whole number in 1..4"},
      {Replace(two, "0 0 2\n", "0 0 3\n"), "element record 1, neighbour across edge 3: expected a whole number in 0..2"},
      {Replace(two, "3 3 1 1", "3 9 1 1"), "boundary-point record 3, node number"},
      {Replace(two, "1\n4\n", "1\n3\n"), "ring sizes"},
      {Replace(two, "1 1 2 3 0", "1 1 3 2 0"), "element record 1, vertices: expected vertices listed counter-clockwise"},
      {Replace(two, "3 1 1\n", "3 2 0\n"), "element record 1, vertices: expected a triangle of non-zero area"},
      {Replace(two, "\n1 0 0\n", "\n99999 0 0\n"), "node record 1, node number"}};
  // clang-format on
  ModelState state;
  ASSERT_TRUE(ReadGeometry(state, TestDataPath("testlake.inp")).ok());
  // Rings and their sizes, nodes, the first island point (node (2, 2)) and
  // its mark, a coast point in metres.
  EXPECT_EQ(std::tuple(state.BoundaryRingCount, state.BoundaryRingSize(1), state.BoundaryRingSize(2),
                       state.NodeCount, state.NodeXMetres(2), state.NodeYMetres(36), state.BoundaryNode(21),
                       state.IsBoundaryNode(15), state.BoundaryYMetres(24)),
            std::tuple(2, 20, 4, 36, 2000.0, 10000.0, 15, 1, 6000.0f));
  // The coast spans 0..10 km both ways: bounds 0, 20, 0, 20, already square.
  EXPECT_EQ(std::tuple(state.MapXMax, state.MapWidth, state.MapSize), std::tuple(20.0, state.MapHeight, 10.0f));
  const ModelState before = state;
  for (const auto& [text, expectedInMessage] : rows) {
    const Status s = ReadGeometryText(state, text, "bad.inp");
    EXPECT_EQ(s.kind(), ErrorKind::Malformed) << expectedInMessage;
    for (const char* named : {"bad.inp", expectedInMessage})
      EXPECT_NE(s.message().find(named), std::string::npos) << s.message();
    EXPECT_EQ(std::tie(state.ElemNode, state.NodeX, state.BoundaryX, state.NodeCount, state.MapXMax),
              std::tie(before.ElemNode, before.NodeX, before.BoundaryX, before.NodeCount, before.MapXMax))
        << expectedInMessage;
  }
  const Status missing = ReadGeometry(state, FreshOutputDir("geometry_missing") / "geomtan.inp");
  EXPECT_EQ(missing.kind(), ErrorKind::FileMissing);
  EXPECT_NE(missing.message().find("geomtan.inp"), std::string::npos) << missing.message();
}

}  // namespace
}  // namespace lakedrift
