// A world for the receipt printers: the manager world plus printer
// procedures, dialogs, input-lock switches and the manager's activity checks
// recorded in one journal, in the order they happened.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/library_loader.h"
#include "platform/message_pump.h"
#include "printing/printing.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/manager_world.h"
#include "support/printer_stubs.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/network_choice.h"

namespace zul00500::testing {

inline std::vector<std::string>* receipt_journal = nullptr;

inline int ZUL_WINAPI JournalBlockInput(int block) {
  if (receipt_journal) receipt_journal->push_back(block ? "lock" : "unlock");
  return 1;
}

// A system library that exports BlockInput, so the lock can be watched.
class BlockInputLoader : public platform::LibraryLoader {
public:
  void* load_library(const std::string&) override { return this; }
  void* module_handle(const std::string&) override { return this; }
  void* function_address(void*, const std::string& name) override {
    return name == "BlockInput" ? reinterpret_cast<void*>(&JournalBlockInput) : nullptr;
  }
};

class ReceiptWorld : public ManagerWorld {
  // A procedure that journals its call and returns what the test set.
  auto Recorder(const std::string& name) {
    return [this, name](const auto&... args) {
      const std::vector<std::string> values{args...};
      std::string entry = name + "(";
      for (std::size_t i = 0; i < values.size(); ++i) entry += (i ? "|" : "") + values[i];
      entry += ")";
      const std::string key = values.size() == 4 && values[1] == "CCD" ? values[2] : name;
      const int n = ++made_[key];
      const bool ok = !fail_[key].count(n) && !(fail_from_.count(key) && n >= fail_from_[key]) &&
                      (!default_result_.count(key) || default_result_[key]);
      journal_.push_back(ok ? entry : entry + "=false");
      return ok;
    };
  }

protected:
  // Journal entries: "Name(arg|arg|...)" plus "=false" when the call failed;
  // "ask:yes" / "ask:no" for the printer question, "notice:TEXT" for other
  // dialogs, "lock" / "unlock", "ATV" for each activity check the manager
  // took, "sleep(N)" for the printers' pauses, "pump" when counting pumps.
  std::vector<std::string> journal_;
  bool record_pumps_ = false;

  ReceiptWorld() {
    receipt_journal = &journal_;
    StoreDirTef(kRootTefDial);
    dial_.OnRequest([this](const StringList&) { journal_.push_back("ATV"); });
    clock_.every_sleep([this] {
      if (const auto ms = clock_.sleeps().back(); ms == 1000 || ms == 5000)
        journal_.push_back("sleep(" + std::to_string(ms) + ")");
    });
    host_->SetObserver([this](const MensagemCall& call) {
      if (call.text == kQuestion) journal_.push_back(call.answer ? "ask:yes" : "ask:no");
      else journal_.push_back("notice:" + call.text);
    });
    platform::set_message_hook([this](bool) {
      if (record_pumps_) journal_.push_back("pump");
    });
    AssignEveryPrinterProcedure([this](const char* name) { return Recorder(name); });
  }

  ~ReceiptWorld() override {
    receipt_journal = nullptr;
    if (InputLocked()) DesbloqueiaTeclado();
    platform::set_message_hook({});
    ClearPrinterProcedures();
  }

  // Fails the nth call (1 = the next) of a procedure, or of a "CCD" command
  // of Abre_Comp_NFiscalVinc named by its command word; FailFrom fails that
  // one and every later one.
  void Fail(const std::string& key, int n) { fail_[key].insert(made_[key] + n); }
  void FailFrom(const std::string& key, int n) { fail_from_[key] = made_[key] + n; }
  // What a call returns when no failure is set: true, but "UsaRG" answers
  // false (the framework printer uses its voucher) unless told otherwise.
  void Answers(const std::string& key, bool result) { default_result_[key] = result; }

