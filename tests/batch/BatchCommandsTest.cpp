#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <cmath>
#include <regex>
#include <set>

#include "batch/BatchRunner.h"
#include "batch/DensityImage.h"
#include "batch/RunImage.h"
#include "sim/RunFixture.h"
#include "support/FileSizeLimit.h"
#include "view/MapView.h"
#include "view/Palette.h"
#include "view/RunPicture.h"
#include "view/ViewTransform.h"

namespace lakedrift {
namespace {

using Args = std::vector<std::string>;
using test::Batch;
using test::Words;
constexpr int kLevels = 84;  // the release and 83 steps

// Runs a command line of words that must succeed.
void Succeed(const std::string& line, const std::filesystem::path& dir) {
  const test::BatchResult r = Batch(Words(line, dir));
  ASSERT_EQ(r.status, kExitOk) << line << '\n' << r.err;
}

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// A film's frames as a viewer shows them, each checked for the palette:
// every pixel one of the 16 colours.
std::vector<QImage> ReadFilm(const std::filesystem::path& path, int delayMs) {
  std::set<QRgb> palette;
  for (int i = 0; i < kPaletteSize; ++i)
    palette.insert(qRgb(PaletteColour(i).r, PaletteColour(i).g, PaletteColour(i).b));
  QImageReader film(QString::fromStdString(path.string()));
  EXPECT_EQ(film.loopCount(), -1);  // for ever
  std::vector<QImage> frames;
  for (QImage frame; film.read(&frame);) {
    EXPECT_EQ(film.nextImageDelay(), delayMs) << "frame " << frames.size() + 1;
    const QImage& image = frames.emplace_back(Rgb32(frame));
    long others = 0;
    for (int py = 0; py < image.height(); ++py)
      for (int px = 0; px < image.width(); ++px) others += !palette.contains(image.pixel(px, py));
    EXPECT_EQ(others, 0) << "pixels outside the palette in frame " << frames.size();
  }
  return frames;
}

// A lake of two triangles whose coast is a box 609.3 km wide: every count,
// and the squared extent in whole tens with the size as read (a float).
TEST(BatchInfo, PrintsCountsAndTheSquaredExtent) {
  const auto path = test::FreshOutputDir("batch_info") / "box.inp";
  test::WriteTextFile(
      path,
      "1\n4\n4 2 3 4\n1 1 2 3 0 0 2\n2 1 3 4 1 0 0\n1 3.5 -402\n2 612.8 -402\n"
      "3 612.8 -0.7\n4 3.5 -0.7\n1 1 3.5 -402\n2 2 612.8 -402\n3 3 612.8 -0.7\n4 4 3.5 -0.7\n");
  EXPECT_EQ(Batch({"info", path.string()}).out,
            "NodeCount 4\nElementCount 2\nBoundaryCount 4\nBoundaryRingCount 1\nMapXMin 10\nMapXMax 620\n"
            "MapYMin -525\nMapYMax 85\nMapWidth 610\nMapHeight 610\nMapSize 609.3\n");
}

// Island, shores and the outside answer no element; a blank line is skipped.
TEST(BatchProbe, AnswersWaterAndElementForEachLine) {
  const std::string out = Batch(Words("probe LAKE"), "5 5\n2 5\n5 0\n5 10\n-1 5\n\n1.5 0.5\n").out;
  // Water inside the mesh has an element.
  EXPECT_TRUE(std::regex_match(
      out, std::regex("5 5 0 0\n2 5 1 [1-9]\\d*\n5 0 0 .*\n5 10 1 .*\n-1 5 0 0\n1.5 0.5 1 1\n")))
      << out;
}

// clang-format off
struct SameOutputCase { const char *name, *common, *first, *second; };  // `common` ends with the output's option and @file
// clang-format on

class SameOutput : public ::testing::TestWithParam<SameOutputCase> {};

// Two runs that must give the same file byte for byte.
TEST_P(SameOutput, FromBothRuns) {
  const SameOutputCase& c = GetParam();
  const auto dir = test::FreshOutputDir(std::string("batch_same_") + c.name);
  for (const char* run : {c.first, c.second}) {
    std::filesystem::create_directories(dir / run);
    Succeed(std::string("RUN ") + run + " " + c.common, dir / run);
  }
  const std::string file = Words(c.common).back();
  EXPECT_GT(test::ReadFile(dir / c.first / file).size(), 1000u);
  EXPECT_TRUE(test::ReadFile(dir / c.first / file) == test::ReadFile(dir / c.second / file));
}

// clang-format off
const SameOutputCase kSameOutputs[] = {
    // Streams keyed by particle, not by thread.
    {"any_thread_count", "--particles 40 --seed 77 --tracks @t.csv", "--threads=2", "--threads=3"},
    // Without diffusion both engines move a particle alike, and draw it alike.
    {"tracks_without_diffusion", "--particles 6 --diffusion 0 --tracks @t.csv", "--as-desktop", "--threads=2"},
    {"film_without_diffusion", "--particles 6 --diffusion 0 --size 160 --film @f.gif", "--as-desktop", "--threads=2"}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Engines, SameOutput, ::testing::ValuesIn(kSameOutputs),
                         test::RowName<SameOutputCase>);

// The CSV and NetCDF files hold the desktop engine's tracks, the latter as CF trajectories.
TEST(BatchRun, SeededDesktopRunWritesTheDesktopEnginesTracksToCsvAndNetcdf) {
  const auto dir = test::FreshOutputDir("batch_seeded");
  Succeed("RUN --particles 7 --seed 4242 --as-desktop --tracks @t.csv --netcdf @t.nc", dir);
  ModelState state = test::TestLakeState();
  state.ParticleCount = 7;
  test::NullSurface surface;
  DrawnRun drawn(state, surface, 4242);
  ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
  int nc = -1, dim = -1;
  ASSERT_EQ(nc_open((dir / "t.nc").c_str(), NC_NOWRITE, &nc), NC_NOERR);
  std::size_t dims[2] = {0, 0};  // trajectory, obs
  for (int i : {0, 1}) nc_inq_dimid(nc, i ? "obs" : "trajectory", &dim), nc_inq_dimlen(nc, dim, &dims[i]);
  EXPECT_EQ(std::pair(dims[0], dims[1]), std::pair(std::size_t{7}, std::size_t{kLevels}));
  EXPECT_EQ(test::NcText(nc, nullptr, "Conventions") + ";" + test::NcText(nc, nullptr, "featureType") + ";" +
                test::NcText(nc, nullptr, "seed") + ";" + test::NcText(nc, "trajectory", "cf_role") + ";" +
                test::NcText(nc, "time", "units"),
            "CF-1.8;trajectory;4242;trajectory_id;hours since 1997-04-02 02:00:00");
  std::vector<double> xs(7 * kLevels, -1), times(7 * kLevels, -1);
  std::vector<float> ys(7 * kLevels, -1);
  nc_get_var_double(nc, test::NcVar(nc, "x"), xs.data()),
      nc_get_var_float(nc, test::NcVar(nc, "y"), ys.data());
  nc_get_var_double(nc, test::NcVar(nc, "time"), times.data()), nc_close(nc);
  const auto rows = test::ReadCsv(dir / "t.csv");  // particle p, level l at [p − 1][l − 1]
  ASSERT_EQ(rows.size(), 1u + 7u * kLevels);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const int p = std::stoi(rows[i][0]), level = std::stoi(rows[i][1]);
    const std::size_t at = static_cast<std::size_t>((p - 1) * kLevels + level - 1);
    const double x = drawn.run.TrackX(p, level);
    const float y = drawn.run.TrackY(p, level);
    ASSERT_EQ(std::tuple(std::stod(rows[i][3]), std::stof(rows[i][4]), xs[at], ys[at], times[at]),
              std::tuple(x, y, x, y, 2.0 * (level - 1)))
        << i;
  }
}

// Without diffusion a uniform eastward current of 0.01 m/s carries every
// particle from (1, 3) km to (6.976, 3) km, three 2 km cells east of the
// release's: the tracks, level by level, the grid and its picture show it.
TEST(BatchRun, UniformCurrentWithoutDiffusionGivesKnownTracksAndCell) {
  const auto dir = test::FreshOutputDir("batch_uniform");
  const auto flow = test::WriteFlow(
      "batch_uniform", 36, kLevels, [](int, int) { return 0.01f; }, [](int, int) { return 0.0f; });
  Succeed("run --geometry LAKE --flow-file " + flow.string() + " --season 1 --release 1 3 --particles 5 " +
              "--diffusion 0 --cell 2 --size 200 --tracks @t.csv --density @d.csv --density-image @d.png",
          dir);
  auto rows = test::ReadCsv(dir / "t.csv");
  ASSERT_EQ(rows.size(), 1u + 5u * kLevels);
  EXPECT_EQ(rows[0], (Args{"particle", "level", "time", "x_m", "y_m"}));
  EXPECT_EQ(rows[1], (Args{"1", "1", "1997-04-02T02:00:00", "1000", "3000"}));
  EXPECT_EQ(rows[5][0] + rows[6][0] + rows[6][1] + rows[6][2], "5121997-04-02T04:00:00");  // level by level
  EXPECT_EQ(rows.back()[1] + rows.back()[2] + rows.back()[4], "841997-04-09T00:00:003000");
  EXPECT_NEAR(std::stod(rows.back()[3]), 1000.0 + 83 * 7200.0 * static_cast<double>(0.01f), 1e-6);
  rows = test::ReadCsv(dir / "d.csv");
  ASSERT_EQ(rows.size(), 101u);  // the test lake's extent, 20 km both ways, in 10 × 10 cells
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const double xMin = std::stod(rows[i][2]), yMin = std::stod(rows[i][3]);
    EXPECT_EQ(rows[i][4], xMin <= 6.976 && 6.976 < xMin + 2 && yMin <= 3 && 3 < yMin + 2 ? "5" : "0") << i;
  }
  // The fullest cell in the darkest class, at the cell's place on the map.
  RunImage view(200);
  SetMapScale(view.GetSurface(), test::TestLakeState());
  const PixelPoint centre = view.GetSurface().Transform().ToPixel(7.0f, 3.0f);
  const Rgb darkest = RampColour(kRampClasses - 1);
  EXPECT_EQ(QImage(QString::fromStdString((dir / "d.png").string()))
                .pixel(static_cast<int>(centre.x), static_cast<int>(centre.y)),
            qRgb(darkest.r, darkest.g, darkest.b));
}

