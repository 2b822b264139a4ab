// A card or cheque payment: the checks before it, the sale request, the wait
// for the manager's answer and what an accepted answer gives the host.
#include "tef/sale.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/number_format.h"
#include "support/outcome.h"
#include "support/problems.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/answer_wait.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/pending_sale.h"
#include "tef/sale_answer.h"
#include "tef/settlement/confirmation.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {

constexpr std::uint32_t kPauseMs = 250;
// After this long without any new or changed file from the manager the
// operator is asked whether to keep waiting; the answer wait has no bound
// of its own.
constexpr std::uint64_t kSilenceMs = 2 * 60 * 1000;
constexpr const char* kOpening = "Inicio DoTEF ----";
constexpr const char* kClosing = "Fim DoTEF ----";
constexpr const char* kErrorHeader = "000-000 = XXX";

// The opening line at once, the closing line exactly once on every way out.
// A normal return closes explicitly, so that a log that cannot be written
// reaches the caller; when an error is on its way the destructor closes, and
// a failing log must not hide that error.
class SaleLog {
public:
  SaleLog() { LogCartao(kOpening); }
  ~SaleLog() {
    if (closed_) return;
    try {
      LogCartao(kClosing);
    } catch (...) {
    }
  }
  SaleLog(const SaleLog&) = delete;
  SaleLog& operator=(const SaleLog&) = delete;

  void Close() {
    closed_ = true;
    // Once a settlement went to the manager, a log that cannot be written
    // does not turn a payment that may stand into an error.
    if (settled_.AnyOut()) LogSettled(kClosing);
    else LogCartao(kClosing);
  }

private:
  bool closed_ = false;
  SettlementsSince settled_;
};

// The call's inputs and the host's variables that receive its results.
struct Sale {
  const std::string& context;
  double amount;
  double amountDue;
  const std::string& kind;
  StringList& receipts;
  std::int32_t& approvedCount;
  std::int32_t& transactionNumber;
  double& extraAmount;
  std::string& documentNumber;
  std::string& field748;
  std::string& field013;
  std::string& field027;

  std::string operation() const { return kind == "Q" ? "CHQ" : "CRT"; }
  std::string kind_code() const { return kind == "C" ? "1" : kind == "D" ? "2" : kind == "V" ? "4" : ""; }
};

// True for an answer that leaves a transaction open at the manager: an
// approval that needs a confirmation or a non-confirmation.
bool awaits_settlement(const StringList& answer) {
  return answer.Field("009-000 ") == "0" && !NeedsNoConfirmation(answer);
}

// True unless `path` holds what may be an open transaction's answer (not a
// refusal) that no numbered backup holds: it could not be written, or only
// the working copy has it, which this clean-up removes with it. That answer
// is the only copy, and the leftover scan must settle it rather than this
// clean-up delete it.
bool safe_to_clear(const std::string& path) {
  const std::optional<std::string> head = ReadHead(path);
  if (!head) return false;
  const StringList answer = WholeLines(*head);
  const std::string sequence = answer.Field("001-000 ");
  const std::string result = answer.Field("009-000 ");
  const bool refused = !result.empty() && result != "0";
  return sequence.empty() || refused || NeedsNoConfirmation(answer) || BackedUp(sequence);
}

// Deletes the previous conversation's answers and their same-named copies.
// Before the first conversation there is no root to clean: an empty one
// would make the pattern relative to wherever the host runs.
void clear_previous_answers() {
  if (DirTef.empty()) return;
  platform::FileSystem& fs = platform::fs();
  const std::string response = DirTef + "resp\\";
  for (const std::string& name : fs.list(response + "intpos.*")) {
    if (!safe_to_clear(response + name)) continue;
    fs.remove_file(response + name);
    fs.remove_file(dsDirBkpTef + name);
  }
}

