#include <gtest/gtest.h>
#include <netcdf.h>

#include <QImage>
#include <QImageReader>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

#include "batch/BatchRunner.h"
#include "batch/DensityImage.h"
#include "batch/RunImage.h"
#include "sim/RunFixture.h"
#include "support/FileSizeLimit.h"
#include "support/TestPaths.h"
#include "view/MapView.h"
#include "view/Palette.h"
#include "view/RecordingSurface.h"
#include "view/RunPicture.h"
#include "view/ViewTransform.h"

namespace lakedrift {
namespace {

using Args = std::vector<std::string>;
using test::Batch;

const std::string kLake = test::TestDataPath("testlake.inp").string();
const std::string kFlow = test::TestDataPath("testlake.fld").string();
constexpr int kLevels = 84;  // the release and 83 steps

// A run on the test lake released at (x, y) km, with `more` options.
Args LakeRun(const Args& more, const std::string& flow = kFlow, const char* x = "3", const char* y = "1") {
  Args args = {"run", "--geometry", kLake, "--flow-file", flow, "--season", "1", "--release", x, y};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<Args> ReadCsv(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<Args> rows;
  for (std::string line; std::getline(in, line);) {
    Args& row = rows.emplace_back();
    std::istringstream fields(line);
    for (std::string f; std::getline(fields, f, ',');) row.push_back(f);
  }
  return rows;
}

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Every pixel of a picture is one of the 16 palette colours.
bool OnlyPaletteColours(const QImage& picture) {
  const QImage image = Rgb32(picture);
  for (int py = 0; py < image.height(); ++py)
    for (int px = 0; px < image.width(); ++px) {
      bool found = false;
      for (int i = 0; i < kPaletteSize && !found; ++i)
        found = image.pixel(px, py) == qRgb(PaletteColour(i).r, PaletteColour(i).g, PaletteColour(i).b);
      if (!found) return false;
    }
  return true;
}

// A film's frames as a viewer shows them, each checked for the palette.
std::vector<QImage> ReadFilm(const std::filesystem::path& path, int delayMs) {
  QImageReader film(QString::fromStdString(path.string()));
  EXPECT_EQ(film.loopCount(), -1);  // for ever
  std::vector<QImage> frames;
  for (QImage frame; film.read(&frame);) {
    EXPECT_EQ(film.nextImageDelay(), delayMs) << "frame " << frames.size() + 1;
    EXPECT_TRUE(OnlyPaletteColours(frame)) << "frame " << frames.size() + 1;
    frames.push_back(Rgb32(frame));
  }
  return frames;
}

struct InfoCase {
  const char* name;
  double x0, x1, y0, y1;
  const char *xMin, *xMax, *yMin, *yMax, *width, *size;
};

class BatchInfo : public ::testing::TestWithParam<InfoCase> {};

// A lake of two triangles whose coast is the rectangle of the row's box:
// the extent is squared about its centre and rounded out to whole 10 km.
TEST_P(BatchInfo, PrintsCountsAndTheSquaredExtent) {
  const InfoCase& c = GetParam();
  std::ostringstream lake;
  lake.precision(17);
  lake << "1\n4\n4 2 3 4\n1 1 2 3 0 0 2\n2 1 3 4 1 0 0\n";
  const double xs[] = {c.x0, c.x1, c.x1, c.x0}, ys[] = {c.y0, c.y0, c.y1, c.y1};
  for (int n = 0; n < 4; ++n) lake << n + 1 << ' ' << xs[n] << ' ' << ys[n] << '\n';
  for (int n = 0; n < 4; ++n) lake << n + 1 << ' ' << n + 1 << ' ' << xs[n] << ' ' << ys[n] << '\n';
  const auto path = test::FreshOutputDir(std::string("batch_box_") + c.name) / "box.inp";
  test::WriteTextFile(path, lake.str());
  const test::BatchResult r = Batch({"info", path.string()});
  EXPECT_EQ(r.out,
            std::string("NodeCount 4\nElementCount 2\nBoundaryCount 4\nBoundaryRingCount 1\nMapXMin ") +
                c.xMin + "\nMapXMax " + c.xMax + "\nMapYMin " + c.yMin + "\nMapYMax " + c.yMax +
                "\nMapWidth " + c.width + "\nMapHeight " + c.width + "\nMapSize " + c.size + "\n")
      << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BatchInfo,
    ::testing::Values(InfoCase{"wide", 3.5, 612.8, -402, -0.7, "10", "620", "-525", "85", "610", "609.3"},
                      InfoCase{"from_zero", 0, 95, 0, 40, "0", "100", "-25", "75", "100", "95"},
                      InfoCase{"inward", 0.1, 99.9, 0.1, 50, "10", "100", "-10", "80", "90", "99.8"}),
    [](const auto& row) { return std::string(row.param.name); });

// Island, shores and the outside answer no element; a blank line is skipped.
TEST(BatchProbe, AnswersWaterAndElementForEachLine) {
  const test::BatchResult r = Batch({"probe", kLake}, "5 5\n2 5\n5 0\n5 10\n-1 5\n\n1.5 0.5\n");
  // Each answer starts so; the shore points' elements are the mesh's.
  const Args starts = {"5 5 0 0\n", "2 5 1 ", "5 0 0 ", "5 10 1 ", "-1 5 0 0\n", "1.5 0.5 1 1\n"};
  std::istringstream answers(r.out);
  std::size_t n = 0;
  for (std::string line; std::getline(answers, line) && n < starts.size(); ++n)
    EXPECT_EQ((line + "\n").rfind(starts[n], 0), 0u) << line;
  EXPECT_EQ(n, starts.size()) << r.err;
  EXPECT_EQ(r.out.find("2 5 1 0\n"), std::string::npos);  // water inside the mesh has an element
}

TEST(BatchRun, WithoutDiffusionAUniformCurrentGivesExactPositionsLevelByLevel) {
  const auto dir = test::FreshOutputDir("batch_uniform");
  const auto flow = test::WriteUniformFlow(
      "batch_uniform", 36, kLevels, [](int) { return 0.001f; }, [](int) { return 0.0f; });
  const auto r = Batch(
      LakeRun({"--diffusion", "0", "--particles", "2", "--seed", "5", "--tracks", (dir / "t.csv").string()},
              flow, "1", "3"));
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "seed 5\n");
  const auto rows = ReadCsv(dir / "t.csv");
  ASSERT_EQ(rows.size(), 1u + 2u * kLevels);
  EXPECT_EQ(rows[0], (Args{"particle", "level", "time", "x_m", "y_m"}));
  EXPECT_EQ(rows[1], (Args{"1", "1", "1997-04-02T02:00:00", "1000", "3000"}));
  EXPECT_EQ(rows[2][0] + rows[3][0] + rows[3][1], "212");  // particle 2 of level 1, then level 2
  EXPECT_EQ(rows[3][2], "1997-04-02T04:00:00");
  EXPECT_EQ(rows.back()[1] + rows.back()[2], "841997-04-09T00:00:00");
  EXPECT_NEAR(std::stod(rows.back()[3]), 1000.0 + 83 * 7200.0 * static_cast<double>(0.001f), 1e-6);
  EXPECT_EQ(rows.back()[4], "3000");
}

TEST(BatchRun, SeededDesktopRunGivesTheDesktopEnginesTracks) {
  const auto csv = test::FreshOutputDir("batch_seeded") / "t.csv";
  ASSERT_EQ(
      Batch(LakeRun({"--particles", "7", "--seed", "4242", "--as-desktop", "--tracks", csv.string()})).status,
      kExitOk);
  ModelState state = test::TestLakeState();
  state.ParticleCount = 7;
  RecordingSurface surface(100, 100);
  DrawnRun drawn(state, surface, 4242);
  ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
  const auto rows = ReadCsv(csv);
  ASSERT_EQ(rows.size(), 1u + 7u * kLevels);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const int p = std::stoi(rows[i][0]), level = std::stoi(rows[i][1]);
    ASSERT_EQ(std::stod(rows[i][3]), drawn.run.TrackX(p, level)) << i;
    ASSERT_EQ(std::stof(rows[i][4]), drawn.run.TrackY(p, level)) << i;
  }
}

struct SameOutputCase {
  const char* name;
  Args common, first, second;  // the output's option and file name come last in `common`
};

class SameOutput : public ::testing::TestWithParam<SameOutputCase> {};

// Two runs that must give the same file byte for byte.
TEST_P(SameOutput, FromBothRuns) {
  const SameOutputCase& c = GetParam();
  const auto dir = test::FreshOutputDir(std::string("batch_same_") + c.name);
  std::string files[2];
  for (int i = 0; i < 2; ++i) {
    Args args = LakeRun(i == 0 ? c.first : c.second);
    args.insert(args.end(), c.common.begin(), c.common.end());
    files[i] = (dir / (std::to_string(i) + "_" + args.back())).string();
    args.back() = files[i];
    const auto r = Batch(args);
    ASSERT_EQ(r.status, kExitOk) << r.err;
  }
  EXPECT_GT(ReadAll(files[0]).size(), 1000u);
  EXPECT_TRUE(ReadAll(files[0]) == ReadAll(files[1]));
}

INSTANTIATE_TEST_SUITE_P(Engines, SameOutput,
                         ::testing::Values(
                             // Streams keyed by particle, not by thread.
                             SameOutputCase{"any_thread_count",
                                            {"--particles", "40", "--seed", "77", "--tracks", "t.csv"},
                                            {"--threads", "2"},
                                            {"--threads", "3"}},
                             // Without diffusion both engines move a particle alike, and draw it alike.
                             SameOutputCase{"tracks_without_diffusion",
                                            {"--particles", "6", "--diffusion", "0", "--tracks", "t.csv"},
                                            {"--as-desktop"},
                                            {"--threads", "2"}},
                             SameOutputCase{
                                 "film_without_diffusion",
                                 {"--particles", "6", "--diffusion", "0", "--size", "160", "--film", "f.gif"},
                                 {"--as-desktop"},
                                 {"--threads", "2"}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BatchRun, NetcdfHoldsTheCsvTracksAsCfTrajectories) {
  const auto dir = test::FreshOutputDir("batch_netcdf");
  ASSERT_EQ(Batch(LakeRun({"--particles", "5", "--seed", "9", "--tracks", (dir / "t.csv").string(),
                           "--netcdf", (dir / "t.nc").string()}))
                .status,
            kExitOk);
  int nc = -1, dim = -1, x = -1, y = -1, time = -1, trajectory = -1;
  ASSERT_EQ(nc_open((dir / "t.nc").c_str(), NC_NOWRITE, &nc), NC_NOERR);
  std::size_t particles = 0, levels = 0;
  nc_inq_dimid(nc, "trajectory", &dim), nc_inq_dimlen(nc, dim, &particles);
  nc_inq_dimid(nc, "obs", &dim), nc_inq_dimlen(nc, dim, &levels);
  EXPECT_EQ(particles, 5u);
  EXPECT_EQ(levels, 84u);
  auto text = [nc](int var, const char* name) {
    std::size_t n = 0;
    if (nc_inq_attlen(nc, var, name, &n) != NC_NOERR) return std::string("<missing>");
    std::string value(n, '\0');
    nc_get_att_text(nc, var, name, value.data());
    return value;
  };
  for (auto [var, id] : {std::pair{"x", &x}, std::pair{"y", &y}, std::pair{"time", &time},
                         std::pair{"trajectory", &trajectory}})
    ASSERT_EQ(nc_inq_varid(nc, var, id), NC_NOERR) << var;
  EXPECT_EQ(text(NC_GLOBAL, "Conventions") + text(NC_GLOBAL, "featureType") + text(NC_GLOBAL, "seed"),
            "CF-1.8trajectory9");
  EXPECT_EQ(text(trajectory, "cf_role"), "trajectory_id");
  EXPECT_EQ(text(time, "units"), "hours since 1997-04-02 02:00:00");
  std::vector<double> xs(5 * kLevels), times(5 * kLevels);
  std::vector<float> ys(5 * kLevels);
  nc_get_var_double(nc, x, xs.data()), nc_get_var_float(nc, y, ys.data());
  nc_get_var_double(nc, time, times.data()), nc_close(nc);
  const auto rows = ReadCsv(dir / "t.csv");  // particle p, level l at [p − 1][l − 1]
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::size_t at = (std::stoul(rows[i][0]) - 1) * kLevels + std::stoul(rows[i][1]) - 1;
    ASSERT_EQ(xs[at], std::stod(rows[i][3]));
    ASSERT_EQ(ys[at], std::stof(rows[i][4]));
    ASSERT_EQ(times[at], 2.0 * static_cast<double>(at % kLevels));
  }
}

// Without diffusion a uniform eastward current of 0.01 m/s carries every
// particle from (1, 3) km to (6.976, 3) km, three 2 km cells east of the
// release's. The grid and its picture both show it.
TEST(BatchRun, DensityCountsTheFinalPositionsInTheirCell) {
  const auto dir = test::FreshOutputDir("batch_density");
  const auto flow = test::WriteUniformFlow(
      "batch_density", 36, kLevels, [](int) { return 0.01f; }, [](int) { return 0.0f; });
  const auto r =
      Batch(LakeRun({"--particles", "5", "--diffusion", "0", "--cell", "2", "--size", "200", "--density",
                     (dir / "d.csv").string(), "--density-image", (dir / "d.png").string()},
                    flow, "1", "3"));
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const auto rows = ReadCsv(dir / "d.csv");
  ASSERT_EQ(rows.size(), 101u);  // the test lake's extent, 20 km both ways, in 10 × 10 cells
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double xMin = std::stod(rows[i][2]), yMin = std::stod(rows[i][3]);
    const bool holds = xMin <= 6.976 && 6.976 < xMin + 2 && yMin <= 3 && 3 < yMin + 2;
    EXPECT_EQ(rows[i][4], holds ? "5" : "0") << rows[i][2] << ',' << rows[i][3];
  }
  // The fullest cell in the darkest class, at the cell's place on the map.
  ModelState state = test::TestLakeState();
  RunImage view(200);
  SetMapScale(view.GetSurface(), state);
  const PixelPoint centre = view.GetSurface().Transform().ToPixel(7.0f, 3.0f);
  const QImage picture(QString::fromStdString((dir / "d.png").string()));
  const Rgb darkest = RampColour(kRampClasses - 1);
  EXPECT_EQ(picture.pixel(static_cast<int>(centre.x), static_cast<int>(centre.y)),
            qRgb(darkest.r, darkest.g, darkest.b));
}

class BatchFilm : public ::testing::TestWithParam<const char*> {};

// The film shows the release and each step, looping, in the palette, at
// the frame rate asked for, and ends on the picture of --image, with
// either engine.
TEST_P(BatchFilm, HasAFramePerRedrawAndEndsOnTheImage) {
  const auto dir = test::FreshOutputDir(std::string("batch_film") + GetParam());
  const auto r =
      Batch(LakeRun({"--particles", "10", "--seed", "1", "--size", "160", "--fps", "4", GetParam(), "--image",
                     (dir / "run.png").string(), "--film", (dir / "run.gif").string()}));
  ASSERT_EQ(r.status, kExitOk) << r.err;
  const QImage picture = Rgb32(QImage(QString::fromStdString((dir / "run.png").string())));
  EXPECT_TRUE(OnlyPaletteColours(picture));
  const std::vector<QImage> frames = ReadFilm(dir / "run.gif", 250);
  ASSERT_EQ(frames.size(), 84u);
  EXPECT_TRUE(frames.back() == picture);
  EXPECT_FALSE(frames.front() == picture);
}

INSTANTIATE_TEST_SUITE_P(Engines, BatchFilm, ::testing::Values("--as-desktop", "--threads=2"),
                         [](const auto& row) { return row.index == 0 ? "Desktop" : "Parallel"; });

TEST(BatchAnimate, HasAFramePerFlowFrame) {
  const auto film = test::FreshOutputDir("batch_animate") / "flow.gif";
  const auto r = Batch({"animate", "--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--frames",
                        "5", "--size", "120", "--fps", "5", "--film", film.string()});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(ReadFilm(film, 200).size(), 5u);
}

struct BadCase {
  const char* name;
  Args args;  // after the command; on the lake when `onLake`
  const char* expectedInMessage;
  bool onLake = false;
  const char* command = "run";
  const char* input = "";
};

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, GetsOneLineNamingItAndStatusTwo) {
  const BadCase& c = GetParam();
  Args args = c.onLake ? LakeRun(c.args) : Args{c.command};
  if (!c.onLake) args.insert(args.end(), c.args.begin(), c.args.end());
  const test::BatchResult r = Batch(args, c.input);
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find(c.expectedInMessage), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadInput,
    ::testing::Values(
        BadCase{"unknown_command", {}, "fly: unknown command", false, "fly"},
        BadCase{"info_without_file", {}, "info: expected one GEOMETRY file", false, "info"},
        BadCase{"probe_line", {kLake}, "standard input line 2", false, "probe", "1 2\n3 x\n"},
        BadCase{"unknown", {"--wind", "3"}, "--wind: unknown option"},
        BadCase{"no_release", {"--geometry", kLake, "--flow-file", kFlow, "--season", "1"}, "--release"},
        BadCase{"release_on_island",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--release", "5", "5"},
                "not on the water"},
        BadCase{"season", {"--region", "1", "--season", "3"}, "--season: expected 1 or 2, got '3'"},
        BadCase{"particles_zero", {"--particles", "0"}, "--particles: expected a positive whole number"},
        BadCase{"particles_letters",
                {"--particles", "10x"},
                "--particles: expected a positive whole number, got '10x'"},
        BadCase{"release_letters", {"--release", "5", "6km"}, "--release: expected Y in km, got '6km'"},
        BadCase{"release_comma", {"--release", "5,6km"}, "--release"},
        BadCase{"diffusion_above_range",
                {"--diffusion", "10.5"},
                "--diffusion: expected a diffusion coefficient"},
        BadCase{"missing_value", {"--geometry"}, "--geometry: 1 required FILE missing"},
        BadCase{"geometry_missing",
                {"--geometry", "/nonexistent/lake.inp", "--flow-file", kFlow, "--season", "1", "--release",
                 "1", "1"},
                "geometry file /nonexistent/lake.inp: not found"},
        BadCase{"flow_missing",
                {"--geometry", kLake, "--flow-file", "/nonexistent/x.fld", "--season", "1", "--release", "1",
                 "1"},
                "/nonexistent/x.fld not found"},
        BadCase{
            "tracks_folder", {"--tracks", "/nonexistent/t.csv"}, "folder /nonexistent does not exist", true},
        BadCase{"image_kind", {"--image", "x.jpg"}, "--image: expected a .bmp or .png", true},
        BadCase{"film_kind", {"--film", "x.mp4"}, "--film: expected a .gif file name, got 'x.mp4'", true},
        BadCase{"film_folder", {"--film", "/nonexistent/f.gif"}, "folder /nonexistent does not exist", true},
        BadCase{"fps_zero", {"--fps", "0"}, "--fps: expected a frame rate from 1 to 100, got '0'"},
        BadCase{"density_image_kind",
                {"--cell", "2", "--density", "d.csv", "--density-image", "d.gif"},
                "--density-image: expected a .bmp or .png file name, got 'd.gif'",
                true},
        BadCase{
            "density_image_alone", {"--density-image", "d.png"}, "--density-image requires --density", true},
        BadCase{"density_without_cell", {"--density", "d.csv"}, "--density requires --cell", true},
        BadCase{
            "both_inputs",
            {"--region", "1", "--flow-type", "1", "--geometry", kLake, "--flow-file", kFlow, "--season", "1"},
            "--region excludes --"},  // which file option it names depends on how the options are held
        BadCase{
            "region_without_flow_type", {"--region", "1", "--season", "1"}, "--region requires --flow-type"},
        BadCase{"neither_input",
                {"--season", "1", "--release", "1", "1"},
                "give --region, --season and --flow-type"},
        BadCase{"as_desktop_threaded", {"--as-desktop", "--threads", "2"}, "--threads excludes --as-desktop"},
        BadCase{"particles_beyond_memory",
                {"--particles", "100000000000"},
                "--particles 100000000000: the run would need 2600000000000 bytes of memory",
                true},
        BadCase{"particles_beyond_memory_drawn",
                {"--particles", "2000000000", "--as-desktop", "--image", "x.png"},
                "--particles 2000000000: the run would need 2064000000000 bytes of memory",
                true},
        BadCase{"animate_no_season",
                {"--geometry", kLake, "--flow-file", kFlow, "--film", "a.gif"},
                "--season is required",
                false,
                "animate"},
        BadCase{"animate_frames",
                {"--region", "1", "--flow-type", "1", "--season", "1", "--frames", "84", "--film", "a.gif"},
                "--frames: expected a frame count from 1 to 83, got '84'",
                false,
                "animate"},
        BadCase{"animate_size", {"--size", "100px"}, "--size: expected an image size", false, "animate"},
        BadCase{"animate_film_kind",
                {"--geometry", kLake, "--flow-file", kFlow, "--season", "1", "--film", "a.png"},
                "--film: expected a .gif file name, got 'a.png'",
                false,
                "animate"},
        BadCase{"animate_unknown", {"--release", "1", "1"}, "--release: unknown option", false, "animate"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FailedOutputCase {
  const char* name;
  Args options;          // the file's name comes last
  int flowFrames;        // fewer than 84: the run fails at that frame
  rlim_t fileSizeLimit;  // 0: none; else writes beyond fail as on a full disk
  const char* expectedInMessage;
  int damagedFrame = -1;  // a frame whose velocities are not numbers
};

class FailedOutput : public ::testing::TestWithParam<FailedOutputCase> {};

// A run that fails, at a frame the flow file lacks or cannot give, or at a
// write the disk refuses, leaves an existing file of the output's name byte
// for byte as it was and nothing else behind.
TEST_P(FailedOutput, LeavesTheExistingFileUntouched) {
  const FailedOutputCase& c = GetParam();
  const std::string name = std::string("batch_failed_") + c.name;
  const auto dir = test::FreshOutputDir(name);
  const auto flow = test::WriteUniformFlow(
      name, 36, c.flowFrames, [&](int k) { return k == c.damagedFrame ? std::nanf("") : 0.01f; },
      [](int) { return 0.0f; });
  const auto file = dir / c.options.back();
  const std::string old(20000, 'o');
  test::WriteTextFile(file, old);
  Args options = c.options;
  options.back() = file.string();
  for (const char* a : {"--particles", "200", "--seed", "1"}) options.push_back(a);
  test::BatchResult r;
  {
    std::optional<test::FileSizeLimit> full;
    if (c.fileSizeLimit > 0) full.emplace(c.fileSizeLimit);
    r = Batch(LakeRun(options, flow.string()));
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
        FailedOutputCase{"tracks_damaged_flow", {"--tracks", "tracks.csv"}, 84, 0, "frame 30, node 1: U", 30},
        FailedOutputCase{"netcdf_short_flow", {"--netcdf", "tracks.nc"}, 20, 0, "frame 20"},
        FailedOutputCase{"image_short_flow", {"--image", "run.png"}, 20, 0, "frame 20"},
        FailedOutputCase{"density_short_flow", {"--cell", "2", "--density", "d.csv"}, 20, 0, "frame 20"},
        FailedOutputCase{"film_short_flow", {"--film", "run.gif"}, 20, 0, "frame 20"},
        FailedOutputCase{
            "desktop_film_damaged_flow", {"--as-desktop", "--film", "run.gif"}, 84, 0, "frame 30", 30},
        FailedOutputCase{"film_full_disk", {"--size", "400", "--film", "run.gif"}, 84, 16384, "run.gif"},
        FailedOutputCase{"tracks_full_disk", {"--tracks", "tracks.csv"}, 84, 65536, "File too large"},
        FailedOutputCase{"netcdf_full_disk", {"--netcdf", "tracks.nc"}, 84, 65536, "tracks.nc"},
        FailedOutputCase{
            "image_full_disk", {"--size", "400", "--image", "run.bmp"}, 84, 65536, "File too large"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lakedrift
