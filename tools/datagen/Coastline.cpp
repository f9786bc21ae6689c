#include "Coastline.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace lakedrift::datagen {

namespace {

// A ring needs three points to enclose anything.
constexpr std::size_t kMinRingPoints = 3;

// The next line that is not a comment or blank; false at the end.
bool NextDataLine(std::istream& in, std::string& line) {
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') return true;
  }
  return false;
}

}  // namespace

Coastline Coastline::Load(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot open shoreline file " + path.string());
  const auto fail = [&](const std::string& what) { return std::runtime_error(path.string() + ": " + what); };

  std::string line;
  std::string word;
  int ringCount = 0;
  if (!NextDataLine(in, line) || !(std::istringstream(line) >> word >> ringCount) || word != "rings" ||
      ringCount < 1) {
    throw fail("expected 'rings R' with R >= 1");
  }
  Coastline coast;
  for (int k = 1; k <= ringCount; ++k) {
    int number = 0;
    std::size_t size = 0;
    if (!NextDataLine(in, line) || !(std::istringstream(line) >> word >> number >> size) || word != "ring" ||
        number != k || size < kMinRingPoints) {
      throw fail("expected 'ring " + std::to_string(k) + " N' with N >= 3");
    }
    CoastRing ring;
    for (std::size_t i = 0; i < size; ++i) {
      Vec2 p;
      if (!NextDataLine(in, line) || !(std::istringstream(line) >> p.x >> p.y)) {
        throw fail("ring " + std::to_string(k) + " ends before its " + std::to_string(size) + " points");
      }
      ring.points.push_back(p);
    }
    ring.cutAfter.assign(size, false);
    coast.rings_.push_back(std::move(ring));
  }
  return coast;
}

}  // namespace lakedrift::datagen
