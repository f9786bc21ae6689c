// Longitude and latitude out of a run and into probe, through the georef
// line of the geometry file.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <sstream>

#include "batch/BatchCommands.h"
#include "batch/BatchRunner.h"
#include "batch/GeoJsonTrackWriter.h"
#include "model/GeometryReader.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

using Result = test::BatchResult;
using test::Batch;

// The Malagarasi mouth, 5.2564 S 29.8017 E, in the Malagarasi region's
// grid, as the proj program puts it through the region's georef line.
constexpr double kMouthLon = 29.8017, kMouthLat = -5.2564;
constexpr double kMouthXKm = 28.017515, kMouthYKm = 23.997544;
constexpr double kTenMetresKm = 0.010;
// A water point of the region, west of the mouth.
constexpr double kWaterLon = 29.75, kWaterLat = -5.25;

TEST(GeographicOutput, MalagarasiMouthLandsWhereProjPutsIt) {
  const Result r =
      Batch({"probe", test::SampleDataPath("geommal.inp").string(), "--lonlat"}, "29.8017 -5.2564\n");
  ASSERT_EQ(r.status, kExitOk) << r.err;
  std::istringstream fields(r.out);
  double lon, lat, x, y;
  ASSERT_TRUE(fields >> lon >> lat >> x >> y) << r.out;
  EXPECT_EQ(std::pair(lon, lat), std::pair(kMouthLon, kMouthLat));
  EXPECT_NEAR(std::hypot(x - kMouthXKm, y - kMouthYKm), 0.0, kTenMetresKm) << x << ' ' << y;
}

TEST(GeographicOutput, GeoJsonLineEndsWherePositionsLeaveTheProjection) {
  // A particle thrown far outside the projection's domain has no longitude:
  // its line stops at the last position that has one, and the file stays JSON.
  ModelState s;
  ASSERT_TRUE(ReadGeometry(s, test::SampleDataPath("geommal.inp")).ok());
  LakeGeoref georef;
  ASSERT_TRUE(georef.Open(s.Georef, "test").ok());
  const auto path = test::FreshOutputDir("geojson_far") / "far.geojson";
  GeoJsonTrackWriter writer(path, DateTime{0}, georef);
  const double x[][2] = {{1000, 2000}, {1500, 2500}, {1e30, 3000}};
  const float y[] = {1000, 1000};
  for (int level = 1; level <= 3; ++level)
    ASSERT_TRUE(writer.WriteLevel(level, 2.0 * (level - 1), x[level - 1], y).ok());
  ASSERT_TRUE(writer.Finish().ok());
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(test::ReadFile(path)));
  ASSERT_TRUE(doc.isObject()) << test::ReadFile(path);
  EXPECT_EQ(doc["features"][0]["geometry"]["coordinates"].toArray().size(), 2);
  EXPECT_EQ(doc["features"][1]["geometry"]["coordinates"].toArray().size(), 3);
}