class BatchFilm : public ::testing::TestWithParam<const char*> {};

// The film shows the release and each step, looping, in the palette, at
// the frame rate asked for, and ends on the picture of --image, with
// either engine.
TEST_P(BatchFilm, HasAFramePerRedrawAndEndsOnTheImage) {
  const auto dir = test::FreshOutputDir(std::string("batch_film") + GetParam());
  Succeed(std::string("RUN --particles 10 --size 160 --fps 4 --image @run.png --film @run.gif ") + GetParam(),
          dir);
  const QImage picture = Rgb32(QImage(QString::fromStdString((dir / "run.png").string())));
  const std::vector<QImage> frames = ReadFilm(dir / "run.gif", 250);
  ASSERT_EQ(frames.size(), 84u);
  EXPECT_TRUE(frames.back() == picture);
  EXPECT_FALSE(frames.front() == picture);
}

INSTANTIATE_TEST_SUITE_P(Engines, BatchFilm, ::testing::Values("--as-desktop", "--threads=2"),
                         [](const auto& row) { return row.index == 0 ? "Desktop" : "Parallel"; });

TEST(BatchAnimate, HasAFramePerFlowFrame) {
  const auto dir = test::FreshOutputDir("batch_animate");
  Succeed("animate --geometry LAKE --flow-file FLOW --season 1 --frames 5 --size 120 --fps 5 --film @a.gif",
          dir);
  EXPECT_EQ(ReadFilm(dir / "a.gif", 200).size(), 5u);
}

