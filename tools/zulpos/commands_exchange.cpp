// Conversations with the TEF manager: activity check, leftover scan and
// confirmation of an answer.
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

int run_confirm(CommandContext& ctx) {
  List answer;
  answer.LoadFromFile(PathFromTerminal(ctx.options.positionals.at(0)));
  const bool not_confirm = ctx.options.Has("--not-confirm");
  const bool result =
      CheckedWithNotes(api().VerificaRetorno(ctx.context.c_str(), answer.handle(), not_confirm, "S"));
  ctx.out.Result("result", result);
  ctx.out.Result("DirTef", GetStr("DirTef"));
  ctx.out.Result("stMensagem_Zul00500", GetStr("stMensagem_Zul00500"));
  return ExitStatus(result);
}

const bool registered_check = RegisterCommand([] {
  Command command;
  command.name = "check";
  command.summary = "is the manager running? CheckGPAtivo(\"ATV\", GetSequence())";
  command.description = "Sends the activity request to the manager of the root in DIRTEF.cds and waits\n"
                        "up to 15 seconds for its status file.";
  command.rank = 30;
  command.uses_stored_root = true;
  command.run = run_check;
  return command;
}());

const bool registered_scan = RegisterCommand([] {
  Command command;
  command.name = "scan";
  command.summary = "not-confirm leftover answers: CheckIntPosFiles(context, true)";
  command.description = "Looks for answers that interrupted sales left in the managers' response\n"
                        "directories and the backup directory, and sends NCN for each.";
  command.rank = 40;
  command.run = run_scan;
  return command;
}());

const bool registered_confirm = RegisterCommand([] {
  Command command;
  command.name = "confirm";
  command.operands = "FILE";
  command.min_operands = 1;
  command.max_operands = 1;
  command.summary = "confirm an answer: VerificaRetorno(context, FILE, notConfirm, \"S\")";
  command.description = "Loads the manager answer FILE (a native path or a Windows-form path such as\n"
                        "c:\\tef_dial\\resp\\intpos.001) and confirms its transaction (CNF) with the\n"
                        "manager of its network, or does not confirm it (NCN) with --not-confirm.";
  command.options = {{"--not-confirm", "", "send NCN instead of CNF"}};
  command.rank = 50;
  command.run = run_confirm;
  return command;
}());

} // namespace
} // namespace zulpos
