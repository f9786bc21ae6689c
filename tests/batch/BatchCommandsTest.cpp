#include <gtest/gtest.h>
#include <netcdf.h>

#include <QImage>
#include <QImageReader>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "batch/BatchCommands.h"
#include "batch/BatchRunner.h"
#include "batch/DensityImage.h"
#include "model/GeometryReader.h"
#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "support/FileSizeLimit.h"
#include "support/TestPaths.h"
#include "view/Palette.h"
#include "view/RecordingSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

using Result = test::BatchResult;
using test::Batch;

// A lake of two triangles whose coast is the rectangle of the given box.
std::filesystem::path BoxLake(const std::string& name, double x0, double x1, double y0, double y1) {
  std::ostringstream text;
  text.precision(17);
  text << "1\n4\n4 2 3 4\n1 1 2 3 0 0 2\n2 1 3 4 1 0 0\n";
  const double xs[] = {x0, x1, x1, x0}, ys[] = {y0, y0, y1, y1};
  for (int n = 0; n < 4; ++n) text << n + 1 << ' ' << xs[n] << ' ' << ys[n] << '\n';
  for (int n = 0; n < 4; ++n) text << n + 1 << ' ' << n + 1 << ' ' << xs[n] << ' ' << ys[n] << '\n';
  const auto path = test::FreshOutputDir("batch_box_" + name) / "box.inp";
  test::WriteTextFile(path, text.str());
  return path;
}

std::map<std::string, std::string> InfoLines(const std::string& out) {
  std::map<std::string, std::string> lines;
  std::istringstream in(out);
  std::string name, value;
  while (in >> name >> value) lines[name] = value;
  return lines;
}

struct InfoCase {
  const char* name;
  double x0, x1, y0, y1;
  const char *xMin, *xMax, *yMin, *yMax, *size;
};

class BatchInfo : public ::testing::TestWithParam<InfoCase> {};

TEST_P(BatchInfo, PrintsCountsAndTheSquaredExtent) {
  const InfoCase& c = GetParam();
  const Result r = Batch({"info", BoxLake(c.name, c.x0, c.x1, c.y0, c.y1).string()});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  auto lines = InfoLines(r.out);
  EXPECT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines["NodeCount"], "4");
  EXPECT_EQ(lines["ElementCount"], "2");
  EXPECT_EQ(lines["BoundaryCount"], "4");
  EXPECT_EQ(lines["BoundaryRingCount"], "1");
  EXPECT_EQ(lines["MapXMin"], c.xMin);
  EXPECT_EQ(lines["MapXMax"], c.xMax);
  EXPECT_EQ(lines["MapYMin"], c.yMin);
  EXPECT_EQ(lines["MapYMax"], c.yMax);
  EXPECT_EQ(lines["MapWidth"], lines["MapHeight"]);
  EXPECT_EQ(lines["MapSize"], c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BatchInfo,
    ::testing::Values(InfoCase{"wide", 3.5, 612.8, -402, -0.7, "10", "620", "-525", "85", "609.3"},
                      InfoCase{"from_zero", 0, 95, 0, 40, "0", "100", "-25", "75", "95"},
                      InfoCase{"inward", 0.1, 99.9, 0.1, 50, "10", "100", "-10", "80", "99.8"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BatchProbe, AnswersWaterAndElementForEachLine) {
  const Result r =
      Batch({"probe", test::TestDataPath("testlake.inp").string()}, "5 5\n2 5\n5 0\n5 10\n-1 5\n\n1.5 0.5\n");
  ASSERT_EQ(r.status, kExitOk) << r.err;
  std::istringstream in(r.out);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<std::string> row;
    for (std::string f; fields >> f;) row.push_back(f);
    rows.push_back(row);
  }
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"5", "5", "0", "0"}));  // on the island
  EXPECT_EQ(rows[1][2], "1");
  EXPECT_NE(rows[1][3], "0");
  EXPECT_EQ(rows[2][2], "0");  // southern shore
  EXPECT_EQ(rows[3][2], "1");  // northern shore
  EXPECT_EQ(rows[4], (std::vector<std::string>{"-1", "5", "0", "0"}));
  EXPECT_EQ(rows[5], (std::vector<std::string>{"1.5", "0.5", "1", "1"}));
}