// clang-format off
struct BadCase { const char *name, *line, *expectedInMessage, *input = ""; };
// clang-format on

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, GetsOneLineNamingItAndStatusTwo) {
  const test::BatchResult r = Batch(Words(GetParam().line), GetParam().input);
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find(GetParam().expectedInMessage), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

// clang-format off
const BadCase kBadCases[] = {
    {"unknown_command", "fly", "fly: unknown command"},
    {"info_without_file", "info", "info: expected one GEOMETRY file"},
    {"probe_line", "probe LAKE", "standard input line 2", "1 2\n3 x\n"},
    {"unknown", "run --wind 3", "--wind: unknown option"},
    {"no_release", "run --geometry LAKE --flow-file FLOW --season 1", "--release"},
    {"release_on_island", "run --geometry LAKE --flow-file FLOW --season 1 --release 5 5", "not on the water"},
    {"season", "run --region 1 --season 3", "--season: expected 1 or 2, got '3'"},
    {"particles_zero", "run --particles 0", "--particles: expected a positive whole number"},
    {"particles_letters", "run --particles 10x", "--particles: expected a positive whole number, got '10x'"},
    {"particles_fraction", "run --particles 2.5", "--particles: expected a positive whole number"},
    {"release_letters", "run --release 5 6km", "--release: expected Y in km, got '6km'"},
    {"release_comma", "run --release 5,6km", "--release"},
    {"diffusion_above_range", "run --diffusion 10.5", "--diffusion: expected a diffusion coefficient"},
    {"geometry_missing", "run --geometry /no/lake.inp --flow-file FLOW --season 1 --release 1 1", "geometry file /no/lake.inp: not found"},
    {"flow_missing", "run --geometry LAKE --flow-file /no/x.fld --season 1 --release 1 1", "/no/x.fld not found"},
    {"tracks_folder", "RUN --tracks /no/t.csv", "folder /no does not exist"},
    {"image_kind", "RUN --image x.jpg", "--image: expected a .bmp or .png"},
    {"film_kind", "RUN --film x.mp4", "--film: expected a .gif file name, got 'x.mp4'"},
    {"fps_zero", "run --fps 0", "--fps: expected a frame rate from 1 to 100, got '0'"},
    {"density_image_alone", "RUN --density-image d.png", "--density-image requires --density"},
    {"density_without_cell", "RUN --density d.csv", "--density requires --cell"},
    // Which file option it names depends on how the options are held.
    {"both_inputs", "run --region 1 --flow-type 1 --geometry LAKE --flow-file FLOW --season 1", "--region excludes --"},
    {"region_without_flow_type", "run --region 1 --season 1", "--region requires --flow-type"},
    {"neither_input", "run --season 1 --release 1 1", "give --region, --season and --flow-type"},
    {"as_desktop_threaded", "RUN --as-desktop --threads 2", "--threads excludes --as-desktop"},
    {"particles_beyond_memory_drawn", "RUN --particles 2000000000 --as-desktop --image x.png", "--particles 2000000000: the run would need 2096000000000 bytes of memory"},
    // The test lake has no georef line.
    {"release_lonlat_without_georef", "run --geometry LAKE --flow-file FLOW --season 1 --release-lonlat 29 -5", "the geometry file has no georef line"},
    {"geojson_without_georef", "RUN --geojson x.geojson", "the geometry file has no georef line"},
    {"probe_lonlat_without_georef", "probe LAKE --lonlat", "the geometry file has no georef line", "29 -5\n"},
    {"animate_no_season", "animate --geometry LAKE --flow-file FLOW --film a.gif", "--season is required"},
    {"animate_frames", "animate --region 1 --flow-type 1 --season 1 --frames 84 --film a.gif", "--frames: expected a frame count from 1 to 83, got '84'"},
    {"animate_size", "animate --size 100px", "--size: expected an image size"}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(kBadCases), test::RowName<BadCase>);

// The output's option and @file last; fewer than 84 flow frames: the run
// fails at that frame; writes beyond the file size limit fail as on a full
// disk; the damaged frame's velocities are not numbers.
// clang-format off
struct FailedOutputCase { const char *name, *options; int flowFrames; rlim_t fileSizeLimit; const char* expectedInMessage; int damagedFrame = -1; };
// clang-format on
constexpr rlim_t kNoLimit = RLIM_INFINITY;

class FailedOutput : public ::testing::TestWithParam<FailedOutputCase> {};

// A run that fails, at a frame the flow file lacks or cannot give, or at a
// write the disk refuses, leaves an existing file of the output's name byte
// for byte as it was and nothing else behind.
TEST_P(FailedOutput, LeavesTheExistingFileUntouched) {
  const FailedOutputCase& c = GetParam();
  const auto dir = test::FreshOutputDir(std::string("batch_failed_") + c.name);
  const auto flow = test::WriteFlow(
      "flow", 36, c.flowFrames, [&](int k, int) { return k == c.damagedFrame ? std::nanf("") : 0.01f; },
      [](int, int) { return 0.0f; });
  const Args args = Words(std::string("RUN --particles 200 --seed 1 ") + c.options, dir, flow.string());
  const std::string file = args.back(), old(20000, 'o');
  test::WriteTextFile(file, old);
  const test::BatchResult r = [&] {
    const test::FileSizeLimit full(c.fileSizeLimit);  // lifted before anything is reported
    return Batch(args);
  }();
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find(c.expectedInMessage), std::string::npos) << r.err;
  EXPECT_TRUE(test::ReadFile(file) == old) << "the existing file changed";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1)
      << "a partial file was left behind";
}