  // An answer with sequence 0000000042 and the given fields.
  static StringList Answer(std::initializer_list<std::pair<std::string, std::string>> fields = {}) {
    StringList answer{"000-000 = CRT", "001-000 = 0000000042", "009-000 = 0"};
    for (const auto& [field, value] : fields) answer.Add(field + " = " + value);
    return answer;
  }
  // Adds a block of n quoted lines TAG1 .. TAGn with its count field.
  static StringList& AddBlock(StringList& answer, const std::string& count_field, const std::string& prefix,
                              int n, const std::string& tag) {
    answer.Add(count_field + " = " + std::to_string(n));
    for (int k = 1; k <= n; ++k)
      answer.Add(prefix + AjustaZero(std::to_string(k), 3) + " = \"" + Line(tag, k) + "\"");
    return answer;
  }
  static StringList Receipt(int n, const std::string& tag) {
    StringList answer = Answer();
    return AddBlock(answer, "028-000", "029-", n, tag);
  }
  static std::string Line(const std::string& tag, int k) { return tag + std::to_string(k); }

  // The pieces lines 1..n of TAG go out in: three lines each, then the rest.
  static std::vector<std::string> Pieces(const std::string& tag, int n) {
    std::vector<std::string> pieces;
    std::string piece;
    for (int k = 1; k <= n; ++k) {
      piece += Line(tag, k) + "\n";
      if (k % 3 == 0 || k == n) pieces.push_back(std::exchange(piece, ""));
    }
    return pieces;
  }
  static std::vector<std::string> Sends(const std::string& tag, int n, const std::string& trailer) {
    std::vector<std::string> sends;
    for (const std::string& piece : Pieces(tag, n)) sends.push_back(Usa(piece));
    sends.push_back(Usa(trailer));
    return sends;
  }
  static std::vector<std::string> Ccds(const std::string& tag, int n) {
    std::vector<std::string> sends;
    for (const std::string& piece : Pieces(tag, n)) sends.push_back(Ccd("ImprimeCCD", piece));
    sends.push_back(Ccd("ImprimeCCD", "\r\n\r\n\r\n"));
    return sends;
  }
  static std::string Usa(const std::string& text) { return "Usa_CompNFis(|" + text + ")"; }
  static std::string Ccd(const std::string& command, const std::string& text = "") {
    return "Abre_Comp_NFiscalVinc(ctx|CCD|" + command + "|" + text + ")";
  }
  static constexpr const char* kQuestion = "Impressora n\xE3o responde. Imprimir novamente?";
  static constexpr const char* kTimeOut =
      "Tempo de espera excedido! Favor realizar a transa\xE7\xE3o novamente.";
  static constexpr const char* kInactive = "O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!";
  static constexpr const char* kClose = "FechRelatGerenc(ctx||)";
  static constexpr const char* kOpen = "Relatorio_Gerencial_Imp(ctx|r1|r2||)";
  static constexpr const char* kCut = "Guilhotina(ctx|)";
  // The blank lines a voucher printed with Usa_CompNFis ends with.
  static constexpr const char* kTrailer = "\n\n\n";

  static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }
  std::vector<std::string> PrinterCalls() const {
    std::vector<std::string> calls;
    for (const std::string& entry : journal_)
      if (entry.find('(') != std::string::npos && entry.rfind("sleep", 0) != 0) calls.push_back(entry);
    return calls;
  }

  void SaveReceipt(int k, const StringList& answer) {
    Put(dsDirPenTef + "intpos." + std::to_string(k), answer);
  }

  // ImprCupom with the usual arguments; mode "F", copy choice "N".
  bool Print(const StringList& answer, int count = 1, int type = 0, const std::string& mode = "F",
             const std::string& choice = "N", bool own = false, bool skip = false) {
    return ImprCupom("r1", "r2", "ctx", choice, answer, 2, count, type, own, skip, mode, "std2", "std1");
  }

  BlockInputLoader loader_;
  platform::ScopedLibraryLoader scoped_loader_{loader_};

private:
  std::map<std::string, int> made_;
  std::map<std::string, std::set<int>> fail_;
  std::map<std::string, int> fail_from_;
  std::map<std::string, bool> default_result_{{"UsaRG", false}};
};

} // namespace zul00500::testing