TEST(BatchProbe, RefusesALineThatIsNotTwoNumbers) {
  const Result r = Batch({"probe", test::TestDataPath("testlake.inp").string()}, "1 2\n3 x\n");
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
}

std::vector<std::string> RunArgs(const std::filesystem::path& flow, const std::string& x,
                                 const std::string& y) {
  return {"run",
          "--geometry",
          test::TestDataPath("testlake.inp").string(),
          "--flow-file",
          flow.string(),
          "--season",
          "1",
          "--release",
          x,
          y};
}

std::vector<std::vector<std::string>> ReadCsv(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> row;
    std::istringstream fields(line);
    for (std::string f; std::getline(fields, f, ',');) row.push_back(f);
    rows.push_back(row);
  }
  return rows;
}

TEST(BatchRun, WithoutDiffusionAUniformCurrentGivesExactPositions) {
  const auto dir = test::FreshOutputDir("batch_uniform");
  const auto flow = test::WriteUniformFlow(
      "batch_uniform", 36, 84, [](int) { return 0.001f; }, [](int) { return 0.0f; });
  auto args = RunArgs(flow, "1", "3");
  for (const char* a : {"--diffusion", "0", "--particles", "2", "--seed", "5", "--tracks"}) args.push_back(a);
  args.push_back((dir / "tracks.csv").string());
  const Result r = Batch(args);
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "seed 5\n");
  const auto rows = ReadCsv(dir / "tracks.csv");
  ASSERT_EQ(rows.size(), 1u + 2u * 84u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"particle", "level", "time", "x_m", "y_m"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "1", "1997-04-02T02:00:00", "1000", "3000"}));
  // Level by level: particle 2 of level 1, then level 2.
  EXPECT_EQ(rows[2][0], "2");
  EXPECT_EQ(rows[3][1], "2");
  EXPECT_EQ(rows[3][2], "1997-04-02T04:00:00");
  const auto& last = rows.back();
  EXPECT_EQ(last[1], "84");
  EXPECT_EQ(last[2], "1997-04-09T00:00:00");
  EXPECT_NEAR(std::stod(last[3]), 1000.0 + 83 * 7200.0 * static_cast<double>(0.001f), 1e-6);
  EXPECT_EQ(last[4], "3000");
}

TEST(BatchRun, SeededRunGivesTheDesktopEnginesTracks) {
  const auto dir = test::FreshOutputDir("batch_seeded");
  auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
  for (const char* a : {"--particles", "7", "--seed", "4242", "--as-desktop", "--tracks"}) args.push_back(a);
  args.push_back((dir / "tracks.csv").string());
  ASSERT_EQ(Batch(args).status, kExitOk);

  ModelState state = test::TestLakeState();
  state.ParticleCount = 7;
  RecordingSurface surface(100, 100);
  DrawnRun drawn_run(state, surface, 4242);
  SimulationRun& run = drawn_run.run;
  ASSERT_TRUE(RunSimulation(run, [] { return true; }).ok());
  const auto rows = ReadCsv(dir / "tracks.csv");
  ASSERT_EQ(rows.size(), 1u + 7u * 84u);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const int p = std::stoi(rows[i][0]), level = std::stoi(rows[i][1]);
    ASSERT_EQ(std::stod(rows[i][3]), run.TrackX(p, level)) << i;
    ASSERT_EQ(std::stof(rows[i][4]), run.TrackY(p, level)) << i;
  }
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(BatchRun, ThreadedTracksDoNotDependOnTheThreadCount) {
  const auto dir = test::FreshOutputDir("batch_threads");
  for (const char* threads : {"2", "3"}) {
    auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
    for (const char* a : {"--particles", "40", "--seed", "77", "--threads", threads, "--tracks"})
      args.push_back(a);
    args.push_back((dir / (std::string("tracks") + threads + ".csv")).string());
    ASSERT_EQ(Batch(args).status, kExitOk);
  }
  const std::string two = ReadAll(dir / "tracks2.csv");
  EXPECT_EQ(std::count(two.begin(), two.end(), '\n'), 1 + 40 * 84);
  EXPECT_EQ(two, ReadAll(dir / "tracks3.csv"));
}