// Leftovers settled, network chosen, manager active.
bool ready_for_sale(const Sale& sale) {
  if (!CheckIntPosFiles(sale.context, true)) return false;
  LogCartao("Rez00000 - CheckIntPosFiles - Ok");
  if (!CheckDirTef(DirTef, sale.kind, 0)) return false;
  LogCartao("Rez00000 - CheckDirTef - Ok");
  if (!CheckGPAtivo("ATV", GetSequence())) return false;
  LogCartao("Rez00000 - CheckGPAtivo - Ok");
  return true;
}

void send_sale_request(const Sale& sale, const std::string& root, const std::string& sequence) {
  const StringList request{"000-000 = " + sale.operation(),
                           "001-000 = " + sequence,
                           "003-000 = " + CentsText(sale.amount),
                           "004-000 = 0",
                           "500-000 = " + sale.kind_code(),
                           "701-000 = Quintar v5, 55, 1, 0",
                           "706-000 = 2",
                           "716-000 = VELTRAN SOFTWARE LTDA.",
                           "999-999 = 0"};
  SaveRequest(request, root);
  platform::pause(kPauseMs);
}

enum class Outcome { Accepted, ErrorAnswer, Malformed, GaveUp };

// An answer of another sequence: a late answer to an earlier request. It
// leaves the response directory, where the manager writes the right one. An
// approval is kept as a numbered backup, for the next leftover scan to
// settle; anything else goes.
void set_aside_other_sequence(const std::string& path, const StringList& answer) {
  platform::FileSystem& fs = platform::fs();
  // A second copy of an answer that a numbered backup already keeps, or
  // that was settled (a manager that wrote it twice), is none to keep.
  const std::string its = answer.Field("001-000 ");
  const bool keep = awaits_settlement(answer) && !BackedUp(its) && SettledInThisProcess(its).empty() &&
                    SettlementTaken(its).empty();
  // A copy that could not be numbered stays as the working copy, which the
  // scan settles too.
  if (keep) NumberWorkingCopy();
  else fs.remove_file(dsDirBkpTef + "intpos.001");
  fs.remove_file(path);
  LogCartao("Rez00000 - Arquivo de resposta errado.");
  if (keep)
    LogCartao("Zul00500 - Resposta aprovada do sequencial " + answer.Field("001-000 ") +
              " mantida para a pr\xF3xima verifica\xE7\xE3o");
}

// A response file cut short for good. Unless it may be this sale's answer
// (its sequence line says so), it is moved aside (SetAside): a manager
// may wait for it to go before writing the answer.
void set_aside_stalled(const std::string& root, const std::string& sequence) {
  const std::string path = root + "resp\\intpos.001";
  if (WholeLines(ReadHead(path).value_or(std::string())).Field("001-000 ") == sequence) return;
  SetAside(root + "resp\\", "intpos.001", root.substr(3, root.size() - 4), "incompleto, de outro sequencial");
}

// The manager's status file says it is at work when it is new: one that
// appeared or changed since the last look. One the package
// could not remove (a read-only directory, a file the manager held) says
// nothing more after the first look, or it would hold the wait forever.
class StatusSigns {
public:
  explicit StatusSigns(std::string path) : path_(std::move(path)), last_(look()) {}
  bool New() {
    std::optional<std::string> now = look();
    const bool fresh = now != last_;
    last_ = std::move(now);
    return fresh;
  }

private:
  // Empty while another program holds it; nothing while it is not there or
  // cannot be read.
  std::optional<std::string> look() const {
    if (!platform::fs().file_exists(path_)) return std::nullopt;
    try {
      return ReadIfThere(path_).value_or(std::string());
    } catch (const FileError&) {
      return std::nullopt;
    }
  }

  std::string path_;
  std::optional<std::string> last_;
};

// The operator's way out of a wait the manager leaves silent. No leaves
// everything as it lies (the request, any answer still to come) for the
// next leftover scan.
bool keep_waiting(const Sale& sale, const std::string& sequence) {
  LogCartao("Zul00500 - Sem resposta do gerenciador h\xE1 " + std::to_string(kSilenceMs / 60000) +
            " minutos, sequencial " + sequence);
  if (AskOperator("Sem resposta do gerenciador. Continuar aguardando?", sale.context)) return true;
  LogCartao("Zul00500 - Operador deixou de aguardar a resposta do sequencial " + sequence +
            "; arquivos mantidos para a pr\xF3xima verifica\xE7\xE3o");
  return false;
}

