// The package's directories and the choice of exchange root.
#include "command.h"
#include "output.h"
#include "platform/file_system.h"
#include "zul00500/state.h"
#include "zul00500/zul00500.h"

namespace zulpos {
namespace {

int run_dirs(CommandContext& ctx) {
  ctx.out.PathResult("dsDirTef", zul00500::dsDirTef);
  ctx.out.PathResult("dsDirBkpTef", zul00500::dsDirBkpTef);
  ctx.out.PathResult("dsDirPenTef", zul00500::dsDirPenTef);
  return 0;
}

int run_network(CommandContext& ctx) {
  const auto kind = ctx.options.Value("--kind");
  if (!kind) throw UsageError("network needs --kind K");
  const int printer_type = ParseInteger("--printer-type", ctx.options.ValueOr("--printer-type", "0"));

  // As the sale does: DirTef itself receives the root.
  const bool result = zul00500::CheckDirTef(zul00500::DirTef, ParseKind("--kind", *kind), printer_type);
  const std::string file = zul00500::dsDirTef + "\\DIRTEF.cds";
  ctx.out.Result("result", result);
  ctx.out.Result("DirTef", zul00500::DirTef);
  ctx.out.Result("Zul_IdTipoImp", zul00500::Zul_IdTipoImp);
  ctx.out.PathResult("dirtef_path", zul00500::platform::fs().native_path(file));
  ctx.out.Result("dirtef_file", zul00500::platform::fs().read_file(file));
  return ExitStatus(result);
}

const bool registered_dirs = RegisterCommand([] {
  Command command;
  command.name = "dirs";
  command.summary = "show the package's directories (dsDirTef, dsDirBkpTef, dsDirPenTef)";
  command.description = "Loads the package for the host directory and prints the three directories it\n"
                        "computed from the host program's path (short form).";
  command.rank = 10;
  command.run = run_dirs;
  return command;
}());

const bool registered_network = RegisterCommand([] {
  Command command;
  command.name = "network";
  command.summary = "choose the exchange root: CheckDirTef(DirTef, K, N)";
  command.description = "Runs CheckDirTef for payment kind K and printer type N. The network dialog\n"
                        "shows when c:\\tef_disc\\ exists and K is not C; --network answers it.\n"
                        "Prints result, DirTef, Zul_IdTipoImp and the DIRTEF.cds written.";
  command.options = {{"--kind", "K", "payment kind, one letter: C, D, Q, A or another (required)"},
                     {"--printer-type", "N", "printer type id stored in Zul_IdTipoImp (default 0)"}};
  command.rank = 20;
  command.run = run_network;
  return command;
}());

} // namespace
} // namespace zulpos