TEST(BatchRun, ThreadedRunWithoutDiffusionMatchesTheSerialOne) {
  const auto dir = test::FreshOutputDir("batch_threads_k0");
  for (const char* engine : {"--as-desktop", "--threads"}) {
    auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
    for (const char* a : {"--particles", "6", "--diffusion", "0", engine}) args.push_back(a);
    if (engine == std::string("--threads")) args.push_back("2");
    args.push_back("--tracks");
    args.push_back((dir / (std::string(engine) + ".csv")).string());
    ASSERT_EQ(Batch(args).status, kExitOk);
  }
  EXPECT_EQ(ReadAll(dir / "--as-desktop.csv"), ReadAll(dir / "--threads.csv"));
}

TEST(BatchRun, NetcdfHoldsCfTrajectories) {
  const auto dir = test::FreshOutputDir("batch_netcdf");
  auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
  for (const char* a : {"--particles", "5", "--seed", "9", "--tracks"}) args.push_back(a);
  args.push_back((dir / "tracks.csv").string());
  args.push_back("--netcdf");
  args.push_back((dir / "tracks.nc").string());
  ASSERT_EQ(Batch(args).status, kExitOk);

  int ncid = -1;
  ASSERT_EQ(nc_open((dir / "tracks.nc").c_str(), NC_NOWRITE, &ncid), NC_NOERR);
  int dim = -1;
  size_t length = 0;
  ASSERT_EQ(nc_inq_dimid(ncid, "trajectory", &dim), NC_NOERR);
  nc_inq_dimlen(ncid, dim, &length);
  EXPECT_EQ(length, 5u);
  ASSERT_EQ(nc_inq_dimid(ncid, "obs", &dim), NC_NOERR);
  nc_inq_dimlen(ncid, dim, &length);
  EXPECT_EQ(length, 84u);
  auto text = [ncid](int var, const char* name) {
    size_t n = 0;
    if (nc_inq_attlen(ncid, var, name, &n) != NC_NOERR) return std::string("<missing>");
    std::string value(n, '\0');
    nc_get_att_text(ncid, var, name, value.data());
    return value;
  };
  EXPECT_EQ(text(NC_GLOBAL, "Conventions"), "CF-1.8");
  EXPECT_EQ(text(NC_GLOBAL, "featureType"), "trajectory");
  EXPECT_EQ(text(NC_GLOBAL, "seed"), "9");
  int xVar = -1, yVar = -1, timeVar = -1, trajVar = -1;
  ASSERT_EQ(nc_inq_varid(ncid, "x", &xVar), NC_NOERR);
  ASSERT_EQ(nc_inq_varid(ncid, "y", &yVar), NC_NOERR);
  ASSERT_EQ(nc_inq_varid(ncid, "time", &timeVar), NC_NOERR);
  ASSERT_EQ(nc_inq_varid(ncid, "trajectory", &trajVar), NC_NOERR);
  EXPECT_EQ(text(trajVar, "cf_role"), "trajectory_id");
  EXPECT_EQ(text(timeVar, "units"), "hours since 1997-04-02 02:00:00");
  EXPECT_EQ(text(xVar, "units"), "m");
  std::vector<double> x(5 * 84), time(5 * 84);
  std::vector<float> y(5 * 84);
  nc_get_var_double(ncid, xVar, x.data());
  nc_get_var_float(ncid, yVar, y.data());
  nc_get_var_double(ncid, timeVar, time.data());
  nc_close(ncid);
  // The same values as the CSV: particle p, level l at [p − 1][l − 1].
  const auto rows = ReadCsv(dir / "tracks.csv");
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::size_t p = std::stoul(rows[i][0]) - 1, level = std::stoul(rows[i][1]) - 1;
    ASSERT_EQ(x[p * 84 + level], std::stod(rows[i][3]));
    ASSERT_EQ(y[p * 84 + level], std::stof(rows[i][4]));
    ASSERT_EQ(time[p * 84 + level], 2.0 * static_cast<double>(level));
  }
}