// Waits, without time limit, for the manager's whole answer to `sequence`;
// after each two minutes of silence the operator may give up.
// Every answer read is copied into the backup directory; one of another
// sequence is set aside, one of this sequence gets a numbered backup. An
// answer of this sequence that is not accepted stays where the manager put
// it and is not read again until the manager writes something else there:
// reading it on every cycle would store one more backup each time.
Outcome wait_for_answer(StringList& answer, const Sale& sale, const std::string& root,
                        const std::string& sequence) {
  platform::FileSystem& fs = platform::fs();
  const std::string path = root + "resp\\intpos.001";
  AnswerWatch watch;
  StatusSigns status(root + "resp\\intpos.sts");
  platform::Stopwatch silence;
  bool told_directory = false;
  for (;;) {
    platform::handle_message();
    platform::pause(kPauseMs);
    if (status.New()) silence.restart();
    if (silence.elapsed_ms() >= kSilenceMs) {
      if (!keep_waiting(sale, sequence)) {
        SetOutcome(RoutineOutcome::OperatorStopped);
        return Outcome::GaveUp;
      }
      silence.restart();
    }
    if (!fs.file_exists(path)) {
      // A directory in the answer's place: the manager cannot write there,
      // and the operator's way out is what is left.
      if (!told_directory && fs.directory_exists(path)) {
        TellDirectoryInPlace(path);
        told_directory = true;
      }
      continue;
    }
    const AnswerWatch::Look look = watch.Take(path, answer);
    if (watch.Changed()) silence.restart();
    if (look == AnswerWatch::Look::Stalled) set_aside_stalled(root, sequence);
    if (look == AnswerWatch::Look::TooLarge && SetAsideTooLarge(root, sequence, sale.context)) {
      SetOutcome(RoutineOutcome::ManagerError);
      return Outcome::Malformed;
    }
    if (look != AnswerWatch::Look::Whole) continue;

    LogCartao("Arquivo encontrado ---");
    WriteWorkingCopy(answer.Text());
    LogCartao("Sequencial do arquivo de resposta: " + answer.Field("001-000 "));
    LogCartao("Linha 000-000: " + answer.Field("000-000 "));
    LogCartao("Linha 009-000: " + answer.Field("009-000 "));
    LogCartao("Linha 030-000: " + answer.Field("030-000 "));

    if (answer.Field("001-000 ") != sequence) {
      set_aside_other_sequence(path, answer);
      // One that could not be removed is not read again until it changes.
      if (fs.file_exists(path)) watch.Reject();
      continue;
    }
    if (NumberWorkingCopy()) LogCartao("Rez00000 - Renomeia intpos e cria bkp.");

    if (answer[0] == kErrorHeader) {
      const std::string message = answer.Field("030-000 ");
      if (!message.empty()) ShowManagerMessage(message, sale.context, false);
      DeleteTransactionFiles(root, sequence);
      LogCartao("Rez00000 - Erro no arquivo de transacao.");
      SetOutcome(RoutineOutcome::ManagerError);
      return Outcome::ErrorAnswer;
    }
    if (IsAnswerTo(answer, sale.operation(), sequence)) return Outcome::Accepted;
    watch.Reject();
    LogCartao("Rez00000 - Arquivo de resposta n\xE3o aceito, aguardando outro.");
  }
}

// Parameters 9 to 12 change only when the answer carries their field.
void return_fields(const Sale& sale, const SaleAnswer& read) {
  if (read.document) sale.documentNumber = *read.document;
  if (read.field013) sale.field013 = *read.field013;
  if (read.field027) sale.field027 = *read.field027;
  if (read.field748) sale.field748 = *read.field748;
}

