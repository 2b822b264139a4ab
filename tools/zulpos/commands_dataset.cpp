// What the package reads from a dataset file such as the host's
// PARAMETROSQTR.CDS or DIRTEF.cds.
#include <memory>

#include "command.h"
#include "output.h"
#include "package.h"

namespace zulpos {

Command AddDataset(CLI::App& zulpos) {
  auto file = std::make_shared<std::string>();
  CLI::App* dataset = zulpos.add_subcommand(
      "dataset", "show what the package reads from a dataset file (binary or XML packet)\n\n"
                 "Reads the dataset FILE as the package does (PARAMETROSQTR.CDS, DIRTEF.cds) and\n"
                 "prints format=binary or format=xml, fields= the field names, records= the\n"
                 "count of the current view (deleted rows left out, changed rows in their\n"
                 "latest version), then R.FIELD=value for every record R (from 1) and field,\n"
                 "values as the host's library shows them. A damaged file is an error naming it.");
  AddFileOperand(*dataset, *file, "the dataset file");
  return {.app = dataset, .uses_host_dir = false, .interactive = false, .run = [file](CommandContext& ctx) {
            List lines;
            Checked(api().zul_DescribeDataSet(PackagePath(*file).c_str(), lines.handle()));
            for (int i = 0; i < lines.Count(); ++i) ctx.out.Line(lines.Line(i));
            return 0;
          }};
}

} // namespace zulpos