TEST(BatchRun, DensityCountsAddUpToTheParticles) {
  const auto dir = test::FreshOutputDir("batch_density");
  auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
  for (const char* a :
       {"--particles", "300", "--diffusion", "1", "--seed", "1", "--cell", "2", "--size", "200", "--density"})
    args.push_back(a);
  args.push_back((dir / "density.csv").string());
  args.push_back("--density-image");
  args.push_back((dir / "density.png").string());
  const Result r = Batch(args);
  ASSERT_EQ(r.status, kExitOk) << r.err;
  // The picture shows the fullest cell in the darkest class and leaves
  // the empty ones white.
  const QImage picture(QString::fromStdString((dir / "density.png").string()));
  ASSERT_EQ(picture.width(), 200);
  const Rgb darkest = RampColour(kRampClasses - 1);
  int dark = 0, white = 0;
  for (int py = 0; py < 200; ++py)
    for (int px = 0; px < 200; ++px) {
      dark += picture.pixel(px, py) == qRgb(darkest.r, darkest.g, darkest.b);
      white += picture.pixel(px, py) == qRgb(255, 255, 255);
    }
  EXPECT_GT(dark, 0);
  EXPECT_GT(white, 200 * 200 / 2);
  const auto rows = ReadCsv(dir / "density.csv");
  ASSERT_EQ(rows[0], (std::vector<std::string>{"column", "row", "x_min_km", "y_min_km", "count"}));
  // The test lake's map extent is 0..20 km both ways: 10 × 10 cells of 2 km.
  ASSERT_EQ(rows.size(), 101u);
  long total = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) total += std::stol(rows[i][4]);
  EXPECT_EQ(total, 300);
}

TEST(BatchRun, ImageIsTheFinalPicture) {
  const auto dir = test::FreshOutputDir("batch_image");
  auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
  for (const char* a : {"--particles", "10", "--seed", "1", "--size", "240", "--image"}) args.push_back(a);
  args.push_back((dir / "run.png").string());
  const Result r = Batch(args);
  ASSERT_EQ(r.status, kExitOk) << r.err;
  QImage image(QString::fromStdString((dir / "run.png").string()));
  ASSERT_EQ(image.width(), 240);
  ASSERT_EQ(image.height(), 240);
  int red = 0, green = 0, black = 0;
  for (int py = 0; py < 240; ++py)
    for (int px = 0; px < 240; ++px) {
      const QRgb c = image.pixel(px, py);
      red += c == qRgb(255, 0, 0);
      green += c == qRgb(0, 128, 0);
      black += c == qRgb(0, 0, 0);
    }
  EXPECT_GT(red, 0);    // tracks
  EXPECT_GT(green, 0);  // release marker
  EXPECT_GT(black, 0);  // coast
}

// Every pixel of a picture is one of the 16 palette colours.
bool OnlyPaletteColours(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  for (int py = 0; py < image.height(); ++py)
    for (int px = 0; px < image.width(); ++px) {
      const QRgb c = image.pixel(px, py);
      bool found = false;
      for (int i = 0; i < kPaletteSize && !found; ++i)
        found = c == qRgb(PaletteColour(i).r, PaletteColour(i).g, PaletteColour(i).b);
      if (!found) return false;
    }
  return true;
}

