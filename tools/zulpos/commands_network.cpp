// The package's directories and the choice of exchange root.
#include <filesystem>
#include <memory>

#include "command.h"
#include "options.h"
#include "output.h"
#include "package.h"
#include "tool_platform/files.h"

namespace zulpos {
namespace {

int run_dirs(CommandContext& ctx) {
  for (const char* name : {"dsDirTef", "dsDirBkpTef", "dsDirPenTef"}) ctx.out.Result(name, GetStr(name));
  return 0;
}

struct NetworkOptions {
  std::string kind;
  int printer_type = 0;
};

int run_network(CommandContext& ctx, const NetworkOptions& o) {
  char root[ZUL_ROOT_CAPACITY] = "";
  const bool result = Checked(api().CheckDirTef(root, sizeof root, o.kind.c_str(), o.printer_type));
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

} // namespace

Command AddDirs(CLI::App& zulpos) {
  CLI::App* dirs = zulpos.add_subcommand(
      "dirs", "show the package's directories (dsDirTef, dsDirBkpTef, dsDirPenTef)\n\n"
              "Loads the package for the host directory and prints the three directories it\n"
              "computed from the host program's path (short form).");
  return {.app = dirs, .run = run_dirs};
}

Command AddNetwork(CLI::App& zulpos) {
  auto o = std::make_shared<NetworkOptions>();
  CLI::App* network = zulpos.add_subcommand(
      "network", "choose the exchange root: CheckDirTef(DirTef, K, N)\n\n"
                 "Runs CheckDirTef for payment kind K and printer type N. The network dialog\n"
                 "shows when c:\\tef_disc\\ exists and K is not C; --network answers it.\n"
                 "Prints result, DirTef, Zul_IdTipoImp and the DIRTEF.cds written.");
  AddValue(*network, "--kind", o->kind, "K", "payment kind, one letter: C, D, Q, A or another")
      ->required()
      ->check(Kind());
  AddValue(*network, "--printer-type", o->printer_type, "N",
           "printer type id stored in Zul_IdTipoImp (default 0)")
      ->check(Integer());
  return {.app = network, .run = [o](CommandContext& ctx) { return run_network(ctx, *o); }};
}

} // namespace zulpos
