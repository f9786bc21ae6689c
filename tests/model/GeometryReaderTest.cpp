#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/GeometryReader.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

using test::FreshOutputDir;
using test::TestDataPath;
using test::WriteTextFile;

// A two-triangle lake: the unit square split along its diagonal, one ring.
const char* kTwoTriangles =
    "1\n4\n"
    "4 2 3 4\n"
    "1 1 2 3 0 0 2\n"
    "2 1 3 4 1 0 0\n"
    "1 0 0\n2 1 0\n3 1 1\n4 0 1\n"
    "1 1 0 0\n2 2 1 0\n3 3 1 1\n4 4 0 1\n";

TEST(GeometryReader, ReadsTheTestLake) {
  ModelState state;
  ASSERT_TRUE(ReadGeometry(state, TestDataPath("testlake.inp")).ok());
  EXPECT_EQ(state.BoundaryRingCount, 2);
  EXPECT_EQ(state.BoundaryRingSize(1), 20);
  EXPECT_EQ(state.BoundaryRingSize(2), 4);
  EXPECT_EQ(state.NodeCount, 36);
  EXPECT_DOUBLE_EQ(state.NodeXMetres(2), 2000.0);
  EXPECT_DOUBLE_EQ(state.NodeYMetres(36), 10000.0);
  EXPECT_EQ(state.BoundaryNode(21), 15);  // first island point: node (2, 2)
  EXPECT_EQ(state.IsBoundaryNode(15), 1);
  EXPECT_FLOAT_EQ(state.BoundaryYMetres(24), 6000.0f);
  // The coast spans 0..10 km both ways: bounds 0, 20, 0, 20, already square.
  EXPECT_DOUBLE_EQ(state.MapXMax, 20);
  EXPECT_DOUBLE_EQ(state.MapWidth, state.MapHeight);
  EXPECT_FLOAT_EQ(state.MapSize, 10.0f);
}

TEST(GeometryReader, ItemsSplitOverLinesAndCommasReadTheSame) {
  std::string odd = kTwoTriangles;
  for (char& c : odd)
    if (c == ' ') c = ',';
  odd.replace(odd.find("1,1,2,3"), 7, "1\n1,\t2\r\n3");
  const auto dir = FreshOutputDir("geometry_split");
  WriteTextFile(dir / "plain.inp", kTwoTriangles);
  WriteTextFile(dir / "odd.inp", odd);
  ModelState plain, split;
  ASSERT_TRUE(ReadGeometry(plain, dir / "plain.inp").ok());
  const Status s = ReadGeometry(split, dir / "odd.inp");
  ASSERT_TRUE(s.ok()) << s.message();
  EXPECT_EQ(plain.ElemNode, split.ElemNode);
  EXPECT_EQ(plain.ElemNeighbour, split.ElemNeighbour);
  EXPECT_EQ(plain.NodeX, split.NodeX);
  EXPECT_EQ(plain.BoundaryY, split.BoundaryY);
}

TEST(GeometryReader, MissingFileIsReportedAsMissing) {
  ModelState state;
  state.Region = 1;
  const Status s = ReadGeometry(state, FreshOutputDir("geometry_missing") / "geomtan.inp");
  EXPECT_EQ(s.kind(), ErrorKind::FileMissing);
  EXPECT_NE(s.message().find("geomtan.inp"), std::string::npos);
}

// What follows the last boundary point: the grid's PROJ string on a line of
// its own after the word georef, anything else left unread.
struct TrailerCase {
  const char* name;
  const char* trailer;
  const char* georef;
};

class GeorefLine : public ::testing::TestWithParam<TrailerCase> {};