// The film shows the release and each of the steps, in the palette, at the
// frame rate asked for, looping, and its last frame is the run's picture.
TEST(BatchRun, FilmHasAFramePerRedrawAndEndsOnTheImage) {
  const auto dir = test::FreshOutputDir("batch_film");
  auto args = RunArgs(test::TestDataPath("testlake.fld"), "3", "1");
  for (const char* a : {"--particles", "10", "--seed", "1", "--size", "160", "--fps", "4", "--image"})
    args.push_back(a);
  args.push_back((dir / "run.png").string());
  args.push_back("--film");
  args.push_back((dir / "run.gif").string());
  const Result r = Batch(args);
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const QImage picture(QString::fromStdString((dir / "run.png").string()));
  EXPECT_TRUE(OnlyPaletteColours(picture));
  QImageReader film(QString::fromStdString((dir / "run.gif").string()));
  ASSERT_TRUE(film.supportsAnimation());
  EXPECT_EQ(film.loopCount(), -1);  // for ever
  int frames = 0;
  QImage frame, first;
  while (film.read(&frame)) {
    if (++frames == 1) first = frame;
    EXPECT_EQ(film.nextImageDelay(), 250) << "frame " << frames;
    EXPECT_TRUE(OnlyPaletteColours(frame)) << "frame " << frames;
  }
  EXPECT_EQ(frames, 84);
  EXPECT_TRUE(frame.convertToFormat(QImage::Format_RGB32) == picture.convertToFormat(QImage::Format_RGB32));
  EXPECT_FALSE(first.convertToFormat(QImage::Format_RGB32) == picture.convertToFormat(QImage::Format_RGB32));
}

// The flow animation has one frame per flow frame asked for, in the palette.
TEST(BatchAnimate, HasAFramePerFlowFrame) {
  const auto dir = test::FreshOutputDir("batch_animate");
  const Result r = Batch({"animate", "--geometry", test::TestDataPath("testlake.inp").string(), "--flow-file",
                          test::TestDataPath("testlake.fld").string(), "--season", "1", "--frames", "5",
                          "--size", "120", "--film", (dir / "flow.gif").string()});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  QImageReader film(QString::fromStdString((dir / "flow.gif").string()));
  int frames = 0;
  QImage frame;
  while (film.read(&frame)) {
    ++frames;
    EXPECT_TRUE(OnlyPaletteColours(frame)) << "frame " << frames;
  }
  EXPECT_EQ(frames, 5);
}

struct BadCase {
  const char* name;
  std::vector<std::string> extra;
  const char* expectedInMessage;
  const char* command = "run";
};

