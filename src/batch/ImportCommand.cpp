#include "batch/ImportCommand.h"

#include <charconv>
#include <limits>

#include "batch/BatchCommands.h"
#include "ugrid/UgridImport.h"

namespace lakedrift {
namespace {

const char* kImportHelp = R"(usage: lakedrift-batch import MODEL.nc --out DIR [options]

Reads a 2-D UGRID mesh (CF + UGRID 1.0) with its velocities and writes into
DIR a geometry file and a week of flow frames that both programs read, with
the georef line when the file gives longitude/latitude or names its CRS.

  --out DIR             the folder to write to (it must exist)
  --region 1|2|3        which region's file names to use (default 1:
                        geomtan.inp)
  --season 1|2          the scenario code of the flow file name (default 1)
  --flow-type 1|2       the flow code of the flow file name (default 1:
                        surface, tanws.fld)
  --u NAME --v NAME     the velocity variables (default: found by their
                        standard_name)
  --layer K             the layer of a layered velocity, 1 ... layer count
  --depth-average       a layered velocity averaged over the layers'
                        thicknesses (layer bounds or sigma interfaces)
  --start DATE          the time of frame 0, YYYY-MM-DD[THH:MM[:SS]]
                        (default: the file's first time)
The 84 frames, 2 hours apart, are interpolated linearly in time.
Exit status 2 on a bad option or a file that cannot be read as asked.
)";

Status Bad(const std::string& option, const std::string& expected, const std::string& got) {
  return Status::Fail(ErrorKind::BadValue, option + ": expected " + expected + ", got '" + got + "'");
}

Status ReadChoice(const std::string& option, const std::string& text, int highest, int& value) {
  int parsed = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || parsed < 1 || parsed > highest)
    return Bad(option, "1 to " + std::to_string(highest), text);
  value = parsed;
  return Status::Ok();
}

int Fail(std::ostream& err, const Status& s) {
  err << "lakedrift-batch: " << s.message() << '\n';
  return kExitBadInput;
}

}  // namespace

Status TakeUgridOptions(std::vector<std::string>& args, UgridOptions& o) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--depth-average") {
      o.depthAverage = true;
      continue;
    }
    const bool ours = option == "--u" || option == "--v" || option == "--layer" || option == "--start";
    if (!ours) {
      rest.push_back(option);
      continue;
    }
    if (i + 1 >= args.size()) return Status::Fail(ErrorKind::BadValue, option + ": a value is missing");
    const std::string& value = args[++i];
    if (option == "--u") o.uName = value;
    if (option == "--v") o.vName = value;
    if (option == "--layer")
      if (!ReadChoice(option, value, std::numeric_limits<int>::max(), o.layer).ok())
        return Bad(option, "a layer number from 1", value);
    if (option == "--start") {
      o.start = ParseIsoDate(value);
      if (!o.start) return Bad(option, "a date YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS]", value);
    }
  }
  args = std::move(rest);
  return Status::Ok();
}

int ImportCommand(const std::vector<std::string>& argsIn, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args(argsIn.begin() + 1, argsIn.end());
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) return out << kImportHelp, kExitOk;
  UgridOptions options;
  if (Status s = TakeUgridOptions(args, options); !s.ok()) return Fail(err, s);
  ImportTarget target;
  std::string model;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option.rfind("--", 0) != 0) {
      if (!model.empty())
        return Fail(err, Status::Fail(ErrorKind::BadValue,
                                      "import: one MODEL.nc file, got '" + model + "' and '" + option + "'"));
      model = option;
      continue;
    }
    if (option != "--out" && option != "--region" && option != "--season" && option != "--flow-type")
      return Fail(err, Status::Fail(ErrorKind::BadValue,
                                    option + ": unknown option (see lakedrift-batch import --help)"));
    if (i + 1 >= args.size())
      return Fail(err, Status::Fail(ErrorKind::BadValue, option + ": a value is missing"));
    const std::string& value = args[++i];
    Status s = Status::Ok();
    if (option == "--out") target.folder = value;
    if (option == "--region") s = ReadChoice(option, value, 3, target.region);
    if (option == "--season") s = ReadChoice(option, value, 2, target.season);
    if (option == "--flow-type") s = ReadChoice(option, value, 2, target.flowType);
    if (!s.ok()) return Fail(err, s);
  }
  if (model.empty()) return Fail(err, Status::Fail(ErrorKind::BadValue, "import: expected a MODEL.nc file"));
  if (target.folder.empty())
    return Fail(err, Status::Fail(ErrorKind::BadValue, "import: --out DIR is required"));
  std::string summary;
  if (Status s = ImportUgrid(model, options, target, summary); !s.ok()) return Fail(err, s);
  out << summary;
  return kExitOk;
}

}  // namespace lakedrift
