// TfrmCartaoDebito: shown modally it is the network-choice dialog; never
// shown it holds the package's message table and its two datasets.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/dataset.h"
#include "support/messages.h"

namespace zul00500 {

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t clSilver = 0xC0C0C0;
inline constexpr std::uint32_t clOlive = 0x808000;
inline constexpr std::uint32_t clRed = 0xFF0000;
inline constexpr std::uint32_t clBlack = 0x000000;
inline constexpr std::uint32_t clWhite = 0xFFFFFF;
// Button faces as the classic Windows scheme paints them.
inline constexpr std::uint32_t clBtnFace = 0xD4D0C8;

enum class TControlKind { Panel, Button, BitBtn, Image, Edit };
enum class TBevelCut { bvNone, bvLowered, bvRaised };

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  bool Bold = false;
  bool Italic = false;
  std::uint32_t Color = clBlack;
};

// Geometry and look of one control, as designed; a real window renders them.
struct TControl {
  std::string Name;
  std::string Parent; // empty for the form's direct children
  int Left = 0, Top = 0, Width = 0, Height = 0;
  // A logo image has no caption of its own: it is drawn at run time from
  // this text (lines split at "\n"), on Color, over a band of Accent.
  std::string Caption;
  TControlKind Kind = TControlKind::Panel;
  std::uint32_t Color = clSilver;
  std::uint32_t Accent = clWhite;
  TBevelCut BevelOuter = TBevelCut::bvNone;
  int BevelWidth = 1;
  TFont Font{};
  int Spacing = 4; // between a bitmap button's glyph and its caption
};

// Modal results the click handlers set.
enum TModalResult : int { mrNone = 0, mrTecBan = 1, mrOutros = 2, mrHcard = 3, mrEncerra = 9 };

class TfrmCartaoDebito {
public:
  TfrmCartaoDebito(); // runs FormCreate, as the form's OnCreate

  std::string Caption = "Cart\xE3o de D\xE9"
                        "bito";
  int ClientWidth = 315;
  int ClientHeight = 350;
  std::string FontName = "MS Sans Serif";
  int FontHeight = -11;
  std::uint32_t Color = clBtnFace;
  bool AlwaysOnTop = true;

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

// The never-shown form that holds the message table and the datasets (an
// exported variable of the package).
extern std::shared_ptr<TfrmCartaoDebito> frmCartaoDebito;

// Shows the choice dialog: lets the operator click controls of the form (via
// form.Click) until its ModalResult is set. Terminal, scripted and (on
// Windows) window choosers implement it.
class NetworkChooser {
public:
  virtual ~NetworkChooser() = default;
  virtual void Run(TfrmCartaoDebito& form) = 0;
};

// The chooser in use. The default is the real window on Windows; elsewhere
// the terminal when standard input is one, else a chooser that closes the
// dialog.
NetworkChooser& chooser();
void SetNetworkChooser(std::shared_ptr<NetworkChooser> chooser); // null: default

// The form as a real modal window, laid out and drawn as designed; the
// operator's clicks and keys go to form.Click. Where the platform has no
// windows of its own it closes the dialog.
class WindowChooser : public NetworkChooser {
public:
  void Run(TfrmCartaoDebito& form) override;
};

// Closes the dialog (Esc) without a choice: where no one can answer.
class ClosingChooser : public NetworkChooser {
public:
  void Run(TfrmCartaoDebito& form) override;
};

// Asks on the terminal: "1", "2", "3" or "9" (an empty answer or end of input
// is Esc).
class TerminalChooser : public NetworkChooser {
public:
  void Run(TfrmCartaoDebito& form) override;
};

} // namespace zul00500
