#include "sim/sim_host.h"

#include "printing/printer.h"
#include "support/crash_fs.h"
#include "support/errors.h"
#include "support/printer_stubs.h"

namespace zul00500::sim {

namespace {

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = '|';
  return text.size() > 90 ? text.substr(0, 90) + "..." : text;
}

class Services final : public HostServices {
public:
  explicit Services(SimHost& host) : host_(host) {}
  bool Mensagem(const std::string& text, const std::string&, const std::string&, const std::string& yesNo,
                int, const std::string&, const std::string&, int, const ClientDataSet*) override {
    return host_.Dialog(text, yesNo == "S");
  }

private:
  SimHost& host_;
};

class Chooser final : public NetworkChooser {
public:
  explicit Chooser(SimHost& host) : host_(host) {}
  void Run(TfrmCartaoDebito& form) override {
    static const char* const buttons[] = {"btnTecBan", "btnOutros", "btnHcard", "bbtEncerra"};
    form.Click(buttons[host_.NetworkButton(form.Caption)]);
  }

private:
  SimHost& host_;
};

} // namespace

SimHost::SimHost(Timeline& timeline, Now now, Dead dead)
    : timeline_(timeline), now_(std::move(now)), dead_(std::move(dead)) {
  SetHostServices(std::make_shared<Services>(*this));
  SetNetworkChooser(std::make_shared<Chooser>(*this));
  testing::AssignEveryPrinterProcedure([this](const char* name) {
    return
        [this, name](const auto&... args) { return PrinterCall(name, ((args + " ") + ... + std::string())); };
  });
}

SimHost::~SimHost() {
  testing::ClearPrinterProcedures();
  SetNetworkChooser(nullptr);
  SetHostServices(nullptr);
}

void SimHost::Begin(std::uint32_t seed, const Fault& fault) {
  random_ = Random(seed);
  fault_ = fault;
  dialogs_ = 0;
  yeses_ = 0;
  noes_ = 0;
  printer_calls_ = 0;
  printer_broken_ = false;
}

void SimHost::Heal(int button) {
  healed_ = true;
  button_ = button;
  fault_ = Fault{};
  printer_broken_ = false;
}

bool SimHost::Dialog(const std::string& text, bool yesNo) {
  if (dead_()) throw testing::PowerCut{};
  ++dialogs_;
  if (fault_.kind == Fault::Kind::DialogFails && dialogs_ == fault_.at) {
    timeline_.Line(now_(), "dialog", "\"" + OneLine(text) + "\" -> fails (-1)");
    throw Error("call the host's", "Mensagem", "it returned -1");
  }
  bool yes = yesNo && (healed_ || random_.Chance(500));
  // An operator's patience ends: after a few yeses in one call, no.
  if (yes && !healed_ && ++yeses_ > kPatience) yes = false;
  if (yesNo && !yes) ++noes_;
  if (timeline_.On())
    timeline_.Line(now_(), "dialog",
                   "\"" + OneLine(text) + "\"" + (yesNo ? (yes ? " -> yes" : " -> no") : ""));
  return yes;
}

int SimHost::NetworkButton(const std::string& caption) {
  if (dead_()) throw testing::PowerCut{};
  ++dialogs_;
  if (fault_.kind == Fault::Kind::DialogFails && dialogs_ == fault_.at) {
    timeline_.Line(now_(), "dialog", "network choice \"" + caption + "\" -> fails (-1)");
    throw Error("call the host's", "network chooser", "it returned -1");
  }
  const int button = healed_ ? button_ : random_.Weighted({30, 40, 20, 10});
  static const char* const names[] = {"TecBan", "Outros", "Hcard", "Encerra"};
  if (timeline_.On())
    timeline_.Line(now_(), "dialog", "network choice \"" + caption + "\" -> " + names[button]);
  return button;
}

bool SimHost::PrinterCall(const char* name, const std::string& text) {
  if (dead_()) throw testing::PowerCut{};
  ++printer_calls_;
  if (fault_.kind == Fault::Kind::PrinterFails && printer_calls_ == fault_.at) printer_broken_ = true;
  const bool fails = printer_broken_;
  if (fails && !fault_.torn) printer_broken_ = false;
  if (timeline_.On())
    timeline_.Line(now_(), "printer",
                   std::string(name) + "(" + OneLine(text) + ")" + (fails ? " -> fails" : ""));
  // A line end after each call: a call's last line is never glued to the
  // next call's first.
  if (!fails) printed_ += text + "\n";
  return !fails;
}

} // namespace zul00500::sim
