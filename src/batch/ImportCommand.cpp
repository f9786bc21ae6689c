#include "batch/ImportCommand.h"

#include "batch/BatchCommands.h"
#include "batch/BatchOptions.h"
#include "ugrid/UgridImport.h"

namespace lakedrift {

int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ImportOptions o;
  Status s = ParseImportOptions({args.begin() + 1, args.end()}, o);
  if (s.ok() && o.help) return out << ImportHelp(), kExitOk;
  std::string summary;
  if (s.ok()) s = ImportUgrid(o.model, o.ugrid, {o.out, o.region, o.season, o.flowType}, summary);
  if (!s.ok()) return err << "lakedrift-batch: " << s.message() << '\n', kExitBadInput;
  out << summary;
  return kExitOk;
}

}  // namespace lakedrift