// clang-format off
const FailedOutputCase kFailedOutputs[] = {
    {"tracks_short_flow", "--tracks @t.csv", 20, kNoLimit, "frame 20"},
    {"tracks_damaged_flow", "--tracks @t.csv", 84, kNoLimit, "frame 30, node 1: U", 30},
    {"netcdf_short_flow", "--netcdf @t.nc", 20, kNoLimit, "frame 20"},
    {"image_short_flow", "--image @run.png", 20, kNoLimit, "frame 20"},
    {"density_short_flow", "--cell 2 --density @d.csv", 20, kNoLimit, "frame 20"},
    {"film_short_flow", "--film @run.gif", 20, kNoLimit, "frame 20"},
    {"desktop_film_damaged_flow", "--as-desktop --film @run.gif", 84, kNoLimit, "frame 30", 30},
    {"film_full_disk", "--size 400 --film @run.gif", 84, 16384, "run.gif"},
    {"tracks_full_disk", "--tracks @t.csv", 84, 65536, "File too large"},
    {"netcdf_full_disk", "--netcdf @t.nc", 84, 65536, "t.nc"},
    {"image_full_disk", "--size 400 --image @run.bmp", 84, 65536, "File too large"}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Outputs, FailedOutput, ::testing::ValuesIn(kFailedOutputs),
                         test::RowName<FailedOutputCase>);

}  // namespace
}  // namespace lakedrift
