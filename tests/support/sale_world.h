// A fixture for sales: the managers' world, a network dialog that picks "other
// networks", a record of dialogs and message pumps in order, the variables
// DoTEF fills, and the answers a manager gives to a sale request.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/manager_world.h"
#include "support/scripted_chooser.h"
#include "support/string_list.h"
#include "tef/form.h"

namespace zul00500::testing {

// Changes to an answer: a value replaces the field's, null drops the field,
// a field the answer lacks is added at its end.
using Fields = std::vector<std::pair<std::string, const char*>>;

// The manager's approval of `request`, with a two-line receipt: header and
// sequence first, then the fields a manager writes, with `changes` applied,
// and the closing "999-999 = 0".
StringList Approval(const StringList& request, const Fields& changes = {});
// An answer maker for FakeManager::QueueAnswers.
FakeManager::AnswerMaker Approves(Fields changes = {});

// `answer` preceded by its block number, as the receipts list holds it.
StringList Block(const std::string& number, const StringList& answer);

class SaleWorld : public ManagerWorld {
protected:
  SaleWorld();
  ~SaleWorld() override;

  // DoTEF with the context "ctx" and the fixture's variables.
  bool Pay(double amount, double amountDue, const std::string& kind = "C");
  // The last sale request ("CRT" or "CHQ") the manager of `root` took.
  StringList SaleRequest(const std::string& root = "c:\\tef_dial\\");
  // "CNF doc" or "NCN doc" (012-000) for every settlement the manager of
  // `root` took, in order.
  std::vector<std::string> Settlements(const std::string& root = "c:\\tef_dial\\");
  // How many log messages equal `message`.
  long LogCount(const std::string& message) const;
  static StringList Read(const std::string& path);

  std::shared_ptr<ScriptedChooser> chooser_;
  // "dialog " + text for each dialog, "pump" for each wait for a message.
  std::vector<std::string> events_;

  std::shared_ptr<StringList> receipts_;
  std::int32_t approved_ = -1;
  std::int32_t transaction_ = 0;
  double extra_ = -1;
  std::string document_ = "doc", field748_ = "f748", field013_ = "f013", field027_ = "f027";
};

} // namespace zul00500::testing