class BadRunOptions : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadRunOptions, GetOneLineNamingThemAndStatusTwo) {
  std::vector<std::string> args = {GetParam().command};
  for (const auto& a : GetParam().extra) args.push_back(a);
  const Result r = Batch(args);
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find(GetParam().expectedInMessage), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

const std::string kLake = test::TestDataPath("testlake.inp").string();
const std::string kFlow = test::TestDataPath("testlake.fld").string();

INSTANTIATE_TEST_SUITE_P(
    Table, BadRunOptions,
    ::testing::Values(
        BadCase{"unknown", {"--wind", "3"}, "--wind: unknown option"},
        BadCase{"no_release", {"--geometry", kLake, "--flow-file", kFlow, "--season", "1"}, "--release"},
        BadCase{"release_on_island",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "5", "5"},
                "not on the water"},
        BadCase{"release_not_number", {"--release", "a", "1"}, "--release: expected X in km"},
        BadCase{"season", {"--region", "1", "--season", "3"}, "--season: expected 1 or 2, got '3'"},
        BadCase{"region", {"--region", "4"}, "--region: expected 1, 2 or 3"},
        BadCase{"particles_zero", {"--particles", "0"}, "--particles: expected a positive whole number"},
        BadCase{"particles_fraction", {"--particles", "2.5"}, "--particles"},
        BadCase{"diffusion_negative", {"--diffusion", "-1"}, "--diffusion"},
        BadCase{"missing_value", {"--geometry"}, "--geometry: 1 required FILE missing"},
        BadCase{"geometry_missing",
                {"--geometry", "/nonexistent/lake.inp", "--flow-file", kFlow, "--season", "1", "--release",
                 "1", "1"},
                "geometry file /nonexistent/lake.inp: not found"},
        BadCase{"flow_missing",
                {"--geometry", kLake, "--flow-file", "/nonexistent/x.fld", "--season", "1", "--release", "1",
                 "1"},
                "/nonexistent/x.fld not found"},
        BadCase{"tracks_folder",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1",
                 "--tracks", "/nonexistent/t.csv"},
                "folder /nonexistent does not exist"},
        BadCase{"image_kind",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1", "--image",
                 "x.jpg"},
                "--image: expected a .bmp or .png"},
        BadCase{"film_kind",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1", "--film",
                 "x.mp4"},
                "--film: expected a .gif file name, got 'x.mp4'"},
        BadCase{"film_threaded",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1", "--film",
                 "x.gif", "--threads", "2"},
                "--threads excludes --film"},
        BadCase{"fps_zero", {"--fps", "0"}, "--fps: expected a frame rate from 1 to 100, got '0'"},
        BadCase{"fps_letters", {"--fps", "8fps"}, "--fps: expected a frame rate from 1 to 100, got '8fps'"},
        BadCase{"density_image_kind",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1", "--cell",
                 "2", "--density", "d.csv", "--density-image", "d.gif"},
                "--density-image: expected a .bmp or .png file name, got 'd.gif'"},
        BadCase{"density_image_alone",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1",
                 "--density-image", "d.png"},
                "--density-image requires --density"},
        BadCase{"animate_frames",
                {"--region", "1", "--flow-type", "1", "--season", "1", "--frames", "84", "--film", "a.gif"},
                "--frames: expected a frame count from 1 to 83, got '84'",
                "animate"},
        BadCase{"animate_no_film",
                {"--region", "1", "--flow-type", "1", "--season", "1"},
                "--film is required",
                "animate"},
        BadCase{"animate_film_kind",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--film", "a.png"},
                "--film: expected a .gif file name, got 'a.png'",
                "animate"},
        BadCase{"animate_unknown", {"--release", "1", "1"}, "--release: unknown option", "animate"},
        BadCase{"density_without_cell",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "1", "1",
                 "--density", "d.csv"},
                "--density requires --cell"},
        BadCase{"both_inputs",
                {"--region", "1", "--flow-type", "1", "--geometry", kLake, "--flow-file", kFlow, "--season",
                 "1", "--release", "1", "1"},
                "--region excludes --"},  // the file option named first depends on how the options are held
        BadCase{"region_without_flow_type",
                {"--region", "1", "--season", "1", "--release", "1", "1"},
                "--region requires --flow-type"},
        BadCase{"neither_input",
                {"--season", "1", "--release", "1", "1"},
                "give --region, --season and --flow-type"},
        // Every number option takes one number and nothing after it.
        BadCase{"particles_letters",
                {"--particles", "3km"},
                "--particles: expected a positive whole number, got '3km'"},
        BadCase{"diffusion_letters",
                {"--diffusion", "0.5x"},
                "--diffusion: expected a diffusion coefficient from 0 to 10 m²/s, got '0.5x'"},
        BadCase{"seed_letters", {"--seed", "7s"}, "--seed: expected a whole number ≥ 0, got '7s'"},
        BadCase{"threads_letters",
                {"--threads", "2x"},
                "--threads: expected a thread count from 1 to 256, got '2x'"},
        BadCase{"size_letters",
                {"--size", "100px"},
                "--size: expected an image size from 16 to 16384 pixels, got '100px'"},
        BadCase{"cell_letters", {"--cell", "3km"}, "--cell: expected a cell size > 0 in km, got '3km'"},
        BadCase{"release_x_letters", {"--release", "1km", "1"}, "--release: expected X in km, got '1km'"},
        BadCase{"release_y_letters", {"--release", "1", "1e"}, "--release: expected Y in km, got '1e'"},
        BadCase{"release_y_negative_letters",
                {"--release", "1", "-2x"},
                "--release: expected Y in km, got '-2x'"},
        BadCase{"particles_exponent",
                {"--particles", "1e3"},
                "--particles: expected a positive whole number, got '1e3'"},
        // Limits instead of a crash or a run of NaN.
        BadCase{"diffusion_huge",
                {"--diffusion", "1e308"},
                "--diffusion: expected a diffusion coefficient from 0 to 10"},
        BadCase{"diffusion_above_range",
                {"--diffusion", "10.5"},
                "--diffusion: expected a diffusion coefficient from 0 to 10"},
        BadCase{"diffusion_infinite", {"--diffusion", "inf"}, "--diffusion"},
        BadCase{"particles_beyond_memory",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "3", "1",
                 "--particles", "100000000000"},
                "--particles 100000000000: the run would need 2600000000000 bytes of memory"},
        BadCase{"as_desktop_threaded",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "3", "1",
                 "--as-desktop", "--threads", "2"},
                "--threads excludes --as-desktop"},
        BadCase{"particles_beyond_memory_drawn",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "3", "1",
                 "--particles", "2000000000", "--image", "x.png"},
                "--particles 2000000000: the run would need 2064000000000 bytes of memory"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FailedOutputCase {
  const char* name;
  std::vector<std::string> options;  // the file's name comes last
  int flowFrames;                    // fewer than 84: the run fails at that frame
  rlim_t fileSizeLimit;              // 0: none; else writes beyond fail as on a full disk
  const char* expectedInMessage;
};

