// What the package reads from a dataset file such as the host's
// PARAMETROSQTR.CDS or DIRTEF.cds.
#include "command.h"
#include "output.h"
#include "package.h"

namespace zulpos {
namespace {

int run_dataset(CommandContext& ctx) {
  List lines;
  Checked(api().zul_DescribeDataSet(PathFromTerminal(ctx.options.positionals.at(0)).c_str(), lines.handle()));
  for (int i = 0; i < lines.Count(); ++i) ctx.out.Line(lines.Line(i));
  return 0;
}

const bool registered_dataset = RegisterCommand([] {
  Command command;
  command.name = "dataset";
  command.operands = "FILE";
  command.min_operands = 1;
  command.max_operands = 1;
  command.summary = "show what the package reads from a dataset file (binary or XML packet)";
  command.description = "Reads the dataset FILE as the package does (PARAMETROSQTR.CDS, DIRTEF.cds) and\n"
                        "prints format=binary or format=xml, fields= the field names, records= the\n"
                        "count of the current view (deleted rows left out, changed rows in their\n"
                        "latest version), then R.FIELD=value for every record R (from 1) and field,\n"
                        "values as the host's library shows them. A damaged file is an error naming it.";
  command.uses_host_dir = false;
  command.interactive = false;
  command.rank = 95;
  command.run = run_dataset;
  return command;
}());

} // namespace
} // namespace zulpos
