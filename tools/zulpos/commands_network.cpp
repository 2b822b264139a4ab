// The package's directories and the choice of exchange root.
#include "command.h"
#include <filesystem>

#include "output.h"
#include "package.h"
#include "tool_platform/files.h"

namespace zulpos {
namespace {

int run_dirs(CommandContext& ctx) {
  for (const char* name : {"dsDirTef", "dsDirBkpTef", "dsDirPenTef"}) ctx.out.PathResult(name, GetStr(name));
  return 0;
}

int run_network(CommandContext& ctx) {
  const auto kind = ctx.options.Value("--kind");
  if (!kind) throw UsageError("network needs --kind K");
  const int printer_type = ParseInteger("--printer-type", ctx.options.ValueOr("--printer-type", "0"));

  char root[ZUL_ROOT_CAPACITY] = "";
  const bool result = Checked(
      api().CheckDirTef(root, sizeof root, FromTerminal(ParseKind("--kind", *kind)).c_str(), printer_type));
  // The package writes it under the host program's directory.
  const std::string file =
      (std::filesystem::path(ctx.host_dir) / "Dados" / "Cadastros" / "DIRTEF.cds").string();
  ctx.out.Result("result", result);
  ctx.out.Result("DirTef", GetStr("DirTef"));
  ctx.out.Result("Zul_IdTipoImp", GetInt("Zul_IdTipoImp"));
  ctx.out.PathResult("dirtef_path", file);
  ctx.out.Result("dirtef_file", tool_platform::read_file(file));
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