TEST_P(GeorefLine, IsKeptOnlyRightAfterTheLastBoundaryPoint) {
  const TrailerCase& c = GetParam();
  const auto path = FreshOutputDir(std::string("georef_") + c.name) / "lake.inp";
  WriteTextFile(path, std::string(kTwoTriangles) + c.trailer);
  ModelState state;
  state.Georef = "left from an earlier file";
  const Status s = ReadGeometry(state, path);
  ASSERT_TRUE(s.ok()) << s.message();
  EXPECT_EQ(state.Georef, c.georef);
  EXPECT_EQ(state.BoundaryY(4), 1.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GeorefLine,
    ::testing::Values(
        TrailerCase{"none", "", ""},
        TrailerCase{"plain", "georef +proj=tmerc +lon_0=30 +x_0=99402.7 +units=km\n",
                    "+proj=tmerc +lon_0=30 +x_0=99402.7 +units=km"},
        // Commas inside the string belong to it; blanks at either end do not.
        TrailerCase{"commas_and_blanks", "\n  georef \t +towgs84=0,0,0 +units=km  \r\nrest 1 2\n",
                    "+towgs84=0,0,0 +units=km"},
        TrailerCase{"at_end_without_line_break", "georef +proj=utm +zone=35", "+proj=utm +zone=35"},
        TrailerCase{"word_alone_on_its_line", "georef\n+proj=utm\n", ""},
        TrailerCase{"longer_word", "georeference +proj=utm\n", ""},
        TrailerCase{"other_text", "made by hand, 2 May\n", ""},
        TrailerCase{"after_another_item", "7 georef +proj=utm\n", ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct MalformedCase {
  const char* name;
  std::string text;
  const char* expectedInMessage;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

std::string Truncate(const std::string& text, const std::string& before) {
  return text.substr(0, text.find(before));
}

class MalformedGeometry : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedGeometry, IsRefusedNamingTheItemAndLeavesTheStateAlone) {
  const MalformedCase& c = GetParam();
  const auto path = FreshOutputDir(std::string("malformed_") + c.name) / "bad.inp";
  WriteTextFile(path, c.text);
  ModelState state;
  ASSERT_TRUE(ReadGeometry(state, TestDataPath("testlake.inp")).ok());
  const ModelState before = state;
  const Status s = ReadGeometry(state, path);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.kind(), ErrorKind::Malformed);
  EXPECT_NE(s.message().find("bad.inp"), std::string::npos) << s.message();
  EXPECT_NE(s.message().find(c.expectedInMessage), std::string::npos) << s.message();
  EXPECT_EQ(state.ElemNode, before.ElemNode);
  EXPECT_EQ(state.NodeX, before.NodeX);
  EXPECT_EQ(state.BoundaryX, before.BoundaryX);
  EXPECT_EQ(state.NodeCount, before.NodeCount);
  EXPECT_EQ(state.MapXMax, before.MapXMax);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedGeometry,
    ::testing::Values(
        MalformedCase{"empty", "", "ring count"}, MalformedCase{"in_header", "1\n4\n4 2\n", "third count"},
        MalformedCase{"in_elements", Truncate(kTwoTriangles, "2 1 3 4"), "element record 2, element number"},
        MalformedCase{"in_boundary", Truncate(kTwoTriangles, "4 4 0 1"),
                      "boundary-point record 4, point number"},
        MalformedCase{"number_with_letters", Replace(kTwoTriangles, "2 1 0\n", "2 24km 0\n"),
                      "node record 2, x: expected a number, found \"24km\" on line 7"},
        MalformedCase{"zero_rings", Replace(kTwoTriangles, "1\n4\n", "0\n4\n"), "ring count"},
        MalformedCase{"count_too_big", Replace(kTwoTriangles, "4 2 3 4", "40000 2 3 4"), "node count"},
        MalformedCase{"fractional_count", Replace(kTwoTriangles, "4 2 3 4", "4 2.5 3 4"), "element count"},
        MalformedCase{"node_out_of_range", Replace(kTwoTriangles, "1 1 2 3 0", "1 1 2 5 0"),
                      "element record 1, node of vertex 3: expected a whole number in 1..4"},
        MalformedCase{"neighbour_out_of_range", Replace(kTwoTriangles, "0 0 2\n", "0 0 3\n"),
                      "element record 1, neighbour across edge 3: expected a whole number in 0..2"},
        MalformedCase{"boundary_node", Replace(kTwoTriangles, "3 3 1 1", "3 9 1 1"),
                      "boundary-point record 3, node number"},
        MalformedCase{"rings_do_not_add_up", Replace(kTwoTriangles, "1\n4\n", "1\n3\n"), "ring sizes"},
        MalformedCase{"clockwise", Replace(kTwoTriangles, "1 1 2 3 0", "1 1 3 2 0"),
                      "element record 1, vertices: expected vertices listed counter-clockwise"},
        MalformedCase{"zero_area", Replace(kTwoTriangles, "3 1 1\n", "3 2 0\n"),
                      "element record 1, vertices: expected a triangle of non-zero area"},
        MalformedCase{"sequence_overflow", Replace(kTwoTriangles, "\n1 0 0\n", "\n99999 0 0\n"),
                      "node record 1, node number"}),
    [](const auto& row) { return std::string(row.param.name); });

// The extent examples: boundary points spanning the given box.
struct ExtentCase {
  const char* name;
  double xMin, xMax, yMin, yMax;
  double mapXMin, mapXMax, mapYMin, mapYMax, mapSize;
};

class MapExtent : public ::testing::TestWithParam<ExtentCase> {};

TEST_P(MapExtent, RoundsOntoTensAndSquaresAboutTheCentre) {
  const ExtentCase& c = GetParam();
  ModelState state;
  state.BoundaryCount = 2;
  state.BoundaryX.Resize(2);
  state.BoundaryY.Resize(2);
  state.BoundaryX(1) = c.xMin, state.BoundaryY(1) = static_cast<float>(c.yMin);
  state.BoundaryX(2) = c.xMax, state.BoundaryY(2) = static_cast<float>(c.yMax);
  ComputeMapExtent(state);
  EXPECT_DOUBLE_EQ(state.MapXMin, c.mapXMin);
  EXPECT_DOUBLE_EQ(state.MapXMax, c.mapXMax);
  EXPECT_DOUBLE_EQ(state.MapYMin, c.mapYMin);
  EXPECT_DOUBLE_EQ(state.MapYMax, c.mapYMax);
  EXPECT_DOUBLE_EQ(state.MapWidth, state.MapHeight);
  EXPECT_DOUBLE_EQ(state.MapWidth, state.MapXMax - state.MapXMin);
  EXPECT_NEAR(state.MapSize, c.mapSize, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Examples, MapExtent,
                         ::testing::Values(
                             // Heights grow about the centre: y bounds −420, −20 become −525, 85.
                             ExtentCase{"wide_south", 3.5, 612.8, -402, -0.7, 10, 620, -525, 85, 609.3},
                             ExtentCase{"from_zero", 0, 95, 0, 40, 0, 100, -25, 75, 95},
                             // A positive lower bound moves inwards: MapSize exceeds MapWidth.
                             ExtentCase{"inward", 0.1, 99.9, 0.1, 50, 10, 100, -10, 80, 99.8},
                             ExtentCase{"tall", 0, 40, 0, 95, -25, 75, 0, 100, 95}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lakedrift