class FailedOutput : public ::testing::TestWithParam<FailedOutputCase> {};

// A run that fails, at a frame the flow file lacks or at a write the disk
// refuses, leaves an existing file of the output's name byte for byte as it
// was and nothing else behind.
TEST_P(FailedOutput, LeavesTheExistingFileUntouched) {
  const FailedOutputCase& c = GetParam();
  const auto dir = test::FreshOutputDir(std::string("batch_failed_") + c.name);
  const auto flow = test::WriteUniformFlow(
      std::string("batch_failed_") + c.name, 36, c.flowFrames, [](int) { return 0.01f; },
      [](int) { return 0.0f; });
  const auto file = dir / c.options.back();
  const std::string old(20000, 'o');
  test::WriteTextFile(file, old);
  auto args = RunArgs(flow, "3", "1");
  for (const char* a : {"--particles", "200", "--seed", "1"}) args.push_back(a);
  for (std::size_t i = 0; i + 1 < c.options.size(); ++i) args.push_back(c.options[i]);
  args.push_back(file.string());
  Result r;
  {
    std::optional<test::FileSizeLimit> full;
    if (c.fileSizeLimit > 0) full.emplace(c.fileSizeLimit);
    r = Batch(args);
  }
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find(c.expectedInMessage), std::string::npos) << r.err;
  EXPECT_TRUE(ReadAll(file) == old) << "the existing file changed";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1)
      << "a partial file was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, FailedOutput,
    ::testing::Values(
        FailedOutputCase{"tracks_short_flow", {"--tracks", "tracks.csv"}, 20, 0, "frame 20"},
        FailedOutputCase{"netcdf_short_flow", {"--netcdf", "tracks.nc"}, 20, 0, "frame 20"},
        FailedOutputCase{"image_short_flow", {"--image", "run.png"}, 20, 0, "frame 20"},
        FailedOutputCase{"density_short_flow", {"--cell", "2", "--density", "d.csv"}, 20, 0, "frame 20"},
        FailedOutputCase{"film_short_flow", {"--film", "run.gif"}, 20, 0, "frame 20"},
        FailedOutputCase{"film_full_disk", {"--size", "400", "--film", "run.gif"}, 84, 65536, "run.gif"},
        FailedOutputCase{"tracks_full_disk", {"--tracks", "tracks.csv"}, 84, 65536, "File too large"},
        FailedOutputCase{"netcdf_full_disk", {"--netcdf", "tracks.nc"}, 84, 65536, "tracks.nc"},
        FailedOutputCase{
            "image_full_disk", {"--size", "400", "--image", "run.bmp"}, 84, 65536, "File too large"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BatchCommands, UnknownCommandAndHelp) {
  EXPECT_EQ(Batch({"fly"}).status, kExitBadInput);
  EXPECT_EQ(Batch({}).status, kExitBadInput);
  const Result help = Batch({"run", "--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_NE(help.out.find("--netcdf FILE.nc"), std::string::npos);
  EXPECT_EQ(Batch({"info", "--help"}).status, kExitOk);
  EXPECT_EQ(Batch({"info"}).status, kExitBadInput);
}

}  // namespace
}  // namespace lakedrift