TEST(GeographicOutput, RunWritesTheReleasePointsLongitudeAndLatitudeInEveryTrackFormat) {
  const auto dir = test::FreshOutputDir("geographic_run");
  const Result r =
      test::BatchLine("run --geometry " + test::SampleDataPath("geommal.inp").string() + " --flow-file " +
                      test::SampleDataPath("malws.fld").string() + " --season 1 --release-lonlat " +
                      std::to_string(kWaterLon) + " " + std::to_string(kWaterLat) +
                      " --particles 3 --seed 5 --tracks " + (dir / "t.csv").string() + " --netcdf " +
                      (dir / "t.nc").string() + " --geojson " + (dir / "t.geojson").string());
  ASSERT_EQ(r.status, kExitOk) << r.err;
  // CSV: the first row's last two columns.
  std::istringstream csv(test::ReadFile(dir / "t.csv"));
  std::string header, row;
  std::getline(csv, header), std::getline(csv, row);
  EXPECT_EQ(header, "particle,level,time,x_m,y_m,lon,lat");
  double lon = 0, lat = 0;
  ASSERT_EQ(std::sscanf(row.c_str() + row.rfind(',', row.rfind(',') - 1) + 1, "%lf,%lf", &lon, &lat), 2)
      << row;
  EXPECT_NEAR(std::hypot(lon - kWaterLon, lat - kWaterLat), 0.0, 1e-7) << row;
  // GeoJSON: a line per particle from the release point over the week.
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray::fromStdString(test::ReadFile(dir / "t.geojson")));
  EXPECT_EQ(doc["type"].toString(), "FeatureCollection");
  const QJsonArray features = doc["features"].toArray();
  ASSERT_EQ(features.size(), 3);
  for (int p = 0; p < 3; ++p) {
    const QJsonObject feature = features[p].toObject();
    EXPECT_EQ(feature["geometry"]["type"].toString(), "LineString");
    const QJsonArray line = feature["geometry"]["coordinates"].toArray();
    ASSERT_EQ(line.size(), 84);
    EXPECT_NEAR(std::hypot(line[0][0].toDouble() - kWaterLon, line[0][1].toDouble() - kWaterLat), 0.0, 1e-6);
    EXPECT_NE(line[83][0].toDouble(), kWaterLon);
    const QJsonValue properties = feature["properties"];
    EXPECT_EQ(QString::number(properties["particle"].toInt()) + " " + properties["release_time"].toString() +
                  " " + properties["end_time"].toString(),
              QString("%1 1997-04-02T02:00:00 1997-04-09T00:00:00").arg(p + 1));
  }
  // NetCDF: CF longitude and latitude, and the georef line as grid mapping.
  int nc = 0;
  ASSERT_EQ(nc_open((dir / "t.nc").c_str(), NC_NOWRITE, &nc), NC_NOERR);
  EXPECT_EQ(test::NcText(nc, "lon", "standard_name") + " " + test::NcText(nc, "lon", "units") + " " +
                test::NcText(nc, "lat", "standard_name") + " " + test::NcText(nc, "lat", "units") + " " +
                test::NcText(nc, "x", "grid_mapping") + " " + test::NcText(nc, "crs", "grid_mapping_name"),
            "longitude degrees_east latitude degrees_north crs transverse_mercator");
  EXPECT_NE(test::NcText(nc, "crs", "crs_wkt").find("Transverse_Mercator"), std::string::npos);
  double falseEasting = 0, centralMeridian = 0, first[2] = {0, 0};
  nc_get_att_double(nc, test::NcVar(nc, "crs"), "false_easting", &falseEasting);
  nc_get_att_double(nc, test::NcVar(nc, "crs"), "longitude_of_central_meridian", &centralMeridian);
  EXPECT_EQ(std::pair(falseEasting, centralMeridian), std::pair(50000.0, 30.0));  // +x_0, metres as x is
  const std::size_t start[2] = {0, 0};
  nc_get_var1_double(nc, test::NcVar(nc, "lon"), start, &first[0]);
  nc_get_var1_double(nc, test::NcVar(nc, "lat"), start, &first[1]);
  EXPECT_NEAR(std::hypot(first[0] - kWaterLon, first[1] - kWaterLat), 0.0, 1e-7);
  nc_close(nc);
}

// The test lake has no georef line.
TEST(GeographicOutput, OptionsThatNeedAGeorefAreRefusedWithoutOne) {
  const auto dir = test::FreshOutputDir("geographic_plain");
  const std::string lake = test::TestDataPath("testlake.inp").string(),
                    run = "run --geometry " + lake + " --flow-file " +
                          test::TestDataPath("testlake.fld").string() + " --season 1 ";
  for (const Result& r : {test::BatchLine(run + "--release-lonlat 29 -5"),
                          test::BatchLine(run + "--release 3 1 --geojson " + (dir / "t.geojson").string()),
                          Batch({"probe", lake, "--lonlat"}, "29 -5\n")}) {
    EXPECT_EQ(r.status, kExitBadInput);
    EXPECT_NE(r.err.find("the geometry file has no georef line"), std::string::npos) << r.err;
  }
  ASSERT_EQ(test::BatchLine(run + "--release 3 1 --tracks " + (dir / "t.csv").string()).status, kExitOk);
  EXPECT_EQ(test::ReadFile(dir / "t.csv").substr(0, 28), "particle,level,time,x_m,y_m\n");
}

}  // namespace
}  // namespace lakedrift
