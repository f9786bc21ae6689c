#include "model/GeometryReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

#include "model/DataFiles.h"
#include "model/NumberFormat.h"
#include "model/Region.h"

namespace lakedrift {
namespace {

constexpr double kGridStepKm = 10.0;  // map bounds move onto multiples of 10 km
constexpr double kHalf = 0.5;

// Where an item stands in the file, for the message when it is refused:
// "element record 12, neighbour across edge 2", "size of ring 3", "node
// count". Put into words only when a refusal needs it.
struct Item {
  const char* record = nullptr;  // "element", "node", "boundary-point"; none for the header
  int number = 0;                // the record's number, or the ring's
  const char* field = "";
  int index = 0;  // vertex or edge 1..3, when the field has one

  std::string Name() const {
    std::string name;
    if (record) name.append(record).append(" record ").append(std::to_string(number)).append(", ");
    name.append(field);
    if (index > 0) name.append(" ").append(std::to_string(index));
    if (!record && number > 0) name.append(" ").append(std::to_string(number));
    return name;
  }
};

// Splits a geometry file into numeric items separated by blanks, tabs,
// commas and line breaks, and reads them one by one with the line each
// came from, so that a refusal can say where the fault is.
class ItemReader {
 public:
  ItemReader(std::string text, std::string fileName)
      : text_(std::move(text)), fileName_(std::move(fileName)) {}

  // Reads the next item as a number; `what` names it for the message.
  Status Next(const Item& what, double& value) {
    SkipSeparators();
    if (pos_ >= text_.size())
      return Fail(what, "a number, but the file ends here (after line " + std::to_string(line_) + ")");
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSeparator(text_[pos_])) ++pos_;
    std::string_view item(text_.data() + start, pos_ - start);
    const std::optional<double> number = ParseNumberItem(item);
    if (!number)
      return Fail(what, "a number, found \"" + std::string(item.substr(0, 40)) + "\" on line " +
                            std::to_string(line_));
    value = *number;
    lastLine_ = line_;
    return Status::Ok();
  }

  // Reads the next item as a whole number in [low, high].
  Status NextInteger(const Item& what, long low, long high, long& value) {
    double number = 0;
    if (Status s = Next(what, number); !s.ok()) return s;
    if (number != std::floor(number) || number < static_cast<double>(low) ||
        number > static_cast<double>(high)) {
      std::ostringstream expected;
      expected << "a whole number in " << low << ".." << high << ", found " << number << " on line "
               << lastLine_;
      return Fail(what, expected.str());
    }
    value = static_cast<long>(number);
    return Status::Ok();
  }

  // When the next item is the word "georef", the rest of its line with the
  // blanks at either end trimmed; otherwise empty, and nothing is read.
  std::string GeorefLine() {
    static constexpr std::string_view kWord = "georef";
    std::size_t at = pos_;
    while (at < text_.size() && IsSeparator(text_[at])) ++at;
    if (text_.compare(at, kWord.size(), kWord) != 0) return {};
    at += kWord.size();
    if (at < text_.size() && !IsSeparator(text_[at])) return {};
    const std::size_t end = std::min(text_.find('\n', at), text_.size());
    const std::size_t first = text_.find_first_not_of(" \t", at);
    const std::size_t last = text_.find_last_not_of(" \t\r", end - 1);
    if (first >= end || last == std::string::npos || last < first) return {};
    return text_.substr(first, last - first + 1);
  }

  Status Fail(const Item& what, const std::string& expected) const {
    return Status::Fail(ErrorKind::Malformed, fileName_ + ": " + what.Name() + ": expected " + expected);
  }

