#pragma once
#include <filesystem>
#include <string>

#include "Coastline.h"
#include "LakeRegion.h"
#include "RegionFlow.h"
#include "StartupPicture.h"

namespace lakedrift::datagen {

// Produces every data file the program opens from its working folder: the
// three geometry files, the twelve flow-field files, the wave file, the
// start-up picture, and per region a depth file (per node the depth in m
// and the distance from the shore in km) that lets the data be checked.
class SampleDataGenerator {
 public:
  // Reads the shoreline file; throws std::runtime_error if it is unusable.
  explicit SampleDataGenerator(const std::filesystem::path& shoreFile);

  // Writes all files into a folder (created if missing) and returns a short
  // report of what was made. Throws std::runtime_error on any failure.
  std::string Generate(const std::filesystem::path& folder) const;

 private:
  // The currents of the whole lake on a fine mesh of its own.
  RegionFlow LakeFlow() const;
  // Writes one region's files, its flow nested in the whole lake's; adds a
  // line to the report and returns the box of the region's coast in the
  // shoreline's plane.
  PlaneBox GenerateRegion(const LakeRegion& region, const std::filesystem::path& folder,
                          const RegionFlow& lake, std::string& report) const;

  Coastline coast_;
};

}  // namespace lakedrift::datagen
