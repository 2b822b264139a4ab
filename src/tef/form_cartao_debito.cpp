#include "tef/form.h"

#include <utility>
#include <vector>

#include "platform/console_dialogs.h"
#include "platform/process.h"
#include "platform/window_form.h"
#include "support/host_services.h"
#include "support/string_list.h"

namespace zul00500 {

std::shared_ptr<TfrmCartaoDebito> frmCartaoDebito;

namespace {
// The message table as designed: key "|" text, in this order. A text split
// in two keeps "\xE9" from swallowing the hex digit "b" that follows it.
// clang-format off
const char* const kMessages[] = {
    "CART_DEB|Cart\xE3o de D\xE9" "bito",
    "CONS_CHEQUE|Consulta de Cheque",
    "FUNC_ADM|Fun\xE7\xF5" "es Administrativas",
    "GER_PDR_N_ATV|O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!",
    "GER_PDR_N_ATV2|O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo! Favor reativ\xE1-lo.",
    "CANCEL_TRANS|Cancelada a Transa\xE7\xE3o",
    "IMP_N_RESP|Impressora n\xE3o responde. Imprimir novamente?",
    "CARTAO_DEB|Cart\xE3o de D\xE9" "bito",
    "VALOR|Valor: ",
    "OPE_CANC|Opera\xE7\xE3o Cancelada.",
    "CANC_TRANS|Cancelada a Transa\xE7\xE3o",
    "DOC_NO|Doc No: ",
    "REDE|Rede: ",
    "TimeOut|Tempo de espera excedido! Favor realizar a transa\xE7\xE3o novamente.",
};

const char* const kChoiceCaption = "Cart\xE3o de D\xE9" "bito";
// clang-format on

std::shared_ptr<NetworkChooser>& installed_chooser() {
  static std::shared_ptr<NetworkChooser> chooser;
  return chooser;
}

// The font of the numbered buttons and of the closing button.
const TFont kButtonFont{"Arial", -19, true, true, clBlack};

// A network's logo, drawn at run time: its name large, a line beneath it.
struct Logo {
  const char* text;
  std::uint32_t color;
  std::uint32_t accent;
};

// One choice panel: the outer bevelled panel, the inner olive one, the
// numbered button and the network's logo.
void add_choice_panel(std::vector<TControl>& controls, const std::string& network, int top,
                      const std::string& button, const std::string& image, const std::string& digit,
                      const Logo& logo) {
  const std::string outer = "pan" + network + "1", inner = "pan" + network + "2";
  TControl panel{outer, "Panel1", 28, top, 239, 69, ""};
  panel.BevelOuter = TBevelCut::bvLowered;
  panel.BevelWidth = 2;
  controls.push_back(panel);
  TControl olive{inner, outer, 2, 2, 235, 65, ""};
  olive.Color = clOlive;
  olive.BevelOuter = TBevelCut::bvRaised;
  olive.BevelWidth = 5;
  controls.push_back(olive);
  TControl numbered{button, inner, 8, 8, 38, 51, "&" + digit, TControlKind::Button};
  numbered.Font = kButtonFont;
  controls.push_back(numbered);
  TControl picture{image, inner, 48, 6, 180, 53, logo.text, TControlKind::Image, logo.color, logo.accent};
  picture.Font = {"Arial", -24, true, true, clWhite};
  controls.push_back(picture);
}
} // namespace

TfrmCartaoDebito::TfrmCartaoDebito() {
  Caption = kChoiceCaption;
  TControl background{"panCartaoDebito", "", 0, 0, ClientWidth, ClientHeight, ""};
  background.BevelOuter = TBevelCut::bvRaised;
  Controls.push_back(background);
  Controls.push_back({"Panel1", "panCartaoDebito", 11, 14, 290, 325, ""});
  add_choice_panel(Controls, "TecBan", 7, "btnTecBan", "imgTecBan", "1",
                   {"TecBan\nRede TecBan", 0x0B3B8C, 0xF2C200});
  add_choice_panel(Controls, "Outros", 82, "btnOutros", "imgOutros", "2",
                   {"Outras Redes\nCr\351dito e d\351bito", 0x1E6B3A, 0x9BD27A});
  add_choice_panel(Controls, "Hcard", 157, "btnHcard", "imgHCard", "3",
                   {"Hipercard\nRede Hipercard", 0xB3121B, clWhite});
  TControl closing{"bbtEncerra", "Panel1", 28, 239, 241, 45, "&9 - Encerra", TControlKind::BitBtn};
  closing.Font = kButtonFont;
  closing.Spacing = 20;
  Controls.push_back(closing);
  TControl prompt{"edtCartaoDebito", "Panel1", 30, 292, 236, 24, "Escolha a Rede Desejada"};
  prompt.Kind = TControlKind::Edit;
  prompt.Color = clWhite;
  prompt.Font = {"Arial", -13, true, false, clRed};
  Controls.push_back(prompt);
  for (const char* entry : kMessages) msgPadrao.Messages.Add(entry);
  cdsDirTef = ClientDataSet({{"DIRTEF", 50}});
  FormCreate("frmCartaoDebito");
}

void TfrmCartaoDebito::FormCreate(const std::string&) {
  host().Trad(*this);
  Region = {0, 0, ClientWidth, ClientHeight, 40, 40};
}

void TfrmCartaoDebito::btnTecBanClick(const std::string&) { ModalResult = mrTecBan; }
void TfrmCartaoDebito::btnOutrosClick(const std::string&) { ModalResult = mrOutros; }
void TfrmCartaoDebito::btnHcardClick(const std::string&) { ModalResult = mrHcard; }
void TfrmCartaoDebito::bbtEncerraClick(const std::string&) { ModalResult = mrEncerra; }

void TfrmCartaoDebito::Click(const std::string& control) {
  if (control == "btnTecBan" || control == "imgTecBan") btnTecBanClick(control);
  // The Hipercard logo is bound to the other-networks handler, as designed.
  else if (control == "btnOutros" || control == "imgOutros" || control == "imgHCard") btnOutrosClick(control);
  else if (control == "btnHcard") btnHcardClick(control);
  else if (control == "bbtEncerra" || control == "Esc") bbtEncerraClick(control);
}

TModalResult TfrmCartaoDebito::ShowModal() {
  ModalResult = mrNone;
  chooser().Run(*this);
  // A chooser that ends without a choice closed the dialog.
  if (ModalResult == mrNone) bbtEncerraClick("Esc");
  return ModalResult;
}

NetworkChooser& chooser() {
  if (installed_chooser()) return *installed_chooser();
  static WindowChooser window;
  static TerminalChooser terminal;
  static ClosingChooser closing;
  if (platform::window_dialogs_available()) return window;
  if (platform::stdin_is_terminal()) return terminal;
  return closing;
}

void SetNetworkChooser(std::shared_ptr<NetworkChooser> chooser) { installed_chooser() = std::move(chooser); }

void ClosingChooser::Run(TfrmCartaoDebito& form) { form.Click("Esc"); }

void TerminalChooser::Run(TfrmCartaoDebito& form) {
  static const std::vector<platform::ConsoleChoice> kNetworks = {
      {"1", "TecBan"}, {"2", "Outras redes"}, {"3", "Hipercard"}, {"9", "Encerra"}};
  static const std::pair<const char*, const char*> kButtons[] = {
      {"1", "btnTecBan"}, {"2", "btnOutros"}, {"3", "btnHcard"}, {"9", "bbtEncerra"}};
  while (form.ModalResult == mrNone) {
    const std::string key =
        platform::console_choice(form.Caption, kNetworks, "Escolha a Rede Desejada: ", "9");
    for (const auto& [typed, button] : kButtons)
      if (key == typed) form.Click(button);
  }
}

} // namespace zul00500