void add_receipts_block(const Sale& sale, const StringList& answer) {
  sale.receipts.Add(std::to_string(sale.approvedCount));
  for (const std::string& line : answer.lines()) sale.receipts.Add(line);
  doValorTef += doTrocoTef;
}

// The confirmation of a partial payment was taken back (the manager did not
// take it in time): the payment does not stand, for the next scan
// not-confirms it. It is not counted, its pending copy goes (nothing prints
// or cancels it), and the operator, who saw the manager's approval, is told.
void withdraw_partial_payment(const Sale& sale, const std::string& sequence) {
  sale.approvedCount -= 1;
  sale.transactionNumber -= 1;
  DeleteIntPosFiles(dsDirPenTef, sequence);
  LogCartao("Rez00000 - Pagamento parcial " + sequence + " sem confirma\xE7\xE3o: n\xE3o vale");
  TellOperator("O gerenciador n\xE3o recebeu a confirma\xE7\xE3o do pagamento de " + FormatCurr(sale.amount) +
                   ": ele ser\xE1 desfeito e n\xE3o vale. Receba este valor novamente.",
               sale.context);
}

// A payment that leaves part of the sale unpaid: kept in the pending
// directory and confirmed at once. Its receipt joins the list only when the
// manager took the confirmation. False when the confirmation was taken
// back: the payment does not stand. A confirmation that was not
// acknowledged but may have been taken leaves the payment to the next scan,
// which knows from the settlement's note whether it stands.
bool settle_partial_payment(const Sale& sale, const StringList& answer, const std::string& root) {
  const std::string sequence = answer.Field("001-000 ");
  WriteFileInOneStep(dsDirPenTef + "intpos." + std::to_string(sale.transactionNumber), answer.Text());
  platform::pause(kPauseMs);
  if (!VerificaRetorno(sale.context, answer, false, "S")) {
    if (!ConfirmationWithdrawn(sequence)) return true;
    withdraw_partial_payment(sale, sequence);
    SetOutcome(RoutineOutcome::Withdrawn);
    return false;
  }
  // Confirmed: the payment stands, and nothing below may make it an error.
  LogSettled("Rez00000 - VerificaRetorno - OK - pagamento parcial : " + FloatToStr(sale.amount));
  // The confirmation may have moved DirTef to the answer's network; the
  // answer itself lies in the root the sale used.
  AfterSettlement([&] { DeleteTransactionFiles(root, sequence); });
  add_receipts_block(sale, answer);
  return true;
}

bool evaluate(const Sale& sale, const StringList& answer, const std::string& root,
              const std::string& sequence) {
  const SaleAnswer verdict = ReadSaleAnswer(answer);
  if (verdict.extra) sale.extraAmount += *verdict.extra;
  return_fields(sale, verdict);

  // Set before the message, so that the host's dialog can tell it too.
  SetVerdict(answer, verdict.with_receipt ? RoutineOutcome::Approved : RoutineOutcome::ApprovedNoReceipt,
             RoutineOutcome::Refused);
  if (const std::string message = answer.Field("030-000 "); !message.empty()) {
    if (verdict.with_receipt) LogCartao("Rez00000 - Mostra mensagem de transa\xE7\xE3o aprovada.");
    ShowManagerMessage(message, sale.context, verdict.with_receipt);
  }
  if (!verdict.approved) {
    DeleteTransactionFiles(root, sequence);
    LogCartao("Rez00000 - Transa\xE7\xE3o n\xE3o aprovada.");
    return false;
  }
  if (!verdict.with_receipt) {
    DeleteTransactionFiles(root, sequence);
    return true;
  }

  sale.approvedCount += 1;
  sale.transactionNumber += 1;
  LogCartao("Rez00000 - Numero de transacoes = " + std::to_string(sale.transactionNumber));
  const double remainder = Trunc2(sale.amountDue - sale.amount);
  doTrocoTef = verdict.amount;
  if (remainder > 0) {
    const bool stands = settle_partial_payment(sale, answer, root);
    // Its confirmation's checks leave their own outcome; the payment's is
    // what the host acts on.
    if (stands) SetOutcome(RoutineOutcome::Approved);
    return stands;
  }
  // The whole sale is paid: the printing run confirms and cleans up.
  LogCartao("Rez00000 - VerificaRetorno - OK - pagamento total : " + FloatToStr(sale.amount));
  add_receipts_block(sale, answer);
  return true;
}

