// TfrmCartaoDebito: shown modally it is the network-choice dialog; never
// shown it holds the package's message table and its two datasets.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zul00500/dataset.h"
#include "zul00500/messages.h"

namespace zul00500 {

// Geometry and look of one control, as designed; a real window renders them.
struct TControl {
  std::string Name;
  std::string Parent; // empty for the form's direct children
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
};

// Modal results the click handlers set.
enum TModalResult : int { mrNone = 0, mrTecBan = 1, mrOutros = 2, mrHcard = 3, mrEncerra = 9 };

class TfrmCartaoDebito {
public:
  TfrmCartaoDebito(); // runs FormCreate, as the form's OnCreate

  std::string Caption = "Cart\xE3o de D\xE9" "bito";
  int ClientWidth = 315;
  int ClientHeight = 350;
  std::string FontName = "MS Sans Serif";
  int FontHeight = -11;

  // The controls in declaration order (panels, buttons, images, the edit box).
  std::vector<TControl> Controls;

  TMessages msgPadrao;
  ClientDataSet cdsDirTef;
  ClientDataSet cdsParametrosQtr;

  // The window region FormCreate asks for: a rounded rectangle.
  struct RoundRegion {
    int left = 0, top = 0, right = 0, bottom = 0, ellipse_width = 0, ellipse_height = 0;
  } Region;

  TModalResult ModalResult = mrNone;

  // Shows the form modally through the network chooser in use and returns
  // its modal result.
  TModalResult ShowModal();

  // Event handlers, each taking the sender (the control's name).
  void FormCreate(const std::string& sender);
  void btnTecBanClick(const std::string& sender);
  void btnOutrosClick(const std::string& sender);
  void btnHcardClick(const std::string& sender);
  void bbtEncerraClick(const std::string& sender);

  // Dispatches a click on a control (or "Esc") to the handler bound to it.
  // Unbound controls do nothing.
  void Click(const std::string& control);
};

// Shows the choice dialog: lets the operator click controls of the form (via
// form.Click) until its ModalResult is set. Terminal, scripted and (on
// Windows) window choosers implement it.
class NetworkChooser {
public:
  virtual ~NetworkChooser() = default;
  virtual void Run(TfrmCartaoDebito& form) = 0;
};

NetworkChooser& chooser();
void SetNetworkChooser(std::shared_ptr<NetworkChooser> chooser); // null: default

// Clicks the controls in the given order, one per dialog shown; when the
// script is used up it closes the dialog with Esc.
class ScriptedChooser : public NetworkChooser {
public:
  explicit ScriptedChooser(std::vector<std::string> clicks = {}) : clicks_(std::move(clicks)) {}
  void Push(std::string control) { clicks_.push_back(std::move(control)); }
  void Run(TfrmCartaoDebito& form) override;
  // Captions of the dialogs shown so far, in order.
  const std::vector<std::string>& Shown() const { return shown_; }

private:
  std::vector<std::string> clicks_;
  std::size_t next_ = 0;
  std::vector<std::string> shown_;
};

// Asks on the terminal: "1", "2", "3" or "9" (an empty answer or end of input
// is Esc).
class TerminalChooser : public NetworkChooser {
public:
  void Run(TfrmCartaoDebito& form) override;
};

} // namespace zul00500
