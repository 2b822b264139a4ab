#include "tef/settlement/memory.h"

#include <algorithm>
#include <deque>
#include <set>
#include <utility>

namespace zul00500 {

namespace {
// Everything runs on the host's user-interface thread.
std::uint64_t settlements_taken = 0;
std::uint64_t settlements_sent = 0;

// The settlements this process saw taken, newest last.
constexpr std::size_t kRemembered = 64;
std::deque<std::pair<std::string, std::string>> remembered;
std::deque<std::string> withdrawn;
std::set<std::string> removing_roots;
std::set<std::string> unacknowledged_takes;
std::set<std::string> closing_files;
} // namespace

void RememberConfirmationWithdrawn(const std::string& answerSequence) noexcept {
  if (answerSequence.empty()) return;
  try {
    withdrawn.push_back(answerSequence);
    if (withdrawn.size() > kRemembered) withdrawn.pop_front();
  } catch (...) {
  }
}

bool ConfirmationWithdrawn(const std::string& answerSequence) {
  return !answerSequence.empty() &&
         std::find(withdrawn.begin(), withdrawn.end(), answerSequence) != withdrawn.end();
}

std::vector<std::string> TakeWithdrawnConfirmations() {
  std::vector<std::string> taken(withdrawn.begin(), withdrawn.end());
  withdrawn.clear();
  return taken;
}

void CountSettlementTaken() noexcept { ++settlements_taken; }
void CountSettlementSent() noexcept { ++settlements_sent; }

SettlementsSince::SettlementsSince() : start_(settlements_taken), sent_start_(settlements_sent) {}
bool SettlementsSince::AnyOut() const { return Any() || settlements_sent != sent_start_; }

bool SettlementsSince::Any() const { return settlements_taken != start_; }

void RememberSettled(const std::string& answerSequence, const std::string& operation) {
  if (answerSequence.empty()) return;
  remembered.emplace_back(answerSequence, operation);
  if (remembered.size() > kRemembered) remembered.pop_front();
}

std::string SettledInThisProcess(const std::string& answerSequence) {
  for (auto it = remembered.rbegin(); it != remembered.rend(); ++it)
    if (it->first == answerSequence) return it->second;
  return {};
}

void RememberHowRequestsAreTaken(const std::string& root, bool removed) {
  if (removed) removing_roots.insert(root);
  else removing_roots.erase(root);
}
bool RemovesRequests(const std::string& root) { return removing_roots.contains(root); }

void RememberUnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation) {
  unacknowledged_takes.insert(root + '\n' + operation);
}
void ForgetUnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation) {
  unacknowledged_takes.erase(root + '\n' + operation);
}
bool UnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation) {
  return unacknowledged_takes.contains(root + '\n' + operation);
}

void RememberClosingLine(const std::string& path) { closing_files.insert(path); }
bool WritesClosingLine(const std::string& path) { return closing_files.contains(path); }

void ForgetSettledInThisProcess() {
  remembered.clear();
  withdrawn.clear();
  removing_roots.clear();
  unacknowledged_takes.clear();
  closing_files.clear();
}

} // namespace zul00500