// A sale request whose status never came is taken back while it still lies
// in the request directory: a manager busy with an earlier request would take
// it once done and write its answer over that request's late answer, which
// nothing has read yet (the till may be closed by then). Throws nothing.
void take_back_sale_request(const std::string& root, const std::string& sequence) {
  const std::string path = root + "req\\intpos.001";
  try {
    const std::optional<std::string> head = ReadHead(path);
    if (!head || WholeLines(*head).Field("001-000 ") != sequence) return;
    if (platform::fs().remove_file(path))
      LogCartao("Zul00500 - Pedido " + sequence + " sem status retirado de " + root + "req\\");
  } catch (const FileError&) {
  }
}

bool run_sale(const Sale& sale) {
  clear_previous_answers();
  if (!ready_for_sale(sale)) return false;

  // The conversation stays with the root chosen for it, whatever a host
  // handler run from a wait does to DirTef.
  const std::string root = DirTef;
  const std::string sequence = GetSequence();
  send_sale_request(sale, root, sequence);
  LogCartao("Cria arquivo de venda sequencial: " + sequence);
  if (!CheckGPAtivo(sale.operation(), sequence)) {
    take_back_sale_request(root, sequence);
    return false;
  }
  LogCartao("Rez00000 - CheckGPAtivo - Ok");

  StringList answer;
  platform::pause(kPauseMs);
  LogCartao("Aguardando resposta ---");
  if (wait_for_answer(answer, sale, root, sequence) != Outcome::Accepted) return false;
  return evaluate(sale, answer, root, sequence);
}

// A sale is not started while the pending directory holds the copies of
// another sale's confirmed partial payments (pending_sale.h): its own
// copies would be written over them, or its printing run would end them,
// and a payment that stands would lose its only record. Nothing is sent or
// written; the operator is told what to do.
void refuse_beside_pending_sale(const std::string& context, std::int32_t transactionNumber) {
  const std::vector<std::string> copies = PendingCopiesOfAnotherSale(transactionNumber);
  if (copies.empty()) return;
  const std::string names = PendingCopiesText(copies);
  LogCartao("Zul00500 - DoTEF recusado: pagamentos pendentes de outra venda em " + names);
  TellOperator(PendingSaleNotice(), context);
  throw PendingSaleError("refused to start a sale beside", names,
                         "the pending copies of another sale's confirmed partial payments; finish "
                         "that sale and print it (ImprCupons) or undo them (CancelaPendencia) first. Nothing "
                         "was sent");
}

} // namespace

bool DoTEF(const std::string& context, double amount, double amountDue, const std::string& kind,
           std::shared_ptr<StringList>& receipts, std::int32_t& approvedCount,
           std::int32_t& transactionNumber, double& extraAmount, std::string& documentNumber,
           std::string& field748, std::string& field013, std::string& field027) {
  SaleLog log;
  extraAmount = 0.0;
  // Our own reference to the new list: a host handler run from a wait may
  // point its variable elsewhere.
  const auto list = std::make_shared<StringList>();
  receipts = list;
  approvedCount = 0;
  doTrocoTef = 0.0;

  const Sale sale{context,           amount,      amountDue,      kind,     *list,    approvedCount,
                  transactionNumber, extraAmount, documentNumber, field748, field013, field027};
  const TillLock till("DoTEF", context);
  if (till.Held()) refuse_beside_pending_sale(context, transactionNumber);
  const bool result = till.Held() && run_sale(sale);
  log.Close();
  return result;
}

} // namespace zul00500
