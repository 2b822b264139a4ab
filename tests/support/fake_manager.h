// A scripted TEF manager for virtual-time tests: the test calls Poll() while
// the package sleeps (from the virtual clock), and the manager takes the
// request the package left and answers it the way the script says.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "zul00500/string_list.h"

namespace zul00500::testing {

enum class StatusReply {
  Acknowledge, // status file whose first line repeats the request's header
  Silent,      // takes the request, never answers
  WrongHeader, // status file with another operation's header
  Empty,       // status file with no line at all
  Ignore,      // leaves the request where it is
};

class FakeManager {
public:
  explicit FakeManager(std::string root = "c:\\tef_dial\\");

  // Replies to the next requests, in turn; once used up, Acknowledge.
  void Script(std::initializer_list<StatusReply> replies) { replies_.insert(replies_.end(), replies); }
  // Called with each request taken, after the status file is written; a test
  // writes answer files from here.
  void OnRequest(std::function<void(const StringList&)> hook) { on_request_ = std::move(hook); }

  // Takes root + "req\intpos.001" when it is there and replies.
  void Poll();

  const std::string& Root() const { return root_; }
  const std::vector<StringList>& Requests() const { return requests_; }
  // Operation codes (000-000) of the requests taken, in order.
  std::vector<std::string> Operations() const;

private:
  std::string root_;
  std::deque<StatusReply> replies_;
  std::function<void(const StringList&)> on_request_;
  std::vector<StringList> requests_;
};

// Writes `lines` as root + "resp\" + name.
void WriteResponse(const std::string& root, const std::string& name, const StringList& lines);

} // namespace zul00500::testing
