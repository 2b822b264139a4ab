#include "tef/network_choice.h"

#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/dataset.h"
#include "support/errors.h"
#include "support/input_lock.h"
#include "support/outcome.h"
#include "support/state.h"
#include "support/text.h"
#include "tef/form.h"
#include "tef/holder.h"

namespace zul00500 {

std::shared_ptr<TfrmCartaoDebito> NewHolder() {
  frmCartaoDebito = std::make_shared<TfrmCartaoDebito>();
  return frmCartaoDebito;
}

std::shared_ptr<TfrmCartaoDebito> Holder() { return frmCartaoDebito ? frmCartaoDebito : NewHolder(); }

std::string MessageText(const char* key) { return Holder()->msgPadrao.Msg(key); }

void SaveDirTef() {
  const auto holder = Holder();
  ClientDataSet& dataset = holder->cdsDirTef;
  dataset.CreateDataSet();
  dataset.Edit();
  dataset.SetField("DIRTEF", DirTef);
  dataset.SaveToFile(dsDirTef + "\\DIRTEF.cds");
}

void ReloadDirTef() {
  const std::string path = HostDirectoryLong() + "\\Dados\\Cadastros\\DIRTEF.cds";
  if (!platform::fs().file_exists(path)) return;
  const auto holder = Holder();
  ClientDataSet& dataset = holder->cdsDirTef;
  try {
    dataset.LoadFromFile(path);
    const std::string stored = dataset.FieldAsString("DIRTEF");
    // Only an exchange root is a root: an empty or other value would make
    // every path relative to wherever the host runs, or point elsewhere.
    if (!IsExchangeRoot(stored)) {
      LogCartao("Zul00500 - DIRTEF.cds com raiz inv\xE1lida, ignorado: \"" + stored + "\"");
      return;
    }
    DirTef = stored;
  } catch (const Error& error) {
    // Read as if it were not there: an error here would stop every later
    // sale and scan, while the next network choice writes it anew.
    LogCartao("Zul00500 - DIRTEF.cds ileg\xEDvel, ignorado: " + std::string(error.what()));
  }
}

std::string TipoRede(const std::string& kind) {
  if (!platform::fs().directory_exists(kRootTefDisc) || kind == "C") return "2";
  auto dialog = std::make_unique<TfrmCartaoDebito>();
  const char* caption_key = kind == "D"   ? "CARTAO_DEB"
                            : kind == "Q" ? "CONS_CHEQUE"
                            : kind == "A" ? "FUNC_ADM"
                                          : nullptr;
  if (caption_key) dialog->Caption = dialog->msgPadrao.Msg(caption_key);
  ScopedInputUnlock unlocked; // the operator must be able to choose
  return std::to_string(static_cast<int>(dialog->ShowModal()));
}

bool CheckDirTef(std::string& root, const std::string& kind, int printerType) {
  NewHolder();
  const std::string code = TipoRede(kind);
  const bool accepted = code != "9";
  if (!accepted) SetOutcome(RoutineOutcome::NetworkClosed);
  Zul_IdTipoImp = printerType;
  DirTef = code == "2" ? kRootTefDial : code == "3" ? kRootHiperTef : kRootTefDisc;
  root = DirTef;
  SaveDirTef();
  return accepted;
}

bool IsExchangeRoot(const std::string& text) {
  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef})
    if (SameText(text, root)) return true;
  return false;
}

std::string RootOfNetwork(const std::string& network) {
  return network == "TECBAN" ? kRootTefDisc : network == "HCard" ? kRootHiperTef : kRootTefDial;
}

void DefineDirTefRede(const std::string& network) {
  NewHolder();
  DirTef = RootOfNetwork(network);
  SaveDirTef();
}

} // namespace zul00500
