#include "support/sale_world.h"

#include <algorithm>
#include <stdexcept>

#include "platform/message_pump.h"
#include "support/state.h"
#include "tef/sale.h"

namespace zul00500::testing {

namespace {
constexpr std::int64_t kGiveUpMs = 60 * 60 * 1000;
}

StringList Approval(const StringList& request, const Fields& changes) {
  std::vector<std::pair<std::string, std::string>> fields = {{"000-000", request.Field("000-000 ")},
                                                             {"001-000", request.Field("001-000 ")},
                                                             {"003-000", request.Field("003-000 ")},
                                                             {"009-000", "0"},
                                                             {"010-000", "REDEY"},
                                                             {"012-000", "654321"},
                                                             {"013-000", "AUT013"},
                                                             {"022-000", "07122026"},
                                                             {"023-000", "080000"},
                                                             {"027-000", "ABCDEFGHIJKL0123456789XYZ"},
                                                             {"028-000", "2"},
                                                             {"029-001", "\"VIA CLIENTE\""},
                                                             {"029-002", "\"APROVADA\""},
                                                             {"030-000", "TRANSACAO APROVADA"},
                                                             {"709-000", "150"},
                                                             {"748-000", "Z123456789XYZ"}};
  for (const auto& [id, value] : changes) {
    const auto found =
        std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == id; });
    if (!value) {
      if (found != fields.end()) fields.erase(found);
    } else if (found != fields.end()) {
      found->second = value;
    } else {
      fields.emplace_back(id, value);
    }
  }
  StringList answer;
  for (const auto& [id, value] : fields) answer.Add(id + " = " + value);
  answer.Add(kClosingLine);
  return answer;
}

FakeManager::AnswerMaker Approves(Fields changes) {
  return [changes = std::move(changes)](const StringList& request) { return Approval(request, changes); };
}

StringList Block(const std::string& number, const StringList& answer) {
  StringList block{number};
  for (const std::string& line : answer.lines()) block.Add(line);
  return block;
}

SaleWorld::SaleWorld()
    : chooser_(std::make_shared<ScriptedChooser>(std::vector<std::string>(8, "btnOutros"))) {
  SetNetworkChooser(chooser_);
  platform::set_message_hook([this](bool wait) {
    if (wait) events_.push_back("pump");
  });
  host_->SetObserver([this](const MensagemCall& call) { events_.push_back("dialog " + call.text); });
  doTrocoTef = 0;
  doValorTef = 0;
  // The answer wait has no time limit: a test whose manager never answers
  // fails instead of hanging.
  clock_.at(kGiveUpMs, [] { throw std::runtime_error("still waiting after an hour of virtual time"); });
}

SaleWorld::~SaleWorld() {
  SetNetworkChooser(nullptr);
  platform::set_message_hook({});
  doTrocoTef = 0;
  doValorTef = 0;
}

bool SaleWorld::Pay(double amount, double amountDue, const std::string& kind) {
  return DoTEF("ctx", amount, amountDue, kind, receipts_, approved_, transaction_, extra_, document_,
               field748_, field013_, field027_);
}

StringList SaleWorld::SaleRequest(const std::string& root) {
  const auto& requests = Manager(root).Requests();
  for (auto request = requests.rbegin(); request != requests.rend(); ++request) {
    const std::string operation = request->Field("000-000 ");
    if (operation == "CRT" || operation == "CHQ") return *request;
  }
  return {};
}

std::vector<std::string> SaleWorld::Settlements(const std::string& root) {
  std::vector<std::string> settled;
  for (const StringList& request : Manager(root).Requests()) {
    const std::string operation = request.Field("000-000 ");
    if (operation == "CNF" || operation == "NCN")
      settled.push_back(operation + " " + request.Field("012-000 "));
  }
  return settled;
}

long SaleWorld::LogCount(const std::string& message) const {
  const std::vector<std::string> log = LogMessages();
  return std::count(log.begin(), log.end(), message);
}

StringList SaleWorld::Read(const std::string& path) {
  StringList lines;
  lines.LoadFromFile(path);
  return lines;
}

} // namespace zul00500::testing