 private:
  static bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\n' || c == '\r'; }
  void SkipSeparators() {
    while (pos_ < text_.size() && IsSeparator(text_[pos_])) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  std::string text_;
  std::string fileName_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int lastLine_ = 1;
};

constexpr long kInt16Min = -32768;
constexpr long kInt16Max = 32767;

Status ReadCounts(ItemReader& in, ModelState& g) {
  long value = 0;
  if (Status s = in.NextInteger({nullptr, 0, "ring count"}, 1, kMaxItemNumber, value); !s.ok()) return s;
  g.BoundaryRingCount = static_cast<int>(value);
  g.BoundaryRingSize.Resize(g.BoundaryRingCount);
  for (int k = 1; k <= g.BoundaryRingCount; ++k) {
    if (Status s = in.NextInteger({nullptr, k, "size of ring"}, 1, kMaxItemNumber, value); !s.ok()) return s;
    g.BoundaryRingSize(k) = static_cast<int>(value);
  }
  if (Status s = in.NextInteger({nullptr, 0, "node count"}, 1, kMaxItemNumber, value); !s.ok()) return s;
  g.NodeCount = static_cast<int>(value);
  if (Status s = in.NextInteger({nullptr, 0, "element count"}, 1, kMaxItemNumber, value); !s.ok()) return s;
  g.ElementCount = static_cast<int>(value);
  double unused = 0;
  if (Status s = in.Next({nullptr, 0, "third count of the header"}, unused); !s.ok()) return s;
  if (Status s = in.NextInteger({nullptr, 0, "boundary-point count"}, 1, kMaxItemNumber, value); !s.ok())
    return s;
  g.BoundaryCount = static_cast<int>(value);
  long ringTotal = 0;
  for (int k = 1; k <= g.BoundaryRingCount; ++k) ringTotal += g.BoundaryRingSize(k);
  if (ringTotal != g.BoundaryCount)
    return in.Fail({nullptr, 0, "ring sizes"}, "sizes adding up to the boundary-point count " +
                                                   std::to_string(g.BoundaryCount) + ", they add up to " +
                                                   std::to_string(ringTotal));
  return Status::Ok();
}

void SizeArrays(ModelState& g) {
  g.ElemNode.Resize(g.NodesPerElement, g.ElementCount);
  g.ElemNeighbour.Resize(g.NodesPerElement, g.ElementCount);
  g.BoundaryNode.Resize(g.BoundaryCount);
  g.NodeXMetres.Resize(g.NodeCount);
  g.NodeYMetres.Resize(g.NodeCount);
  g.NodeX.Resize(g.NodeCount);
  g.NodeY.Resize(g.NodeCount);
  g.BoundaryX.Resize(g.BoundaryCount);
  g.BoundaryY.Resize(g.BoundaryCount);
}

Status ReadElements(ItemReader& in, ModelState& g) {
  long value = 0;
  for (int e = 1; e <= g.ElementCount; ++e) {
    if (Status s = in.NextInteger(Item{"element", e, "element number"}, kInt16Min, kInt16Max, value); !s.ok())
      return s;
    for (int j = 1; j <= g.NodesPerElement; ++j) {
      if (Status s = in.NextInteger(Item{"element", e, "node of vertex", j}, 1, g.NodeCount, value); !s.ok())
        return s;
      g.ElemNode(j, e) = static_cast<int>(value);
    }
    for (int j = 1; j <= g.NodesPerElement; ++j) {
      if (Status s = in.NextInteger(Item{"element", e, "neighbour across edge", j}, 0, g.ElementCount, value);
          !s.ok())
        return s;
      g.ElemNeighbour(j, e) = static_cast<int16_t>(value);
    }
  }
  return Status::Ok();
}

Status ReadNodes(ItemReader& in, ModelState& g) {
  long value = 0;
  for (int n = 1; n <= g.NodeCount; ++n) {
    if (Status s = in.NextInteger(Item{"node", n, "node number"}, kInt16Min, kInt16Max, value); !s.ok())
      return s;
    if (Status s = in.Next(Item{"node", n, "x"}, g.NodeX(n)); !s.ok()) return s;
    if (Status s = in.Next(Item{"node", n, "y"}, g.NodeY(n)); !s.ok()) return s;
    g.NodeXMetres(n) = g.NodeX(n) * kMetresPerKm;
    g.NodeYMetres(n) = g.NodeY(n) * kMetresPerKm;
  }
  return Status::Ok();
}

Status ReadBoundary(ItemReader& in, ModelState& g) {
  long value = 0;
  double y = 0;
  for (int b = 1; b <= g.BoundaryCount; ++b) {
    if (Status s = in.NextInteger(Item{"boundary-point", b, "point number"}, kInt16Min, kInt16Max, value);
        !s.ok())
      return s;
    if (Status s = in.NextInteger(Item{"boundary-point", b, "node number"}, 1, g.NodeCount, value); !s.ok())
      return s;
    g.BoundaryNode(b) = static_cast<int>(value);
    if (Status s = in.Next(Item{"boundary-point", b, "x"}, g.BoundaryX(b)); !s.ok()) return s;
    if (Status s = in.Next(Item{"boundary-point", b, "y"}, y); !s.ok()) return s;
    g.BoundaryY(b) = static_cast<float>(y);
  }
  return Status::Ok();
}

// Every element must be a proper triangle listed counter-clockwise: the
// element walk and the interpolation both rely on it.
Status CheckOrientation(const ItemReader& in, const ModelState& g) {
  for (int e = 1; e <= g.ElementCount; ++e) {
    const int a = g.ElemNode(1, e), b = g.ElemNode(2, e), c = g.ElemNode(3, e);
    const double cross = (g.NodeXMetres(b) - g.NodeXMetres(a)) * (g.NodeYMetres(c) - g.NodeYMetres(a)) -
                         (g.NodeYMetres(b) - g.NodeYMetres(a)) * (g.NodeXMetres(c) - g.NodeXMetres(a));
    if (cross == 0.0)
      return in.Fail(Item{"element", e, "vertices"},
                     "a triangle of non-zero area, its three vertices (nodes " + std::to_string(a) + ", " +
                         std::to_string(b) + ", " + std::to_string(c) + ") lie on one line");
    if (cross < 0.0)
      return in.Fail(Item{"element", e, "vertices"}, "vertices listed counter-clockwise, nodes " +
                                                         std::to_string(a) + ", " + std::to_string(b) + ", " +
                                                         std::to_string(c) + " run clockwise");
  }
  return Status::Ok();
}

void DeriveCoastData(ModelState& g) {
  g.BoundaryXMetres.Resize(g.BoundaryCount);
  g.BoundaryYMetres.Resize(g.BoundaryCount);
  for (int b = 1; b <= g.BoundaryCount; ++b) {
    g.BoundaryXMetres(b) = g.BoundaryX(b) * kMetresPerKm;
    g.BoundaryYMetres(b) = static_cast<float>(g.BoundaryY(b) * kMetresPerKm);
  }
  g.IsBoundaryNode.Resize(g.NodeCount);
  for (int b = 1; b <= g.BoundaryCount; ++b) g.IsBoundaryNode(g.BoundaryNode(b)) = 1;
}

double MoveOntoGrid(double v) {
  const double sign = v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
  return kGridStepKm * std::floor(v / kGridStepKm) + kGridStepKm * sign;
}

// Moves the geometry and map-extent groups of a fully read state into the
// program's state, leaving everything else there untouched.
void MoveGeometry(ModelState& from, ModelState& to) {
  to.BoundaryRingCount = from.BoundaryRingCount;
  to.BoundaryRingSize = std::move(from.BoundaryRingSize);
  to.NodeCount = from.NodeCount;
  to.ElementCount = from.ElementCount;
  to.BoundaryCount = from.BoundaryCount;
  to.NodesPerElement = from.NodesPerElement;
  to.ElemNode = std::move(from.ElemNode);
  to.ElemNeighbour = std::move(from.ElemNeighbour);
  to.NodeX = std::move(from.NodeX);
  to.NodeY = std::move(from.NodeY);
  to.NodeXMetres = std::move(from.NodeXMetres);
  to.NodeYMetres = std::move(from.NodeYMetres);
  to.BoundaryNode = std::move(from.BoundaryNode);
  to.BoundaryX = std::move(from.BoundaryX);
  to.BoundaryY = std::move(from.BoundaryY);
  to.BoundaryXMetres = std::move(from.BoundaryXMetres);
  to.BoundaryYMetres = std::move(from.BoundaryYMetres);
  to.IsBoundaryNode = std::move(from.IsBoundaryNode);
  to.Georef = std::move(from.Georef);
  to.MapXMin = from.MapXMin, to.MapXMax = from.MapXMax;
  to.MapYMin = from.MapYMin, to.MapYMax = from.MapYMax;
  to.MapWidth = from.MapWidth, to.MapHeight = from.MapHeight;
  to.MapSize = from.MapSize;
}

}  // namespace

std::string GeometryFileName(int region) { return std::string(RegionByNumber(region).geometryFile); }

Status ReadGeometry(ModelState& state) {
  return ReadGeometry(state, DataFilePath(GeometryFileName(state.Region)));
}

Status ReadGeometry(ModelState& state, const std::filesystem::path& path) {
  const std::string name = path.string();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return Status::Fail(ErrorKind::FileMissing, name + ": file not found");
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  if (!file && !file.eof()) return Status::Fail(ErrorKind::ReadFailed, name + ": the file cannot be read");

  return ReadGeometryText(state, contents.str(), name);
}

Status ReadGeometryText(ModelState& state, std::string text, const std::string& name) {
  ItemReader in(std::move(text), name);
  ModelState g;
  g.NodesPerElement = kNodesPerElement;
  if (Status s = ReadCounts(in, g); !s.ok()) return s;
  SizeArrays(g);
  if (Status s = ReadElements(in, g); !s.ok()) return s;
  if (Status s = ReadNodes(in, g); !s.ok()) return s;
  if (Status s = ReadBoundary(in, g); !s.ok()) return s;
  g.Georef = in.GeorefLine();
  if (Status s = CheckOrientation(in, g); !s.ok()) return s;
  DeriveCoastData(g);
  ComputeMapExtent(g);
  MoveGeometry(g, state);
  return Status::Ok();
}

void ComputeMapExtent(ModelState& g) {
  g.MapXMin = g.MapXMax = g.BoundaryX(1);
  g.MapYMin = g.MapYMax = g.BoundaryY(1);
  for (int b = 2; b <= g.BoundaryCount; ++b) {
    g.MapXMin = std::min(g.MapXMin, g.BoundaryX(b));
    g.MapXMax = std::max(g.MapXMax, g.BoundaryX(b));
    g.MapYMin = std::min(g.MapYMin, static_cast<double>(g.BoundaryY(b)));
    g.MapYMax = std::max(g.MapYMax, static_cast<double>(g.BoundaryY(b)));
  }
  g.MapWidth = g.MapXMax - g.MapXMin;
  g.MapHeight = g.MapYMax - g.MapYMin;
  g.MapSize = static_cast<float>(g.MapWidth >= g.MapHeight ? g.MapWidth : g.MapHeight);

  g.MapXMin = MoveOntoGrid(g.MapXMin);
  g.MapXMax = MoveOntoGrid(g.MapXMax);
  g.MapYMin = MoveOntoGrid(g.MapYMin);
  g.MapYMax = MoveOntoGrid(g.MapYMax);
  g.MapWidth = g.MapXMax - g.MapXMin;
  g.MapHeight = g.MapYMax - g.MapYMin;

  if (g.MapWidth > g.MapHeight) {
    const double d = (g.MapWidth - g.MapHeight) * kHalf;
    g.MapYMin -= d;
    g.MapYMax += d;
    g.MapHeight = g.MapWidth;
  } else if (g.MapHeight > g.MapWidth) {
    const double d = (g.MapHeight - g.MapWidth) * kHalf;
    g.MapXMin -= d;
    g.MapXMax += d;
    g.MapWidth = g.MapHeight;
  }
}

}  // namespace lakedrift
