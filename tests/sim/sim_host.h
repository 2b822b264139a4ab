// The host's side of the simulated till: the operator's dialogs (answered
// yes or no by chance, sometimes failing as a host callback returning -1),
// the network dialog, and the fiscal and standard printer procedures, each
// of which may fail once or for good. Everything it is asked is told to the
// timeline.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sim/history.h"
#include "sim/ledger.h"
#include "sim/random.h"
#include "support/host_services.h"
#include "tef/form.h"

namespace zul00500::sim {

class SimHost {
public:
  using Now = std::function<std::int64_t()>;
  using Dead = std::function<bool()>;

  SimHost(Timeline& timeline, Now now, Dead dead);
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // A new step: its answers drawn from `seed`, its dialog or printer fault.
  void Begin(std::uint32_t seed, const Fault& fault);
  // The end of the day: every dialog answers yes, every printer call
  // succeeds, the network dialog gets `button` (0 TecBan, 1 Outros, 2 Hcard).
  void Heal(int button);
  // Everything the printers were given, for the judge's "was it printed".
  const std::string& Printed() const { return printed_; }
  // The questions the operator answered "no" in this step.
  int Refusals() const { return noes_; }

  // Called for every dialog and every network choice.
  bool Dialog(const std::string& text, bool yesNo);
  int NetworkButton(const std::string& caption);
  bool PrinterCall(const char* name, const std::string& text);

private:
  Timeline& timeline_;
  Now now_;
  Dead dead_;
  Random random_{0};
  Fault fault_;
  int dialogs_ = 0;
  int yeses_ = 0;
  int noes_ = 0;
  static constexpr int kPatience = 5;
  int printer_calls_ = 0;
  bool printer_broken_ = false;
  bool healed_ = false;
  int button_ = 1;
  std::string printed_;
};

} // namespace zul00500::sim
