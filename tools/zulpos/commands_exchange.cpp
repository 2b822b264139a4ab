// Conversations with the TEF manager: activity check, leftover scan and
// confirmation of an answer.
#include <memory>

#include "command.h"
#include "output.h"
#include "package.h"

namespace zulpos {
namespace {

int run_check(CommandContext& ctx) {
  char sequence[ZUL_SEQUENCE_CAPACITY] = "";
  Checked(api().GetSequence(sequence, sizeof sequence));
  const bool result = Checked(api().CheckGPAtivo("ATV", sequence));
  ctx.out.Result("result", result);
  ctx.out.Result("sequence", sequence);
  ctx.out.Result("DirTef", GetStr("DirTef"));
  return ExitStatus(result);
}

int run_scan(CommandContext& ctx) {
  const bool result = CheckedWithNotes(api().CheckIntPosFiles(ctx.context.c_str(), ZUL_TRUE));
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

struct ConfirmOptions {
  std::string file;
  bool not_confirm = false;
};

int run_confirm(CommandContext& ctx, const ConfirmOptions& o) {
  List answer;
  answer.LoadFromFile(PackagePath(o.file));
  const bool result =
      CheckedWithNotes(api().VerificaRetorno(ctx.context.c_str(), answer.handle(), o.not_confirm, "S"));
  ctx.out.Result("result", result);
  ctx.out.Result("DirTef", GetStr("DirTef"));
  ctx.out.Result("stMensagem_Zul00500", GetStr("stMensagem_Zul00500"));
  return ExitStatus(result);
}

} // namespace

Command AddCheck(CLI::App& zulpos) {
  CLI::App* check = zulpos.add_subcommand(
      "check", "is the manager running? CheckGPAtivo(\"ATV\", GetSequence())\n\n"
               "Sends the activity request to the manager of the root in DIRTEF.cds and waits\n"
               "up to 15 seconds for its status file.");
  return {.app = check, .uses_stored_root = true, .run = run_check};
}

Command AddScan(CLI::App& zulpos) {
  CLI::App* scan = zulpos.add_subcommand(
      "scan", "not-confirm leftover answers: CheckIntPosFiles(context, true)\n\n"
              "Looks for answers that interrupted sales left in the managers' response\n"
              "directories and the backup directory, and sends NCN for each.");
  return {.app = scan, .run = run_scan};
}

Command AddConfirm(CLI::App& zulpos) {
  auto o = std::make_shared<ConfirmOptions>();
  CLI::App* confirm = zulpos.add_subcommand(
      "confirm", "confirm an answer: VerificaRetorno(context, FILE, notConfirm, \"S\")\n\n"
                 "Loads the manager answer FILE (a native path or a Windows-form path such as\n"
                 "c:\\tef_dial\\resp\\intpos.001) and confirms its transaction (CNF) with the\n"
                 "manager of its network, or does not confirm it (NCN) with --not-confirm.");
  AddFileOperand(*confirm, o->file, "the manager's answer");
  AddFlag(*confirm, "--not-confirm", o->not_confirm, "send NCN instead of CNF");
  return {.app = confirm, .run = [o](CommandContext& ctx) { return run_confirm(ctx, *o); }};
}

} // namespace zulpos
